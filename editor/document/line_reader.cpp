#include "editor/document/line_reader.h"

#include <algorithm>

namespace tarnwick {

TLineReader::TLineReader(size_t expectedLines)
{
    if (expectedLines > 0)
        lines_.reserve(expectedLines + expectedLines / 8 + 16);
}

void TLineReader::AddToLine(std::string_view piece)
{
    if (piece.empty())
        return;
    open_ = true;
    if (line_.empty())
        line_ = std::string(piece);
    else
        line_ += piece;
}

void TLineReader::EndLine(TLineEnd end)
{
    lines_.push_back({std::move(line_), nullptr, nullptr, end});
    ++ends_[end];
    line_ = std::string();
    open_ = false;
}

void TLineReader::Append(std::string_view text)
{
    if (text.empty())
        return;
    size_t start = 0;
    if (afterCr_) {
        // A CR LF cut between two pieces is one break.
        afterCr_ = false;
        if (text.front() == '\n') {
            --ends_[leCR];
            ++ends_[leCRLF];
            lines_.back().End = leCRLF;
            start = 1;
        }
    }
    while (start < text.size()) {
        const size_t brk = text.find_first_of("\r\n", start);
        if (brk == std::string_view::npos) {
            AddToLine(text.substr(start));
            return;
        }
        AddToLine(text.substr(start, brk - start));
        if (text[brk] == '\n') {
            EndLine(leLF);
            start = brk + 1;
        } else if (brk + 1 == text.size()) {
            EndLine(leCR);
            afterCr_ = true;
            return;
        } else if (text[brk + 1] == '\n') {
            EndLine(leCRLF);
            start = brk + 2;
        } else {
            EndLine(leCR);
            start = brk + 1;
        }
    }
}

REdoDodiStrings::TReadLines TLineReader::Finish()
{
    REdoDodiStrings::TReadLines read;
    // The style new lines take is the one most lines end with; LF for a text
    // without any break.
    read.Style = static_cast<TLineEnd>(std::max_element(ends_.begin(), ends_.end()) - ends_.begin());
    if (ends_[read.Style] == 0)
        read.Style = leLF;
    read.FinalLineEnd = !open_ && !lines_.empty();
    if (open_)
        EndLine(read.Style);
    read.Lines = std::move(lines_);
    lines_.clear();
    afterCr_ = false;
    ends_ = {};
    return read;
}

} // namespace tarnwick
