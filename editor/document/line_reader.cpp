#include "editor/document/line_reader.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

TLineReader::TLineReader(size_t expectedLines)
{
    if (expectedLines > 0) {
        lines_.reserve(expectedLines + expectedLines / 8 + 16);
        lineEnds_.reserve(lines_.capacity());
    }
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
    lines_.push_back({std::move(line_), nullptr, nullptr});
    lineEnds_.push_back(end);
    ++ends_[end];
    line_ = std::string();
    open_ = false;
}

// The next CR and the next LF are each found once with memchr and kept
// until passed, so every byte is looked at once whatever the breaks are.
void TLineReader::Append(std::string_view text)
{
    if (text.empty())
        return;
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *p = begin;
    if (afterCr_) {
        // A CR LF cut between two pieces is one break.
        afterCr_ = false;
        if (*p == '\n') {
            --ends_[leCR];
            ++ends_[leCRLF];
            lineEnds_.back() = leCRLF;
            ++p;
        }
    }
    const auto next = [end](const char *from, char c) {
        const void *found = std::memchr(from, c, static_cast<size_t>(end - from));
        return found ? static_cast<const char *>(found) : end;
    };
    const char *lf = next(p, '\n');
    const char *cr = next(p, '\r');
    while (p < end) {
        if (lf < p)
            lf = next(p, '\n');
        if (cr < p)
            cr = next(p, '\r');
        const char *brk = std::min(lf, cr);
        if (brk == end) {
            AddToLine({p, static_cast<size_t>(end - p)});
            return;
        }
        AddToLine({p, static_cast<size_t>(brk - p)});
        if (*brk == '\n') {
            EndLine(leLF);
            p = brk + 1;
        } else if (brk + 1 == end) {
            EndLine(leCR);
            afterCr_ = true;
            return;
        } else if (brk[1] == '\n') {
            EndLine(leCRLF);
            p = brk + 2;
        } else {
            EndLine(leCR);
            p = brk + 1;
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
    read.Ends = std::move(lineEnds_);
    lines_.clear();
    lineEnds_.clear();
    afterCr_ = false;
    ends_ = {};
    return read;
}

} // namespace tarnwick
