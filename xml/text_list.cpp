// The document's text list.
#include "xml/text_list.h"

#include <cstring>

#include "xml/xml_errors.h"

namespace tarnwick::xml {

std::vector<std::string> TXMLStrings::SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* q = p;
    while (q < end && *q != '\n' && *q != '\r') ++q;
    lines.emplace_back(p, q);
    if (q < end && *q == '\r') {
      ++q;
      if (q < end && *q == '\n') ++q;
    } else if (q < end) {
      ++q;  // LF
    }
    p = q;
  }
  return lines;
}

const std::string& TXMLStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(index);
  return lines_[static_cast<size_t>(index)];
}

void TXMLStrings::SetStrings(int index, const std::string& line) {
  if (index < 0 || index >= Count()) throw EStringListError(index);
  Changing();
  lines_[static_cast<size_t>(index)] = line;
}

std::string TXMLStrings::Text() const {
  size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TXMLStrings::SetText(std::string_view text) {
  Changing();
  lines_ = SplitLines(text);
}

void TXMLStrings::Assign(const TXMLStrings& other) {
  if (&other == this) return;
  Changing();
  lines_ = other.lines_;
}

void TXMLStrings::Assign(const std::vector<std::string>& lines) {
  Changing();
  lines_ = lines;
}

void TXMLStrings::Add(const std::string& line) {
  Changing();
  lines_.push_back(line);
}

void TXMLStrings::Insert(int index, const std::string& line) {
  if (index < 0 || index > Count()) throw EStringListError(index);
  Changing();
  lines_.insert(lines_.begin() + index, line);
}

void TXMLStrings::Delete(int index) {
  if (index < 0 || index >= Count()) throw EStringListError(index);
  Changing();
  lines_.erase(lines_.begin() + index);
}

void TXMLStrings::Clear() {
  if (lines_.empty()) return;
  Changing();
  lines_.clear();
}

void TXMLStrings::Changing() {
  if (OnChanging) OnChanging();
}

}  // namespace tarnwick::xml
