#include <gtest/gtest.h>

#include <string>

#include "project/xml_document.h"

namespace {

const std::u16string kDecl = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

bool Parse(XmlDocument& doc, const std::u16string& text) {
  return ParseXml(doc, text.data(), text.size());
}

const XmlElement& Child(const XmlDocument& doc, const XmlElement& e, size_t i) {
  return doc.elements[static_cast<size_t>(e.children.at(i))];
}
const XmlElement& Top(const XmlDocument& doc, size_t i) {
  return doc.elements[static_cast<size_t>(doc.top_level.at(i))];
}

TEST(XmlParser, DeclarationTest) {
  XmlDocument doc;
  EXPECT_TRUE(Parse(doc, kDecl + u"<a>x</a>"));
  EXPECT_TRUE(Parse(doc, u"<?xml version=\"1.0\" encoding=\"utf-8\"?><a>x</a>"));
  EXPECT_FALSE(Parse(doc, u"<?xml version=\"1.0\" encoding=\"Utf-8\"?><a>x</a>"));
  EXPECT_TRUE(doc.elements.empty());
  EXPECT_FALSE(Parse(doc, u"<a>UTF-8</a>"));
  // Both marks must lie in the first 48 characters.
  EXPECT_FALSE(Parse(doc, u"<?xml version=\"1.0\"                   encoding=\"UTF-8\"?><a/>"));
  EXPECT_FALSE(Parse(doc, std::u16string(45, u' ') + u"<?xml UTF-8?><a>x</a>"));
  // A declaration without its closing "?>".
  EXPECT_FALSE(Parse(doc, u"<?xml encoding=\"UTF-8\"><a>x</a>"));
}

TEST(XmlParser, TextsEntitiesAndComments) {
  XmlDocument doc;
  ASSERT_TRUE(Parse(doc, kDecl + u"<!-- before -->\n<root a=\"1\" b=2>\n"
                                 u"\t<k>&lt;&gt;&amp;&quot;&apos; &amp;lt; &foo; & x</k>\n"
                                 u"<!-- a -- inside -->"
                                 u"\t<t> a\tb\r\nc  </t>\n"
                                 u"</root>\nafter the root\n"));
  ASSERT_EQ(doc.top_level.size(), 1u);
  const XmlElement& root = Top(doc, 0);
  EXPECT_EQ(root.name, u"root");
  ASSERT_EQ(root.attributes.size(), 2u);
  EXPECT_EQ(root.attributes[0].name, u"b");  // the last one read first
  EXPECT_EQ(root.attributes[0].value, u"2");
  EXPECT_EQ(root.attributes[1].value, u"\"1\"");  // quotes are ordinary characters
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(Child(doc, root, 0).text, u"<>&\"' &lt; &foo; & x");
  EXPECT_EQ(Child(doc, root, 1).text, u" abc  ");
}

TEST(XmlParser, LongTextsAndNames) {
  XmlDocument doc;
  const std::u16string long_text(300, u'p');
  const std::u16string name30(30, u'n');
  ASSERT_TRUE(Parse(doc, kDecl + u"<r><" + name30 + u">" + long_text + u"</" + name30 + u"><z>1</z></r>"));
  const XmlElement& r = Top(doc, 0);
  EXPECT_EQ(Child(doc, r, 0).name, name30);
  EXPECT_EQ(Child(doc, r, 0).text, std::u16string(kXmlTextUnits, u'p'));
  EXPECT_EQ(Child(doc, r, 1).text, u"1");
  // Names past 30 characters are cut alike in both tags.
  const std::u16string name40(40, u'm');
  ASSERT_TRUE(Parse(doc, kDecl + u"<" + name40 + u">x</" + name40 + u">"));
  EXPECT_EQ(Top(doc, 0).name, std::u16string(30, u'm'));
}

TEST(XmlParser, BrokenMarkupFails) {
  XmlDocument doc;
  const std::u16string broken[] = {
      u"<a><b>x</b>",      // element left open
      u"<a>x</a></b>",     // end tag with nothing open
      u"<a><b>x</a></b>",  // end tag of another element
      u"<a>x</a",          // tag without its '>'
      u"<a x=\"1\"",       // start tag without its '>'
      u"<a>text",          // text running to the end
      u"<!-- never closed <a>x</a>",
      u"<a><!-- -> </a>",
  };
  for (const std::u16string& text : broken) {
    EXPECT_FALSE(Parse(doc, kDecl + text)) << std::string(text.begin(), text.end());
    EXPECT_TRUE(doc.elements.empty());
  }
  // A NUL ends the text like its end would.
  std::u16string with_nul = kDecl + u"<a>x</a>";
  with_nul.push_back(0);
  with_nul += u"<b>";
  EXPECT_TRUE(Parse(doc, with_nul));
  with_nul = kDecl + u"<a>x";
  with_nul.push_back(0);
  with_nul += u"</a>";
  EXPECT_FALSE(Parse(doc, with_nul));
}

TEST(XmlParser, NestingIsLimited) {
  auto nested = [](int depth) {
    std::u16string open, close;
    for (int i = 0; i < depth; ++i) {
      open += u"<e>";
      close += u"</e>";
    }
    return kDecl + open + u"x" + close;
  };
  XmlDocument doc;
  EXPECT_TRUE(Parse(doc, nested(kXmlMaxDepth)));
  EXPECT_FALSE(Parse(doc, nested(kXmlMaxDepth + 1)));
  EXPECT_FALSE(Parse(doc, nested(100000)));
}

TEST(XmlParser, EveryTruncationEndsCleanly) {
  const std::u16string text = kDecl +
                              u"<!-- c --><root x=y>\n<s>\n\t<k>a&amp;b</k>\n</s>\n"
                              u"<t a=\"q\">&lt;</t></root>";
  XmlDocument doc;
  ASSERT_TRUE(Parse(doc, text));
  // A cut text fails, or (cut before the first tag) holds no element.
  for (size_t n = 0; n < text.size(); ++n) {
    if (Parse(doc, text.substr(0, n))) {
      EXPECT_TRUE(doc.elements.empty()) << n;
    }
  }
}

TEST(XmlParser, FindElementSearchesChildrenFirst) {
  XmlDocument doc;
  ASSERT_TRUE(Parse(doc, kDecl + u"<k>1</k><a><k>2<k>3</k></k></a><k>4</k>"));
  int found = FindElement(doc, doc.top_level, u"k");
  ASSERT_NE(found, -1);
  EXPECT_EQ(doc.elements[static_cast<size_t>(found)].text, u"1");
  const std::vector<int> from_a(doc.top_level.begin() + 1, doc.top_level.end());
  found = FindElement(doc, from_a, u"k");
  ASSERT_NE(found, -1);
  EXPECT_EQ(doc.elements[static_cast<size_t>(found)].text, u"3");
  EXPECT_EQ(FindElement(doc, doc.top_level, u"none"), -1);
}

}  // namespace
