// The line reader and the store's file text against the text they came from:
// random texts of every kind of line break, cut anywhere (a CR LF pair
// included), give the same lines, and the store writes the text back byte
// for byte.
#include "editor/document/line_reader.h"
#include "editor/document/line_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tarnwick;

namespace {

std::string RandomText(std::mt19937 &rng)
{
    const char *const kBits[] = {"a", "bc", "\xC3\xA9", "\r", "\n", "\r\n", "\t", " "};
    std::string text;
    const int bits = static_cast<int>(rng() % 40);
    for (int i = 0; i < bits; ++i)
        text += kBits[rng() % std::size(kBits)];
    return text;
}

} // namespace

TEST(LineReader, PiecesGiveTheLinesAndBreaksOfTheWholeText)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 1000; ++round) {
        const std::string text = RandomText(rng);
        REdoDodiStrings whole;
        whole.LoadFromString(text);
        ASSERT_EQ(whole.FileText(), text) << "round " << round;

        TLineReader reader(rng() % 4);
        for (size_t at = 0; at < text.size();) {
            const size_t n = std::min<size_t>(1 + rng() % 5, text.size() - at);
            reader.Append(std::string_view(text).substr(at, n));
            at += n;
        }
        REdoDodiStrings pieces;
        pieces.LoadLines(reader.Finish());
        ASSERT_EQ(pieces.ToVector(), whole.ToVector()) << "round " << round;
        ASSERT_EQ(pieces.FileText(), text) << "round " << round;
        ASSERT_EQ(pieces.LineEndStyle(), whole.LineEndStyle());
        ASSERT_TRUE(pieces.CheckInvariants());
    }
}

TEST(LineReader, TheStyleIsTheBreakMostLinesEndWithAndTabsStay)
{
    REdoDodiStrings store;
    store.LoadFromString("a\r\n\tb\r\nc\nd");
    EXPECT_EQ(store.LineEndStyle(), leCRLF);
    EXPECT_FALSE(store.FinalLineEnd());
    EXPECT_TRUE(store.MixedLineEnds());
    EXPECT_EQ(store[1], "\tb");
    // New lines take the style; the unended last line stays unended.
    store.Insert(3, "x");
    EXPECT_EQ(store.FileText(), "a\r\n\tb\r\nc\nx\r\nd");

    store.LoadFromString("no break");
    EXPECT_EQ(store.LineEndStyle(), leLF);
    EXPECT_FALSE(store.MixedLineEnds());
    store.ConvertLineEnds(leCR);
    store.Add("y");
    EXPECT_EQ(store.FileText(), "no break\ry");
    EXPECT_TRUE(store.CheckInvariants());
}
