// UTF-8 helpers: code point counting and slicing, validation, and the
// Windows-1252 fallback of plain-text loading.
#include "editor/base/utf8.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarnwick;

TEST(Utf8Columns, LengthCountsCodePoints)
{
    EXPECT_EQ(utf8::Length(""), 0);
    EXPECT_EQ(utf8::Length("abc"), 3);
    EXPECT_EQ(utf8::Length("caf\xC3\xA9"), 4);
    EXPECT_EQ(utf8::Length("\xF0\x9F\x98\x80x"), 2);
    // Against a byte-at-a-time count, on random bytes of every kind and at
    // every offset from a word's start.
    std::mt19937 rng(3);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(rng() % 40, '\0');
        for (char &c : bytes)
            c = static_cast<char>(rng() % 3 == 0 ? rng() : rng() % 128);
        int expected = 0;
        for (unsigned char c : bytes)
            expected += (c & 0xC0) != 0x80;
        ASSERT_EQ(utf8::Length(bytes), expected);
    }
}

TEST(Utf8Columns, SlicingByColumns)
{
    const std::string s = "a\xC3\xA9\xE2\x82\xAC"
                          "b";
    EXPECT_EQ(utf8::ByteOffset(s, 2), 3u);
    EXPECT_EQ(utf8::ByteOffset(s, 10), s.size());
    EXPECT_EQ(utf8::Mid(s, 1, 2), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(utf8::Left(s, 1), "a");
    EXPECT_EQ(utf8::From(s, 3), "b");
    EXPECT_EQ(utf8::At(s, 2), U'\u20AC');
    EXPECT_EQ(utf8::At(s, 9), 0u);
}

TEST(Utf8Columns, EncodeRoundTripsThroughAt)
{
    for (char32_t cp : {U'A', U'\u00E9', U'\u20AC', U'\U0001F600'})
        EXPECT_EQ(utf8::At(utf8::Encode(cp), 0), cp);
}

TEST(Utf8Decoding, ValidationRejectsMalformedSequences)
{
    EXPECT_TRUE(utf8::IsValid("plain"));
    EXPECT_TRUE(utf8::IsValid("\xE2\x82\xAC"));
    EXPECT_FALSE(utf8::IsValid("\xE9"));         // lone Latin-1 byte
    EXPECT_FALSE(utf8::IsValid("\xC0\xAF"));     // overlong
    EXPECT_FALSE(utf8::IsValid("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(utf8::IsValid("\xE2\x82"));     // truncated
}

TEST(Utf8Decoding, Windows1252MapsEveryByte)
{
    EXPECT_EQ(utf8::FromWindows1252("\x80\x9F\xA0\xFF"), "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF");
    // Unassigned 0x81 keeps its number rather than vanishing.
    EXPECT_EQ(utf8::FromWindows1252("\x81"), "\xC2\x81");
}

TEST(Utf8Decoding, PlainTextDropsBomOnlyFromUtf8)
{
    EXPECT_EQ(utf8::DecodePlainText("\xEF\xBB\xBFx"), "x");
    EXPECT_EQ(utf8::DecodePlainText("\xEF\xBB\xBF\xE9"), "\xC3\xAF\xC2\xBB\xC2\xBF\xC3\xA9");
}
