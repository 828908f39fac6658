#include "project/xml_document.h"

#include <string_view>

namespace {

class XmlParser {
 public:
  XmlParser(XmlDocument& doc, const char16_t* text, size_t length) : doc_(doc), text_(text) {
    // The text ends at its first NUL.
    while (end_ < length && text_[end_] != 0) ++end_;
  }

  bool Parse() {
    if (!HasDeclaration()) return false;
    size_t close = Find(u"?>", 0);
    if (close == kNone) return false;
    pos_ = close + 2;
    while (true) {
      size_t lt = Find(u"<", pos_);
      if (lt == kNone) return current_ == -1;  // every element closed
      pos_ = lt + 1;
      if (StartsWith(u"!--", pos_)) {
        size_t stop = Find(u"-->", pos_ + 3);
        if (stop == kNone) return false;
        pos_ = stop + 3;
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
    if (!SkipPast(u'>')) return false;
    element.parent = current_;
    const int index = static_cast<int>(doc_.elements.size());
    doc_.elements.push_back(std::move(element));
    if (current_ == -1)
      doc_.top_level.push_back(index);
    else
      doc_.elements[static_cast<size_t>(current_)].children.push_back(index);
    current_ = index;
    ++depth_;
    return ReadText(doc_.elements[static_cast<size_t>(index)].text);
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

bool ParseXml(XmlDocument& doc, const char16_t* text, size_t length) {
  FreeXml(doc);
  XmlParser parser(doc, text, length);
  if (parser.Parse()) return true;
  FreeXml(doc);
  return false;
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
