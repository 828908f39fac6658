#include <gtest/gtest.h>

#include <string>

#include "project/xml_document.h"
#include "tests/case_text.h"

namespace {

const std::u16string kDecl = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

bool Parse(XmlDocument& doc, const std::u16string& text) { return ParseXml(doc, text.data(), text.size()); }

const XmlElement& Child(const XmlDocument& doc, const XmlElement& e, size_t i) {
  return doc.elements[static_cast<size_t>(e.children.at(i))];
}

// tests/data/project/xml_parse.txt: texts that parse and texts that fail.
TEST(XmlParser, WhatParsesAndWhatFails) {
  RunCaseFile("project/xml_parse.txt", {{"parse", [](const CaseFields& in) {
                const std::string& cell = in[0];
                std::u16string text, closes;
                for (size_t i = 0; i < cell.size(); ++i) {
                  std::string part(1, cell[i]);
                  const size_t star = cell.find('*', i), end = cell.find(']', i);
                  if (cell[i] == '[' && star < end && end != std::string::npos) {
                    part.assign(std::stoul(cell.substr(i + 1, star - i - 1)), cell[star + 1]);
                    i = end;
                  }
                  for (char c : part) {
                    text += c == '(' ? u"<e>" : std::u16string(1, static_cast<char16_t>(c));
                    closes += c == '(' ? u"</e>" : u"";
                  }
                }
                XmlDocument doc;
                const bool parsed = Parse(doc, text + closes);
                EXPECT_TRUE(parsed || doc.elements.empty()) << cell.substr(0, 60);
                return parsed ? "yes" : "no";
              }}});
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
