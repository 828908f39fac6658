#include "project/xml_document.h"

#include <string_view>

#include "platform/ascii_case.h"

namespace {

class XmlParser {
 public:
  XmlParser(XmlDocument& doc, const char16_t* text, size_t length) : doc_(doc), text_(text) {
    // The text ends at its first NUL.
    while (end_ < length && text_[end_] != 0) ++end_;
  }

  // `declared`: the text must carry the declaration, and markup starts
  // after it.
  bool Parse(bool declared) {
    if (declared) {
      if (!HasDeclaration()) return false;
      size_t close = Find(u"?>", 0);
      if (close == kNone) return false;
      pos_ = close + 2;
    }
    while (true) {
      size_t lt = Find(u"<", pos_);
      if (lt == kNone) return current_ == -1;  // every element closed
      pos_ = lt + 1;
      if (StartsWith(u"!--", pos_)) {
        if (!SkipPastText(u"-->", pos_ + 3)) return false;
        continue;
      }
      // Processing instructions and a document type carry nothing we use.
      if (StartsWith(u"?", pos_)) {
        if (!SkipPastText(u"?>", pos_ + 1)) return false;
        continue;
      }
      if (StartsWith(u"!", pos_)) {
        if (!SkipPast(u'>')) return false;
        continue;
      }
      if (pos_ < end_ && text_[pos_] == u'/') {
        if (!EndTag()) return false;
      } else if (!StartTag()) {
        return false;
      }
    }
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  bool HasDeclaration() const {
    std::u16string_view head(text_, end_ < 48 ? end_ : 48);
    return head.find(u"?xml") != head.npos &&
           (head.find(u"UTF-8") != head.npos || head.find(u"utf-8") != head.npos);
  }

  size_t Find(std::u16string_view what, size_t from) const {
    if (from > end_) return kNone;
    size_t at = std::u16string_view(text_, end_).find(what, from);
    return at == std::u16string_view::npos ? kNone : at;
  }
  bool StartsWith(std::u16string_view what, size_t at) const {
    return at <= end_ && std::u16string_view(text_ + at, end_ - at).substr(0, what.size()) == what;
  }
  bool SkipPastText(std::u16string_view what, size_t from) {
    size_t stop = Find(what, from);
    if (stop == kNone) return false;
    pos_ = stop + what.size();
    return true;
  }
  bool SkipPast(char16_t c) {
    while (pos_ < end_ && text_[pos_] != c) ++pos_;
    if (pos_ >= end_) return false;
    ++pos_;
    return true;
  }
  static bool IsLineOrTab(char16_t c) { return c == u'\n' || c == u'\r' || c == u'\t'; }

  // The name runs to '>', a space or a tab; at most `limit` units.
  std::u16string TagName(size_t limit) {
    std::u16string name;
    while (pos_ < end_ && name.size() < limit) {
      char16_t c = text_[pos_];
      if (c == u'>' || c == u' ' || c == u'\t') break;
      name.push_back(c);
      ++pos_;
    }
    return name;
  }

  bool EndTag() {
    // '/' and a name of up to the length a start tag keeps.
    std::u16string name = TagName(kXmlNameUnits + 1);
    if (current_ == -1 || name.substr(1) != doc_.elements[static_cast<size_t>(current_)].name) return false;
    if (!SkipPast(u'>')) return false;
    current_ = doc_.elements[static_cast<size_t>(current_)].parent;
    --depth_;
    return true;
  }

  bool StartTag() {
    if (depth_ >= kXmlMaxDepth || doc_.elements.size() >= kXmlMaxElements) return false;
    XmlElement element;
    element.name = TagName(kXmlNameUnits);
    ReadAttributes(element);
    const bool empty_element = pos_ < end_ && pos_ > 0 && text_[pos_ - 1] == u'/';
    if (!SkipPast(u'>')) return false;
    if (empty_element) DropClosingSlash(element);
    element.parent = current_;
    const int index = static_cast<int>(doc_.elements.size());
    doc_.elements.push_back(std::move(element));
    if (current_ == -1)
      doc_.top_level.push_back(index);
    else
      doc_.elements[static_cast<size_t>(current_)].children.push_back(index);
    if (empty_element) return true;  // no text, nothing left open
    current_ = index;
    ++depth_;
    return ReadText(doc_.elements[static_cast<size_t>(index)].text);
  }

  // The '/' of "<a/>", "<a b/>", "<a b=c/>" or "<a />" was read as part of
  // the last name or value.
  static void DropClosingSlash(XmlElement& element) {
    if (element.attributes.empty()) {
      element.name.pop_back();
      return;
    }
    XmlAttribute& last = element.attributes.front();
    if (!last.value.empty()) {
      last.value.pop_back();
      return;
    }
    last.name.pop_back();
    if (last.name.empty()) element.attributes.erase(element.attributes.begin());
  }

  void ReadAttributes(XmlElement& element) {
    while (true) {
      while (pos_ < end_ && (text_[pos_] == u' ' || IsLineOrTab(text_[pos_]))) ++pos_;
      if (pos_ >= end_ || text_[pos_] == u'>') return;
      XmlAttribute a;
      a.name = Run(u"= >", kXmlNameUnits);
      while (pos_ < end_ && (text_[pos_] == u'=' || text_[pos_] == u' ' || IsLineOrTab(text_[pos_]))) ++pos_;
      a.value = Run(u" >", kXmlValueUnits);
      element.attributes.insert(element.attributes.begin(), std::move(a));
    }
  }

  // Consumes up to one of `stops`, keeping at most `limit` units and
  // dropping line ends and tabs.
  std::u16string Run(std::u16string_view stops, size_t limit) {
    std::u16string out;
    while (pos_ < end_ && stops.find(text_[pos_]) == stops.npos) {
      char16_t c = text_[pos_++];
      if (!IsLineOrTab(c) && out.size() < limit) out.push_back(c);
    }
    return out;
  }

  // The element's text up to the next '<', which stays for the next tag.
  // Characters past the limit are skipped.
  bool ReadText(std::u16string& out) {
    static const struct {
      std::u16string_view entity;
      char16_t c;
    } kEntities[] = {
        {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}};
    while (pos_ < end_ && text_[pos_] != u'<') {
      char16_t c = text_[pos_];
      size_t width = 1;
      if (c == u'&') {
        for (const auto& e : kEntities) {
          if (StartsWith(e.entity, pos_)) {
            c = e.c;
            width = e.entity.size();
            break;
          }
        }
      }
      pos_ += width;
      if (width == 1 && IsLineOrTab(c)) continue;
      if (out.size() < kXmlTextUnits) out.push_back(c);
    }
    return pos_ < end_;
  }

  XmlDocument& doc_;
  const char16_t* text_;
  size_t end_ = 0;
  size_t pos_ = 0;
  int current_ = -1;
  int depth_ = 0;
};

}  // namespace

namespace {

bool ParseWith(XmlDocument& doc, const char16_t* text, size_t length, bool declared) {
  FreeXml(doc);
  XmlParser parser(doc, text, length);
  if (parser.Parse(declared)) return true;
  FreeXml(doc);
  return false;
}

// What the encoding names in the declaration at the start of `head` (ASCII;
// other characters never match).
XmlEncoding EncodingOf(std::string_view head) {
  size_t at = head.find_first_not_of(" \t\r\n");
  if (at == head.npos || head.compare(at, 5, "<?xml") != 0) return XmlEncoding::kNone;
  const size_t close = head.find("?>", at);
  const std::string declaration = AsciiLowered(head.substr(at, close == head.npos ? head.npos : close - at));
  size_t key = declaration.find("encoding");
  if (key == declaration.npos) return XmlEncoding::kUtf8;
  size_t quote = declaration.find_first_of("\"'", key);
  if (quote == declaration.npos) return XmlEncoding::kUnknown;
  size_t end = declaration.find(declaration[quote], quote + 1);
  const std::string name = declaration.substr(quote + 1, end == declaration.npos ? end : end - quote - 1);
  for (const char* utf8 : {"utf-8", "utf8"})
    if (name == utf8) return XmlEncoding::kUtf8;
  for (const char* sjis : {"shift_jis", "shift-jis", "sjis", "cp932", "windows-31j", "x-sjis", "ms_kanji"})
    if (name == sjis) return XmlEncoding::kShiftJis;
  return XmlEncoding::kUnknown;
}

// A declaration is short; this much of the text holds it.
constexpr size_t kDeclarationHead = 256;

}  // namespace

bool ParseXml(XmlDocument& doc, const char16_t* text, size_t length) {
  return ParseWith(doc, text, length, true);
}

bool ParseXmlMarkup(XmlDocument& doc, const char16_t* text, size_t length) {
  return ParseWith(doc, text, length, false);
}

XmlEncoding DeclaredXmlEncoding(std::string_view head) {
  return EncodingOf(head.substr(0, kDeclarationHead));
}

XmlEncoding DeclaredXmlEncoding(std::u16string_view head) {
  std::string ascii;
  for (char16_t c : head.substr(0, kDeclarationHead)) ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return EncodingOf(ascii);
}

int FindElement(const XmlDocument& doc, const std::vector<int>& list, const std::u16string& name) {
  for (int index : list) {
    const XmlElement& e = doc.elements[static_cast<size_t>(index)];
    int found = FindElement(doc, e.children, name);
    if (found != -1) return found;
    if (e.name == name) return index;
  }
  return -1;
}

void FreeXml(XmlDocument& doc) {
  doc.elements.clear();
  doc.top_level.clear();
}
