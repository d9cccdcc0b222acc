// ClassifyLeadingBytes on the byte patterns it knows.
#include "xml/leading_bytes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tarnwick::xml {
namespace {

std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

TEST(ClassifyLeadingBytes, OneByteDeclaration) { EXPECT_EQ(ClassifyLeadingBytes("<?xml version=\"1.0\"?>"), 11); }

TEST(ClassifyLeadingBytes, NothingFoundInShortOrPlainText)
{
    EXPECT_EQ(ClassifyLeadingBytes("<a/>"), 0);
    EXPECT_EQ(ClassifyLeadingBytes("<?x"), 0);
    EXPECT_EQ(ClassifyLeadingBytes(""), 0);
}

TEST(ClassifyLeadingBytes, Utf8ByteOrderMark) { EXPECT_EQ(ClassifyLeadingBytes("\xEF\xBB\xBF<a/>"), 7); }

TEST(ClassifyLeadingBytes, Utf16LittleEndianWithMarkIsFoundAtOffsetTwo)
{
    EXPECT_EQ(ClassifyLeadingBytes(B({0xFF, 0xFE, '<', 0, '?', 0, 'x', 0})), 10);
}

TEST(ClassifyLeadingBytes, Utf16BigEndianWithoutMark)
{
    EXPECT_EQ(ClassifyLeadingBytes(B({0, '<', 0, '?', 0, 'x', 0, 'm'})), 9);
}

TEST(ClassifyLeadingBytes, Ucs4Marks)
{
    EXPECT_EQ(ClassifyLeadingBytes(B({0, 0, 0xFE, 0xFF, 0, 0, 0, '<'})), 1);
    EXPECT_EQ(ClassifyLeadingBytes(B({0xFF, 0xFE, 0, 0, '<', 0, 0, 0})), 2);
    EXPECT_EQ(ClassifyLeadingBytes(B({0, 0, 0xFF, 0xFE, 0, 0, 0, 0})), 3);
    EXPECT_EQ(ClassifyLeadingBytes(B({0xFE, 0xFF, 0, 0, 0, 0, 0, 0})), 4);
}

TEST(ClassifyLeadingBytes, Ucs4WithoutMark)
{
    EXPECT_EQ(ClassifyLeadingBytes(B({0, 0, 0, '<', 0, 0, 0, '?'})), 1);
    EXPECT_EQ(ClassifyLeadingBytes(B({'<', 0, 0, 0, '?', 0, 0, 0})), 2);
    EXPECT_EQ(ClassifyLeadingBytes(B({0, 0, 0, '<', '<', 0, 0, 0, 0, 0, '<', 0, 0, '<', 0, 0})), 8);
}

// The four-byte test runs first at offsets 2 mod 4 and knows the same two
// patterns, so it is the one that answers.
TEST(ClassifyLeadingBytes, MarksAtOffsetTwoAreAnsweredByTheFourByteTest)
{
    EXPECT_EQ(ClassifyLeadingBytes(B({'a', 'b', 0xFE, 0xFF, 0, 0})), 4);
    EXPECT_EQ(ClassifyLeadingBytes(B({'a', 'b', 0xFF, 0xFE, 0, 0})), 2);
}

TEST(ClassifyLeadingBytes, Ebcdic) { EXPECT_EQ(ClassifyLeadingBytes(B({0x4C, 0x6F, 0xA7, 0x94})), 12); }

TEST(ClassifyLeadingBytes, StreamPositionIsRestored)
{
    std::istringstream in("xx<?xml version=\"1.0\"?>");
    in.seekg(2);
    EXPECT_EQ(ClassifyLeadingBytes(in), 11);
    EXPECT_EQ(in.tellg(), std::streampos(2));
}

} // namespace
} // namespace tarnwick::xml
