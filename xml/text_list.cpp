// The document's text list.
#include "xml/text_list.h"

#include <algorithm>

#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

// The text with CR LF after every line, and the number of lines.
std::string Canonical(std::string_view text, int &count)
{
    std::string out;
    out.reserve(text.size() + 2);
    count = 0;
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end) {
        const char *q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        out.append(p, q);
        out += "\r\n";
        ++count;
        if (q < end && *q == '\r' && q + 1 < end && q[1] == '\n')
            q += 2;
        else if (q < end)
            ++q;
        p = q;
    }
    return out;
}

} // namespace

std::vector<std::string> TXMLStrings::SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end) {
        const char *q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        lines.emplace_back(p, q);
        if (q < end && *q == '\r' && q + 1 < end && q[1] == '\n')
            q += 2;
        else if (q < end)
            ++q;
        p = q;
    }
    return lines;
}

void TXMLStrings::EnsureLines() const
{
    if (linesValid_)
        return;
    lines_ = SplitLines(text_);
    linesValid_ = true;
}

void TXMLStrings::EditLines()
{
    EnsureLines();
    textValid_ = false;
    text_.clear();
    text_.shrink_to_fit();
}

const std::vector<std::string> &TXMLStrings::Lines() const
{
    EnsureLines();
    return lines_;
}

const std::string &TXMLStrings::Strings(int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError(index);
    EnsureLines();
    return lines_[static_cast<size_t>(index)];
}

void TXMLStrings::SetStrings(int index, const std::string &line)
{
    if (index < 0 || index >= Count())
        throw EStringListError(index);
    std::string copy = line; // the line may be this list's own
    Changing();
    EditLines();
    if (index < Count())
        lines_[static_cast<size_t>(index)] = std::move(copy);
}

const std::string &TXMLStrings::Text() const
{
    if (!textValid_) {
        size_t size = 0;
        for (const std::string &line : lines_)
            size += line.size() + 2;
        text_.clear();
        text_.reserve(size);
        for (const std::string &line : lines_) {
            text_ += line;
            text_ += "\r\n";
        }
        textValid_ = true;
    }
    return text_;
}

void TXMLStrings::InternalSetText(std::string_view text)
{
    text_ = Canonical(text, lineCount_);
    textValid_ = true;
    lines_.clear();
    linesValid_ = false;
}

void TXMLStrings::InternalClear()
{
    text_.clear();
    textValid_ = true;
    lines_.clear();
    linesValid_ = true;
    lineCount_ = 0;
}

void TXMLStrings::SetText(std::string_view text)
{
    // The text may be this list's own; take it before the hook can change it.
    int count = 0;
    std::string canonical = Canonical(text, count);
    Changing();
    text_ = std::move(canonical);
    lineCount_ = count;
    textValid_ = true;
    lines_.clear();
    linesValid_ = false;
}

void TXMLStrings::Assign(const TXMLStrings &other)
{
    if (&other == this)
        return;
    std::string text = other.Text();
    int count = other.Count();
    Changing();
    text_ = std::move(text);
    lineCount_ = count;
    textValid_ = true;
    lines_.clear();
    linesValid_ = false;
}

void TXMLStrings::Assign(const std::vector<std::string> &lines)
{
    std::vector<std::string> copy = lines; // the lines may be this list's own
    Changing();
    lines_ = std::move(copy);
    linesValid_ = true;
    textValid_ = false;
    text_.clear();
}

void TXMLStrings::Add(const std::string &line)
{
    std::string copy = line;
    Changing();
    EditLines();
    lines_.push_back(std::move(copy));
}

void TXMLStrings::Insert(int index, const std::string &line)
{
    if (index < 0 || index > Count())
        throw EStringListError(index);
    std::string copy = line;
    Changing();
    EditLines();
    lines_.insert(lines_.begin() + std::min(index, Count()), std::move(copy));
}

void TXMLStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EStringListError(index);
    Changing();
    EditLines();
    if (index < Count())
        lines_.erase(lines_.begin() + index);
}

void TXMLStrings::Clear()
{
    if (Count() == 0)
        return;
    Changing();
    InternalClear();
}

void TXMLStrings::Changing()
{
    if (OnChanging)
        OnChanging();
}

} // namespace tarnwick::xml
