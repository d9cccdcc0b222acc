#include "editor/document/line_reader.h"

#include <algorithm>

namespace tarnwick {

TLineReader::TLineReader(int tabSize, size_t expectedLines) : tabSize_(std::max(tabSize, 0))
{
    if (expectedLines > 0)
        lines_.reserve(expectedLines + expectedLines / 8 + 16);
}

std::string TLineReader::Expanded(std::string_view piece) const
{
    if (tabSize_ == 0 || piece.find('\t') == std::string_view::npos)
        return std::string(piece);
    std::string out;
    out.reserve(piece.size() + 16);
    for (char c : piece) {
        if (c == '\t')
            out.append(static_cast<size_t>(tabSize_), ' ');
        else
            out += c;
    }
    return out;
}

void TLineReader::AddToLine(std::string_view piece)
{
    if (piece.empty())
        return;
    open_ = true;
    if (line_.empty())
        line_ = Expanded(piece);
    else
        line_ += Expanded(piece);
}

void TLineReader::EndLine()
{
    lines_.push_back({std::move(line_), nullptr, nullptr});
    line_ = std::string();
    open_ = false;
}

void TLineReader::Append(std::string_view text)
{
    if (text.empty())
        return;
    if (!any_) {
        any_ = true;
        startsWithLf_ = text.front() == '\n';
    }
    size_t start = 0;
    if (afterCr_ && text.front() == '\n')
        start = 1;
    afterCr_ = false;
    while (start < text.size()) {
        const size_t brk = text.find_first_of("\r\n", start);
        if (brk == std::string_view::npos) {
            AddToLine(text.substr(start));
            return;
        }
        AddToLine(text.substr(start, brk - start));
        EndLine();
        if (text[brk] == '\r') {
            if (brk + 1 == text.size()) {
                afterCr_ = true;
                return;
            }
            start = brk + (text[brk + 1] == '\n' ? 2 : 1);
        } else {
            start = brk + 1;
        }
    }
}

void TLineReader::Prepend(std::string_view text)
{
    if (text.empty())
        return;
    TLineReader head(tabSize_);
    head.Append(text);
    if (!any_) {
        // Nothing came yet: the reader goes on as the head's.
        line_ = std::move(head.line_);
        open_ = head.open_;
        afterCr_ = head.afterCr_;
        any_ = true;
        startsWithLf_ = head.startsWithLf_;
    } else if (head.afterCr_ && startsWithLf_ && !lines_.empty()) {
        // A CR LF cut between the two is one break: the LF ended no line.
        lines_.erase(lines_.begin());
    } else if (!lines_.empty()) {
        // What follows the head's last break goes on into the first line.
        lines_.front().Text.insert(0, head.line_);
    } else {
        line_.insert(0, head.line_);
        open_ = open_ || head.open_;
    }
    lines_.insert(lines_.begin(), std::make_move_iterator(head.lines_.begin()),
                  std::make_move_iterator(head.lines_.end()));
}

std::vector<REdoDodiStrings::TStoredLine> TLineReader::Finish()
{
    if (open_)
        EndLine();
    afterCr_ = false;
    any_ = false;
    return std::move(lines_);
}

} // namespace tarnwick
