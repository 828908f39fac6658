#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "project/xml_document.h"

namespace {

const std::u16string kDecl = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

bool Parse(XmlDocument& doc, const std::u16string& text) { return ParseXml(doc, text.data(), text.size()); }

const XmlElement& Child(const XmlDocument& doc, const XmlElement& e, size_t i) {
  return doc.elements[static_cast<size_t>(e.children.at(i))];
}

TEST(XmlParser, WhatParsesAndWhatFails) {
  const struct {
    std::u16string text;
    bool parses;
  } cases[] = {
      {kDecl + u"<a>x</a>", true},
      {u"<?xml version=\"1.0\" encoding=\"utf-8\"?><a>x</a>", true},
      {u"<?xml version=\"1.0\" encoding=\"Utf-8\"?><a>x</a>", false},
      {u"<a>UTF-8</a>", false},
      // Both marks must lie in the first 48 characters.
      {u"<?xml version=\"1.0\"                   encoding=\"UTF-8\"?><a/>", false},
      {std::u16string(45, u' ') + u"<?xml UTF-8?><a>x</a>", false},
      {u"<?xml encoding=\"UTF-8\"><a>x</a>", false},  // no closing "?>"
      {kDecl + u"<a><b>x</b>", false},                // element left open
      {kDecl + u"<a>x</a></b>", false},               // end tag with nothing open
      {kDecl + u"<a><b>x</a></b>", false},            // end tag of another element
      {kDecl + u"<a>x</a", false},                    // tag without its '>'
      {kDecl + u"<a x=\"1\"", false},
      {kDecl + u"<a>text", false},
      {kDecl + u"<!-- never closed <a>x</a>", false},
      {kDecl + u"<a><!-- -> </a>", false},
      {kDecl + u"<a>x</a>" + std::u16string(1, u'\0') + u"<b>", true},  // a NUL ends the text
      {kDecl + u"<a>x" + std::u16string(1, u'\0') + u"</a>", false},
      {kDecl + std::u16string(kXmlMaxDepth, u'(') + u"x", true},  // '(' and ')' stand for <e> and </e>
      {kDecl + std::u16string(kXmlMaxDepth + 1, u'(') + u"x", false},
      {kDecl + std::u16string(100000, u'(') + u"x", false},
  };
  for (const auto& c : cases) {
    std::u16string text;
    for (char16_t ch : c.text) text += ch == u'(' ? u"<e>" : std::u16string(1, ch);
    size_t opened = 0;
    for (char16_t ch : c.text) opened += ch == u'(';
    for (size_t i = 0; i < opened; ++i) text += u"</e>";
    XmlDocument doc;
    EXPECT_EQ(Parse(doc, text), c.parses) << std::string(c.text.begin(), c.text.begin() + std::min<size_t>(c.text.size(), 60));
    EXPECT_TRUE(c.parses || doc.elements.empty());
  }
}

TEST(XmlParser, TextsEntitiesAttributesAndLongNames) {
  XmlDocument doc;
  ASSERT_TRUE(Parse(doc, kDecl + u"<!-- before -->\n<root a=\"1\" b=2>\n"
                                 u"\t<k>&lt;&gt;&amp;&quot;&apos; &amp;lt; &foo; & x</k>\n"
                                 u"<!-- a -- inside -->"
                                 u"\t<t> a\tb\r\nc  </t>\n<" + std::u16string(40, u'n') + u">" +
                                 std::u16string(300, u'p') + u"</" + std::u16string(40, u'n') + u">"
                                 u"</root>\nafter the root\n"));
  ASSERT_EQ(doc.top_level.size(), 1u);
  const XmlElement& root = doc.elements[static_cast<size_t>(doc.top_level[0])];
  EXPECT_EQ(root.name, u"root");
  ASSERT_EQ(root.attributes.size(), 2u);
  EXPECT_EQ(root.attributes[0].name, u"b");  // the last one read first
  EXPECT_EQ(root.attributes[0].value, u"2");
  EXPECT_EQ(root.attributes[1].value, u"\"1\"");  // quotes are ordinary characters
  ASSERT_EQ(root.children.size(), 3u);
  EXPECT_EQ(Child(doc, root, 0).text, u"<>&\"' &lt; &foo; & x");
  EXPECT_EQ(Child(doc, root, 1).text, u" abc  ");
  // Names past 30 characters are cut alike in both tags; texts to their limit.
  EXPECT_EQ(Child(doc, root, 2).name, std::u16string(30, u'n'));
  EXPECT_EQ(Child(doc, root, 2).text, std::u16string(kXmlTextUnits, u'p'));
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
