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

} // namespace

// libxml2 reports most errors just after what it read: a tag, an entity
// reference. The mark covers that; else the name at the column, else one
// character (the last one when the column is past the line's end).
void XmlMarkExtent(std::string_view line, int &column, int &length)
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

std::vector<TBackgroundChecker::TMark> XmlFormMarks(TTextStream &text, const std::atomic<bool> &cancel)
{
    const std::optional<xml::WellFormednessError> error = xml::FirstWellFormednessError(
        [&](char *buffer, size_t length) { return text.Read(buffer, length, cancel); }, &cancel);
    if (!error)
        return {};
    TBackgroundChecker::TMark mark;
    mark.Line = std::max(0, error->line - 1);
    mark.Column = std::max(0, error->column - 1);
    mark.Message = error->message;
    return {mark};
}

std::unique_ptr<TBackgroundChecker> MakeXmlFormChecker()
{
    return std::make_unique<TBackgroundChecker>(XmlFormMarks, XmlMarkExtent);
}
