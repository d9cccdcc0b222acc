#include "editor/commands/line_edits.h"

#include "editor/base/utf8.h"
#include "editor/commands/edit_session.h"
#include "editor/commands/edit_target.h"

#include <algorithm>

namespace tarnwick {

REdoDodiStrings &TLineEdits::Store() { return *ed_.ActiveLines(); }

int TLineEdits::Count() { return Store().Count(); }

std::string_view TLineEdits::Text(int line)
{
    REdoDodiStrings &store = Store();
    if (line < 0 || line >= store.Count())
        return {};
    return store.Get(line);
}

int TLineEdits::Length(int line) { return Store().LineLength(line); }

void TLineEdits::EnsureLine()
{
    if (Store().Empty())
        Store().Add("");
}

int TLineEdits::CaretLine()
{
    EnsureLine();
    const int line = ed_.CaretState().CaretLine;
    if (line < 0 || line >= Count())
        ed_.SetCaretLine(std::clamp(line, 0, Count() - 1));
    return ed_.CaretState().CaretLine;
}

void TLineEdits::MoveCaret(TCaretPos pos)
{
    ed_.SetCaretLine(pos.Line);
    ed_.SetCaretCol(pos.Col);
}

// MaxLineLength follows the edit without a rescan: a longer line raises it at
// once; shortening the longest line only marks it stale, and the next caret
// column change (or the change handler) rescans.
void TLineEdits::LengthChanged(int before, int after)
{
    TViewState &state = ed_.ViewState();
    if (after > state.MaxLineLength)
        state.MaxLineLength = after;
    else if (after < before && before >= state.MaxLineLength)
        ed_.EditSession().MaxLengthStale = true;
}

void TLineEdits::Replace(int line, std::string text)
{
    const int before = Length(line);
    Store().Put(line, std::move(text));
    LengthChanged(before, Length(line));
}

size_t TLineEdits::ByteOf(int line, int column) { return Store().ByteOfColumn(line, column); }

std::string_view TLineEdits::Chars(int line, int column, int count)
{
    if (count <= 0)
        return {};
    const size_t from = ByteOf(line, column);
    return Text(line).substr(from, ByteOf(line, column + count) - from);
}

void TLineEdits::ReplaceChars(int line, int column, int count, std::string_view text)
{
    const int before = Length(line);
    const size_t from = ByteOf(line, column);
    const size_t to = count > 0 ? ByteOf(line, column + count) : from;
    Store().ReplaceText(line, from, to - from, text);
    LengthChanged(before, Length(line));
}

void TLineEdits::InsertInLine(int line, int column, std::string_view text) { ReplaceChars(line, column, 0, text); }

void TLineEdits::CutLine(int line, int column)
{
    const int before = Length(line);
    if (column >= before)
        return;
    Store().ReplaceText(line, ByteOf(line, column), std::string::npos, {});
    LengthChanged(before, column);
}

void TLineEdits::PadTo(int line, int column)
{
    const int length = Length(line);
    if (length >= column)
        return;
    std::string padded(Text(line));
    padded.append(static_cast<size_t>(column - length), ' ');
    Replace(line, std::move(padded));
}

void TLineEdits::InsertLines(int at, std::vector<std::string> texts)
{
    if (texts.empty())
        return;
    const int n = static_cast<int>(texts.size());
    REdoDodiStrings &store = Store();
    store.InsertLines(at, std::move(texts));
    TViewState &state = ed_.ViewState();
    for (int i = at; i < at + n; ++i)
        state.MaxLineLength = std::max(state.MaxLineLength, store.LineLength(i));
}

void TLineEdits::InsertLine(int at, std::string text)
{
    std::vector<std::string> one;
    one.push_back(std::move(text));
    InsertLines(at, std::move(one));
}

void TLineEdits::RemoveLines(int first, int count)
{
    REdoDodiStrings &store = Store();
    if (first < 0 || first >= store.Count() || count <= 0)
        return;
    count = std::min(count, store.Count() - first);
    const int end = first + count;

    for (int line = first; line < end; ++line) {
        if (store.LineLength(line) >= ed_.ViewState().MaxLineLength)
            ed_.EditSession().MaxLengthStale = true;
        if (!ed_.CodeFolding()->Enabled())
            continue;
        if (const TLineProp *p = store.LinePropOf(line)) {
            if (p->StartsRegion)
                ed_.RemoveFoldRegionStartingAt(line);
            else if (p->InRegion && p->RegionEndCount > 0)
                ed_.RemoveFoldRegionEndingAt(line);
        }
    }

    store.RemoveLines(first, count);
}

void TLineEdits::MoveMarkersUp(int from)
{
    TDodiMarkers &markers = ed_.MarkerList()->Markers();
    for (int i = 0; i < markers.Count(); ++i)
        if (markers.Items(i).LineNumber == from)
            markers.Items(i).LineNumber = from - 1;
}

namespace text {

std::string_view TrimRightBlanks(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ')
        --n;
    return s.substr(0, n);
}

std::string_view TrimRightSpaces(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.substr(0, n);
}

int LeadingSpaces(std::string_view s)
{
    int n = 0;
    while (n < static_cast<int>(s.size()) && s[n] == ' ')
        ++n;
    return n;
}

bool AllSpaces(std::string_view s) { return LeadingSpaces(s) == static_cast<int>(s.size()); }

std::string ReverseCodePoints(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    size_t end = s.size();
    while (end > 0) {
        size_t start = end - 1;
        while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80)
            --start;
        out.append(s.substr(start, end - start));
        end = start;
    }
    return out;
}

std::string Spaces(int count) { return std::string(static_cast<size_t>(std::max(0, count)), ' '); }

std::u32string Decode(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        // A stray continuation byte counts as nothing, as in utf8::Length,
        // so positions here agree with the store's columns.
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) {
            ++i;
            continue;
        }
        out.push_back(CharAt(s, i, &i));
    }
    return out;
}

char32_t CharAt(std::string_view s, size_t at, size_t *next)
{
    if (at >= s.size()) {
        if (next)
            *next = s.size();
        return 0;
    }
    const auto c = static_cast<unsigned char>(s[at]);
    const size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    size_t j = at + 1;
    for (; j < s.size() && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80; ++j)
        if (j - at <= extra)
            cp = cp << 6 | (static_cast<unsigned char>(s[j]) & 0x3F);
    if (next)
        *next = j;
    return cp;
}

size_t PreviousChar(std::string_view s, size_t at)
{
    if (at == 0)
        return 0;
    size_t start = std::min(at, s.size()) - 1;
    while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80)
        --start;
    return start;
}

int TrailingBlanks(std::string_view s) { return static_cast<int>(s.size() - TrimRightBlanks(s).size()); }

} // namespace text

} // namespace tarnwick
