// Word moves, End, the enhanced Home and deleting the word left on long lines
// (where columns come from the line's index) against the rules walked over
// the whole decoded line, from random caret columns, among one- to four-byte
// characters and the XML styler's delimiters.
#include "editor/highlight/xml_styler.h"
#include "support/editing_fixture.h"

#include <random>

namespace tarnwick::test {
namespace {

std::u32string Decode(std::string_view s)
{
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

class LongLineKeys : public EditingFixture {
protected:
    LongLineKeys()
    {
        ed.SetSyntaxStyles(&styler);
        for (const auto &style : styler.AllStyles())
            if (style->StyleType() == stSymbol && delimiters.empty())
                delimiters = Decode(style->Symbols());
    }

    void RandomLine()
    {
        static const char *const kParts[] = {
            "ab", "c", " ", "  ", "=", "<", "/", ">", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "#", "x"};
        std::string s;
        while (s.size() < 9000)
            s += kParts[rng() % std::size(kParts)];
        SetText({"first", s + "   ", "last"});
        line = Decode(Line(1));
    }

    int AnyColumn(int from = 0) { return from + static_cast<int>(rng() % (line.size() + 1 - from)); }
    bool Delimiter(char32_t c) const { return delimiters.find(c) != std::u32string::npos; }
    int Trimmed() const
    {
        int n = static_cast<int>(line.size());
        while (n > 0 && line[n - 1] <= U' ')
            --n;
        return n;
    }

    TDodiXMLStyler styler;
    std::u32string delimiters;
    std::u32string line;
    std::mt19937 rng{19};
};

TEST_F(LongLineKeys, MovesAndDeletionsFollowTheRulesOverTheWholeLine)
{
    for (int round = 0; round < 40; ++round) {
        RandomLine();
        const int n = Trimmed();
        for (int k = 0; k < 10; ++k) {
            // Ctrl+Left: one left, then back to just after a delimiter that no space follows.
            const int left = AnyColumn(1);
            Place(left, 1);
            Key(VK_LEFT, {ssCtrl});
            int col = left - 1;
            while (col > 0 && col <= n && !(Delimiter(line[col - 1]) && (col < n ? line[col] : 0) != U' '))
                --col;
            ASSERT_EQ(Caret(), (TCaretPos{col, 1})) << "Ctrl+Left from " << left;

            // Ctrl+Right: on to just after a delimiter that no space follows,
            // or to the next line past the text.
            const int right = AnyColumn();
            Place(right, 1);
            Key(VK_RIGHT, {ssCtrl});
            col = right + 1;
            while (col < n && (!Delimiter(line[col - 1]) || line[col] == U' '))
                ++col;
            const TCaretPos expected = col > n ? TCaretPos{0, 2} : TCaretPos{col, 1};
            ASSERT_EQ(Caret(), expected) << "Ctrl+Right from " << right;

            // End: before the trailing blanks. Enhanced Home: back to where a
            // blank-separated word starts.
            Place(AnyColumn(), 1);
            Key(VK_END);
            ASSERT_EQ(Caret(), (TCaretPos{n, 1}));
            const int home = AnyColumn(1);
            Place(home, 1);
            ed.SetEnhancedHomeKey(true);
            Key(VK_HOME);
            ed.SetEnhancedHomeKey(false);
            const int length = static_cast<int>(line.size());
            int p = std::min(home - 1, length);
            while (p > 0 && !(line[p - 1] == U' ' && !(p < length && line[p] == U' ')))
                --p;
            ASSERT_EQ(Caret(), (TCaretPos{std::max(0, p), 1})) << "Home from " << home;
        }
        // Ctrl+Backspace: the characters back to a space go, in one undo.
        const std::string before = Line(1);
        const int from = AnyColumn(1);
        Place(from, 1);
        Key(VK_BACK, {ssCtrl});
        int start = from - 1;
        while (start > 0 && line[start - 1] != U' ')
            --start;
        ASSERT_EQ(Caret(), (TCaretPos{start, 1})) << "Ctrl+Backspace from " << from;
        ASSERT_EQ(Decode(Line(1)), line.substr(0, start) + line.substr(from));
        ed.Undo();
        ASSERT_EQ(Line(1), before);
        ASSERT_EQ(Caret(), (TCaretPos{from, 1}));
    }
}

} // namespace
} // namespace tarnwick::test
