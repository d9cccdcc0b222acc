// Lines read in pieces, with a head put before them at the end, are the lines
// the store reads from the whole text: random texts of every kind of line
// break, cut anywhere (a CR LF pair included).
#include "editor/document/line_reader.h"
#include "editor/document/line_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tarnwick;

TEST(LineReader, PiecesAndAHeadGiveTheLinesOfTheWholeText)
{
    std::mt19937 rng(7);
    const char *const kBits[] = {"a", "bc", "\xC3\xA9", "\r", "\n", "\r\n", "\t", " "};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int bits = static_cast<int>(rng() % 40);
        for (int i = 0; i < bits; ++i)
            text += kBits[rng() % std::size(kBits)];

        REdoDodiStrings whole;
        whole.LoadFromString(text);

        // Head, middle in random pieces, tail: as an open assembles a text.
        const size_t headEnd = text.empty() ? 0 : rng() % (text.size() + 1);
        const size_t tailStart = headEnd + (text.size() == headEnd ? 0 : rng() % (text.size() - headEnd + 1));
        TLineReader reader(0, rng() % 4);
        for (size_t at = headEnd; at < tailStart;) {
            const size_t n = std::min<size_t>(1 + rng() % 5, tailStart - at);
            reader.Append(std::string_view(text).substr(at, n));
            at += n;
        }
        reader.Prepend(std::string_view(text).substr(0, headEnd));
        reader.Append(std::string_view(text).substr(tailStart));
        REdoDodiStrings pieces;
        pieces.LoadLines(reader.Finish());
        ASSERT_EQ(pieces.ToVector(), whole.ToVector()) << "round " << round;
        ASSERT_TRUE(pieces.CheckInvariants());
    }
}

TEST(LineReader, ExpandsTabsAsAnEditorsStoreDoes)
{
    TLineReader reader(4);
    reader.Append("a\tb\r\n\t");
    reader.Append("\tc");
    const std::vector<REdoDodiStrings::TStoredLine> lines = reader.Finish();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, "a    b");
    EXPECT_EQ(lines[1].Text, "        c");
}
