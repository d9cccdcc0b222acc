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
// character (the last one when the column is past the line's end). The line
// may be a whole document of many megabytes, so it is walked by bytes, once:
// '<', '>', '&' and ';' are single bytes that no longer character holds, and
// every byte of a non-ASCII character counts as a name's.
void XmlMarkExtent(std::string_view line, int &column, int &length)
{
    const int count = utf8::Length(line);
    column = std::clamp(column, 0, count);
    length = 1;
    const size_t at = utf8::ByteOffset(line, column);
    if (at > 0 && (line[at - 1] == '>' || line[at - 1] == ';')) {
        const char opener = line[at - 1] == '>' ? '<' : '&';
        const size_t start = line.rfind(opener, at - 1);
        if (start != std::string_view::npos) {
            length = utf8::Length(line.substr(start, at - start));
            column -= length;
            return;
        }
    }
    size_t end = at;
    while (end < line.size() && IsNameChar(static_cast<unsigned char>(line[end])))
        ++end;
    if (end > at) {
        length = utf8::Length(line.substr(at, end - at));
        return;
    }
    if (column >= count)
        column = std::max(0, count - 1);
}

void OutlineSlot::Put(std::shared_ptr<const xml::ElementOutline> outline)
{
    std::lock_guard<std::mutex> hold(mutex_);
    outline_ = std::move(outline);
}

std::shared_ptr<const xml::ElementOutline> OutlineSlot::Take()
{
    std::lock_guard<std::mutex> hold(mutex_);
    return std::move(outline_);
}

std::vector<TBackgroundChecker::TMark> XmlFormMarks(TTextStream &text, const std::atomic<bool> &cancel,
                                                    OutlineSlot *outline)
{
    std::optional<xml::OutlineBuilder> builder;
    if (outline)
        builder.emplace();
    const auto read = [&](char *buffer, size_t length) {
        const size_t n = text.Read(buffer, length, cancel);
        if (builder)
            builder->Text({buffer, n});
        return n;
    };
    const std::optional<xml::ProblemList> problems = xml::WellFormednessProblems(read, &cancel);
    if (!problems)
        return {};
    if (builder) {
        // The tree wants the text the parse left unread after an error.
        std::string rest(64 << 10, '\0');
        while (read(rest.data(), rest.size()) > 0) {
        }
        if (cancel.load(std::memory_order_relaxed))
            return {};
        outline->Put(builder->Finish());
    }
    std::vector<TBackgroundChecker::TMark> marks;
    marks.reserve(problems->Listed().size());
    for (const xml::DocumentProblem &problem : problems->Listed()) {
        TBackgroundChecker::TMark mark;
        mark.Line = std::max(0, problem.line - 1);
        mark.Column = std::max(0, problem.column - 1);
        mark.Message = problem.warning ? std::string(kWarningPrefix) + problem.message : problem.message;
        marks.push_back(std::move(mark));
    }
    return marks;
}

std::unique_ptr<TBackgroundChecker> MakeXmlFormChecker(std::shared_ptr<OutlineSlot> outline)
{
    return std::make_unique<TBackgroundChecker>(
        [outline](TTextStream &text, const std::atomic<bool> &cancel) {
            return XmlFormMarks(text, cancel, outline.get());
        },
        XmlMarkExtent);
}
