// Checkpoints inside long lines, on the tokenizer and the line store alone:
// through random edits at, just before, just after and away from a
// checkpoint, every stretch painted from the checkpoints has the colours of
// the same columns in a fresh tokenisation of the whole line, and the state
// the line leaves to the next one is a fresh scan's. XML's rules and the
// rules of other stylers (checkpoints where URL pieces start) alike.
#include "editor/base/utf8.h"
#include "editor/document/line_store.h"
#include "editor/highlight/tokenizer.h"
#include "editor/highlight/xml_styler.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

// Pieces of XML and of text that is not quite XML, with one- to four-byte
// characters, addresses, numbers and the styler's keywords.
const char *const kFragments[] = {
    "<book id=\"bk0001\" lang='en'>",
    "</book>",
    "<title>Na\xC3\xAFve \xE2\x82\xAC 12.5.6 val</title>",
    " text with \xF0\x9F\x98\x80 and spaces ",
    "<!-- a comment -->",
    "<![CDATA[ <not> a tag ]]>",
    "<?pi data \"q\" ?>",
    " http://example.com/a?b=c ",
    "www.example.org<i/>",
    "<!DOCTYPE x [ <!ENTITY a \"b\"> ]>",
    "encoding=\"UTF-8\" ",
    "\"",
    "'",
    ">",
    "<",
    "<!--",
    "-->",
    "// not a comment in XML",
    "<a href='mailto:x@y.z'>0x1F</a>",
};

std::string Fragment(std::mt19937 &rng)
{
    std::uniform_int_distribution<size_t> pick(0, std::size(kFragments) - 1);
    return kFragments[pick(rng)];
}

// A line of tags and text with a long comment and a long run of text, so
// that stretches without markup hold checkpoints too.
std::string LongLine(std::mt19937 &rng)
{
    std::string s;
    while (s.size() < 20000)
        s += Fragment(rng);
    s += "<!--" + std::string(7000, 'c') + "-->";
    s += "<p>" + std::string(6000, 't') + " \xC3\xA9t\xC3\xA9</p>";
    while (s.size() < 40000)
        s += Fragment(rng);
    return s;
}

// The state of every column a tokenizer hands on.
class ColumnStates {
public:
    explicit ColumnStates(TLineTokenizer &t)
    {
        t.OnRun = [this](int column, std::string_view text, const RunState &state) {
            const int n = utf8::Length(text);
            for (int k = 0; k < n; ++k)
                states[column + k] = state;
        };
    }
    std::map<int, RunState> states;
};

class LongLineTokens : public ::testing::TestWithParam<bool> {
protected:
    LongLineTokens()
    {
        xml.SetMarkupSyntax(GetParam());
        if (!GetParam())
            AddElementStyle(xml.AllStyles(), "", stBracket, clBlack, {}).SetBrackets(U'>', U'<');
        tokenizer.Prepare({&xml, true, false, true});
        lines.AddStrings(std::vector<std::string>{"<root attr=\"1\">", LongLine(rng), "<c>"});
    }

    // Paints columns [from, to) of the long line from its checkpoints and
    // compares them with a fresh tokenisation of the whole line.
    void ExpectStretch(int from, int to, const char *what)
    {
        const std::string &text = lines[1];
        TLineTokenizer fresh;
        fresh.Prepare({&xml, true, false, true});
        ColumnStates expected(fresh);
        RunState start = StartOfLongLine(fresh);
        RunState freshEnd = start;
        fresh.TokenizeText(text, freshEnd);

        ColumnStates got(tokenizer);
        RunState state = tokenizer.ComputeTopState(lines, lines.StateTracker(), 1);
        tokenizer.TokenizeColumns(lines, 1, state, from, to);
        const int length = utf8::Length(text);
        for (int c = std::max(from, 0); c < std::min(to, length); ++c) {
            ASSERT_TRUE(got.states.count(c)) << what << ": column " << c << " of " << from << ".." << to;
            ASSERT_EQ(got.states[c], expected.states[c]) << what << ": column " << c << " of " << from << ".." << to;
        }
        // The carried state after the line is the same by either road.
        ASSERT_EQ(state, tokenizer.StateAfterLine(lines, 1, start)) << what;
    }

    RunState StartOfLongLine(TLineTokenizer &t)
    {
        RunState start;
        t.TokenizeText(lines[0], start);
        return start;
    }

    // The state the next line starts with, against a fresh store and tokenizer.
    void ExpectNextLineState(const char *what)
    {
        REdoDodiStrings copy;
        copy.AddStrings(lines.ToVector());
        TLineTokenizer fresh;
        fresh.Prepare({&xml, true, false, true});
        ASSERT_EQ(tokenizer.ComputeTopState(lines, lines.StateTracker(), 2),
                  fresh.ComputeTopState(copy, copy.StateTracker(), 2))
            << what;
    }

