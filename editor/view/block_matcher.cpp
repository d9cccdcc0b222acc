#include "editor/view/block_matcher.h"

#include "editor/base/utf8.h"
#include "editor/highlight/styler.h"
#include "editor/view/view_target.h"

#include <algorithm>
#include <climits>

namespace tarnwick {

namespace {

char32_t Upper(char32_t c) { return c >= U'a' && c <= U'z' ? c - 32 : c; }

std::u32string UpperCodePoints(std::string_view text)
{
    std::u32string out;
    for (int i = 0, n = utf8::Length(text); i < n; ++i)
        out.push_back(Upper(utf8::At(text, i)));
    return out;
}

// "begin,case" -> {"BEGIN", "CASE"}; blanks around the words are dropped.
std::vector<std::u32string> WordList(const std::string &list)
{
    std::vector<std::u32string> words;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        std::string word = list.substr(start, comma - start);
        word.erase(0, word.find_first_not_of(' '));
        word.erase(word.find_last_not_of(' ') + 1);
        if (!word.empty())
            words.push_back(UpperCodePoints(word));
        start = comma + 1;
    }
    return words;
}

} // namespace

std::vector<TBlockWord> TBlockMatcher::WordsOf(std::string_view line, const std::vector<std::u32string> &openers,
                                               const std::vector<std::u32string> &closers) const
{
    const std::u32string text = UpperCodePoints(line);
    std::vector<TBlockWord> words;
    auto delimitedAt = [&](size_t col, size_t length) {
        const bool before = col == 0 || ed_.IsDelimiter(text[col - 1]);
        const bool after = col + length >= text.size() || ed_.IsDelimiter(text[col + length]);
        return before && after;
    };
    for (size_t col = 0; col < text.size(); ++col) {
        for (bool opener : {true, false}) {
            for (const std::u32string &word : opener ? openers : closers) {
                if (text.compare(col, word.size(), word) == 0 && delimitedAt(col, word.size())) {
                    words.push_back({static_cast<int>(col), static_cast<int>(word.size()), opener});
                    col += word.size() - 1;
                    goto next;
                }
            }
        }
    next:;
    }
    return words;
}

void TBlockMatcher::InvalidateRow(int line)
{
    if (line < 0 || ed_.LineHeight() <= 0)
        return;
    const TRect text = ed_.TextArea();
    const int top = text.top + 1 + ed_.RowOfLine(line) * ed_.LineHeight();
    const int rows = static_cast<int>(ed_.RowLayout().RowStarts(line).size());
    ed_.InvalidateRect({text.left, top - 1, text.right, top + rows * ed_.LineHeight() + 1});
}

// The caret line's first opener starts the block and its first closer ends
// it; with neither, the block is the one around the caret line. The other end
// is found by counting nested pairs, downwards to the last visible line and
// upwards to the top line.
void TBlockMatcher::Match()
{
    TCaretState &caret = ed_.CaretState();
    TViewState &view = ed_.ViewState();
    const TBlockRange oldStart = view.BlockStart;
    const TBlockRange oldEnd = view.BlockEnd;
    TBlockRange start;
    TBlockRange end;

    const REdoDodiStrings &store = *ed_.ActiveLines();
    const TCustomDodiStyler *styler = ed_.ActiveStyler();
    const int caretLine = caret.CaretLine;
    if (styler && store.Count() > 0 && caretLine >= 0 && caretLine < store.Count() && !styler->BlockOpener().empty() &&
        !styler->BlockCloser().empty()) {
        const std::vector<std::u32string> openers = WordList(styler->BlockOpener());
        const std::vector<std::u32string> closers = WordList(styler->BlockCloser());
        const int firstLine = std::min(view.TopLine, caretLine);
        const int lastLine =
            std::max(caretLine, std::min(store.Count() - 1, ed_.LineOfVisibleIndex(ed_.TopRow() + ed_.VisibleRows())));
        auto wordsOf = [&](int line) { return WordsOf(store.Get(line), openers, closers); };

        // Downwards from after (line, col): the closer that leaves `depth` open pairs.
        auto findCloser = [&](int fromLine, int afterCol, int depth) {
            for (int line = fromLine; line <= lastLine; ++line)
                for (const TBlockWord &w : wordsOf(line)) {
                    if (line == fromLine && w.Col <= afterCol)
                        continue;
                    if (w.Opener)
                        ++depth;
                    else if (depth-- == 0)
                        return TBlockRange{line, w.Col, w.Length};
                }
            return TBlockRange{};
        };
        auto findOpener = [&](int fromLine, int beforeCol, int depth) {
            for (int line = fromLine; line >= firstLine; --line) {
                const std::vector<TBlockWord> words = wordsOf(line);
                for (auto w = words.rbegin(); w != words.rend(); ++w) {
                    if (line == fromLine && w->Col >= beforeCol)
                        continue;
                    if (!w->Opener)
                        ++depth;
                    else if (depth-- == 0)
                        return TBlockRange{line, w->Col, w->Length};
                }
            }
            return TBlockRange{};
        };

        const std::vector<TBlockWord> own = wordsOf(caretLine);
        auto firstOf = [&](bool opener) {
            auto it =
                std::find_if(own.begin(), own.end(), [opener](const TBlockWord &w) { return w.Opener == opener; });
            return it == own.end() ? nullptr : &*it;
        };
        if (const TBlockWord *opener = firstOf(true)) {
            start = {caretLine, opener->Col, opener->Length};
            end = findCloser(caretLine, opener->Col, 0);
        } else if (const TBlockWord *closer = firstOf(false)) {
            end = {caretLine, closer->Col, closer->Length};
            start = findOpener(caretLine, closer->Col, 0);
        } else {
            end = findCloser(caretLine, -1, 0);
            start = findOpener(caretLine, INT_MAX, 0);
        }
        if (start.Line < 0 || end.Line < 0)
            start = end = {};
    }

    view.BlockStart = start;
    view.BlockEnd = end;
    if (!(oldStart == start && oldEnd == end)) {
        for (int line : {oldStart.Line, oldEnd.Line, start.Line, end.Line})
            InvalidateRow(line);
    }
}

} // namespace tarnwick
