#include "app/xml_form_checker.h"

#include "editor/base/utf8.h"
#include "xml/wellformedness.h"

#include <algorithm>
#include <cctype>
#include <string_view>

using namespace tarnwick;

namespace {

bool IsNameChar(char32_t c)
{
    return c >= 0x80 || std::isalnum(static_cast<int>(c)) || c == '_' || c == ':' || c == '.' || c == '-';
}

// Line `line` (0-based) of LF-separated text; the last one when the text
// has fewer.
std::string_view LineOf(std::string_view text, int &line)
{
    size_t start = 0;
    for (int i = 0; i < line; ++i) {
        const size_t brk = text.find('\n', start);
        if (brk == std::string_view::npos || brk + 1 >= text.size()) {
            line = i;
            break;
        }
        start = brk + 1;
    }
    const size_t end = text.find('\n', start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// libxml2 reports most errors just after what it read: a tag, an entity
// reference. The mark covers that; else the name at the column, else one
// character (the last one when the column is past the line's end).
void Extent(std::string_view line, int &column, int &length)
{
    const int count = utf8::Length(line);
    const auto at = [&](int c) { return utf8::At(line, c); };
    column = std::clamp(column, 0, count);
    length = 1;
    if (column > 0 && (at(column - 1) == U'>' || at(column - 1) == U';')) {
        const char32_t opener = at(column - 1) == U'>' ? U'<' : U'&';
        int start = column - 1;
        while (start > 0 && at(start) != opener)
            --start;
        if (at(start) == opener) {
            length = column - start;
            column = start;
            return;
        }
    }
    if (column < count && IsNameChar(at(column))) {
        int end = column;
        while (end < count && IsNameChar(at(end)))
            ++end;
        length = end - column;
        return;
    }
    if (column >= count)
        column = std::max(0, count - 1);
}

} // namespace

std::vector<TBackgroundChecker::TMark> XmlFormMarks(const std::string &text, const std::atomic<bool> &cancel)
{
    const std::optional<xml::WellFormednessError> error = xml::FirstWellFormednessError(text, &cancel);
    if (!error)
        return {};
    TBackgroundChecker::TMark mark;
    mark.Line = std::max(0, error->line - 1);
    mark.Column = std::max(0, error->column - 1);
    mark.Message = error->message;
    Extent(LineOf(text, mark.Line), mark.Column, mark.Length);
    return {mark};
}

std::unique_ptr<TBackgroundChecker> MakeXmlFormChecker() { return std::make_unique<TBackgroundChecker>(XmlFormMarks); }
