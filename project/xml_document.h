// The small XML reader the project file needs: start, end and empty-element
// tags, text, the five predefined entities, comments and attributes;
// processing instructions and a document type are skipped. No namespaces or
// CDATA.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kXmlNameUnits = 30;    // longest element or attribute name kept
// Longest text kept: one more than the widest project field, so a reader
// can tell a text that does not fit.
constexpr size_t kXmlTextUnits = 260;
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
// The same without the declaration test: markup is read from the first
// character, a declaration skipped like any processing instruction.
bool ParseXmlMarkup(XmlDocument& doc, const char16_t* text, size_t length);

// The encoding a text's XML declaration names. kNone when the text (after
// blanks) does not start with a declaration; a declaration without an
// encoding is UTF-8. Names are compared without regard to case.
enum class XmlEncoding { kNone, kUtf8, kShiftJis, kUnknown };
XmlEncoding DeclaredXmlEncoding(std::string_view head);
XmlEncoding DeclaredXmlEncoding(std::u16string_view head);

// The first element called `name` among `list` and their descendants,
// children searched before their parent; -1 when there is none.
int FindElement(const XmlDocument& doc, const std::vector<int>& list, const std::u16string& name);

void FreeXml(XmlDocument& doc);