    // A byte to edit at, relative to a checkpoint: on it, just before or
    // after it, or anywhere.
    size_t EditPlace(const char *&what)
    {
        const TLineScanPoints *points = lines.ScanPointsOf(1);
        const std::string &text = lines[1];
        std::uniform_int_distribution<int> kind(0, 5);
        size_t at = std::uniform_int_distribution<size_t>(0, text.size())(rng);
        what = "anywhere";
        if (points && !points->Points().empty()) {
            const auto &all = points->Points();
            const size_t p = all[std::uniform_int_distribution<size_t>(0, all.size() - 1)(rng)].Byte;
            switch (kind(rng)) {
            case 0:
                at = p, what = "at a checkpoint";
                break;
            case 1:
                at = p - std::min<size_t>(p, 1 + rng() % 3), what = "just before a checkpoint";
                break;
            case 2:
                at = p - std::min<size_t>(p, 80 + rng() % 200), what = "before a checkpoint";
                break;
            case 3:
                at = std::min(text.size(), p + 1 + rng() % 3), what = "just after a checkpoint";
                break;
            default:
                break;
            }
        }
        while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            --at;
        return at;
    }

    void Edit(size_t at)
    {
        const std::string &text = lines[1];
        size_t length = std::uniform_int_distribution<size_t>(0, 12)(rng);
        length = std::min(length, text.size() - at);
        while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
            ++length;
        switch (rng() % 3) {
        case 0:
            lines.ReplaceText(1, at, 0, Fragment(rng));
            break;
        case 1:
            lines.ReplaceText(1, at, length, "");
            break;
        default:
            lines.ReplaceText(1, at, length, Fragment(rng));
            break;
        }
    }

    std::mt19937 rng{GetParam() ? 1200u : 1201u};
    TDodiXMLStyler xml;
    TLineTokenizer tokenizer;
    REdoDodiStrings lines;
};

TEST_P(LongLineTokens, StretchesPaintedFromCheckpointsMatchAFreshTokenisationThroughEdits)
{
    // Far into the line first: the checkpoints up to there are made then.
    ExpectStretch(30000, 30100, "first paint");
    ExpectStretch(0, 100, "line start");
    ExpectNextLineState("before edits");
    for (int step = 0; step < 80; ++step) {
        const char *what = nullptr;
        const size_t at = EditPlace(what);
        Edit(at);
        const int column = utf8::Length(std::string_view(lines[1]).substr(0, at));
        ExpectStretch(column - 60, column + 60, what);
        // Painting starts from the first checkpoints after the edit.
        for (const TScanPoint &point : lines.ScanPointsOf(1)->Points())
            if (point.Byte > at + 8) {
                const int pointColumn = lines.ColumnOfByte(1, point.Byte);
                ExpectStretch(pointColumn, pointColumn + 80, what);
                break;
            }
        if (step % 4 == 0) {
            const int length = utf8::Length(lines[1]);
            const int anywhere = std::uniform_int_distribution<int>(0, length)(rng);
            ExpectStretch(anywhere, anywhere + 110, what);
            ExpectStretch(length - 50, length + 10, what);
        }
        ExpectNextLineState(what);
    }
}

TEST_P(LongLineTokens, EditsAboveTheLineAndSettingChangesStartItsCheckpointsAfresh)
{
    ExpectStretch(20000, 20100, "first paint");
    // The long line now starts inside a comment.
    lines.Put(0, "<root> <!-- open");
    ExpectStretch(20000, 20100, "line above opens a comment");
    ExpectNextLineState("line above opens a comment");
    lines.Put(0, "<root>");
    // The styler changes: what attaching a changed styler does.
    AddElementStyle(xml.AllStyles(), "", stSymbol, clRed, {}).SetSymbols("!");
    lines.InvalidateStateCaches();
    tokenizer.Prepare({&xml, true, false, true});
    ExpectStretch(20000, 20100, "styler changed");
    ExpectNextLineState("styler changed");
}

TEST_P(LongLineTokens, TheAddressUnderACharacterIsTheOneASplitOfTheWholeLineGives)
{
    const std::string &text = lines[1];
    std::vector<std::string> owner(text.size());
    size_t at = 0;
    for (const std::string &piece : tokenizer.SplitUrlPieces(text)) {
        for (size_t k = 0; k < piece.size(); ++k)
            owner[at + k] = TLineTokenizer::IsUrl(piece) ? piece : std::string();
        at += piece.size();
    }
    ASSERT_EQ(at, text.size());
    for (size_t byte = 0; byte < text.size(); byte += 1 + rng() % 7)
        ASSERT_EQ(tokenizer.UrlAt(text, byte), owner[byte]) << "byte " << byte;
    EXPECT_EQ(tokenizer.UrlAt(text, text.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Rules, LongLineTokens, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "Xml" : "AnyStyler"; });

} // namespace
} // namespace tarnwick
