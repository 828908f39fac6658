// The small XML reader the project file needs: start and end tags, text,
// the five predefined entities, comments and attributes. No namespaces,
// CDATA or empty-element tags.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

constexpr size_t kXmlNameUnits = 30;    // longest element or attribute name kept
constexpr size_t kXmlTextUnits = 259;   // longest text kept: the widest project field
constexpr size_t kXmlValueUnits = 126;  // longest attribute value kept
constexpr int kXmlMaxDepth = 64;
constexpr size_t kXmlMaxElements = 100000;

struct XmlAttribute {
  std::u16string name;
  std::u16string value;
};

struct XmlElement {
  std::u16string name;
  std::u16string text;
  std::vector<XmlAttribute> attributes;  // the last one read first
  int parent = -1;
  std::vector<int> children;  // indexes into XmlDocument::elements, in document order
};

struct XmlDocument {
  std::vector<XmlElement> elements;
  std::vector<int> top_level;
};

// Builds the element tree. False, with the document emptied, when the text
// lacks the declaration, or its markup is broken: an unclosed comment, tag
// or element, an end tag that closes nothing or another element, nesting
// deeper than kXmlMaxDepth, or more than kXmlMaxElements elements.
bool ParseXml(XmlDocument& doc, const char16_t* text, size_t length);

// The first element called `name` among `list` and their descendants,
// children searched before their parent; -1 when there is none.
int FindElement(const XmlDocument& doc, const std::vector<int>& list, const std::u16string& name);

void FreeXml(XmlDocument& doc);
