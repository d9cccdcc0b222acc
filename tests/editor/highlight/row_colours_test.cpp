// The colours of a row never depend on where painting starts: painting from
// the top and a view starting at any row (in the state computed for it from
// the cached line states) agree, under any styler's rules and XML's, while
// random edits change the lines above.
#include "editor/document/line_store.h"
#include "editor/highlight/xml_styler.h"
#include "painted_colours.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick {
namespace {

class RowColours : public ::testing::TestWithParam<bool> {
protected:
    RowColours()
    {
        xml.SetMarkupSyntax(GetParam());
        xml.SetStringEscape("\\");
        // The main window's text run between tags.
        AddElementStyle(xml.AllStyles(), "", stBracket, clBlack, {}).SetBrackets(U'>', U'<');
        tokenizer.Prepare({&xml, true, false, true});
        context.Styler = &xml;
    }

    // Every row from the top, as painting the whole document draws it.
    std::vector<std::vector<TRunColour>> FromTheTop()
    {
        std::vector<std::vector<TRunColour>> rows;
        RunState state;
        for (int l = 0; l < lines.Count(); ++l)
            rows.push_back(PaintLine(tokenizer, context, lines[l], state));
        return rows;
    }

    ::testing::AssertionResult SameFrom(int row, int count, const std::vector<std::vector<TRunColour>> &expected)
    {
        RunState state = tokenizer.ComputeTopState(lines, lines.StateTracker(), row);
        for (int l = row; l < std::min(row + count, lines.Count()); ++l)
            if (PaintLine(tokenizer, context, lines[l], state) != expected[l])
                return ::testing::AssertionFailure()
                       << "view from row " << row << " draws row " << l << " \"" << lines[l] << "\" differently";
        return ::testing::AssertionSuccess();
    }

    TDodiXMLStyler xml;
    TLineTokenizer tokenizer;
    TRunColourContext context;
    REdoDodiStrings lines;
};

TEST_P(RowColours, ClosedAndReopenedCommentOnOneLine)
{
    for (const char *line : {"<!-- a", "--><!--b<!--c", "<c>", "x --> <d e='1'>"})
        lines.Add(line);
    const auto expected = FromTheTop();
    for (int row = 0; row < lines.Count(); ++row)
        EXPECT_TRUE(SameFrom(row, lines.Count(), expected));
}

TEST_P(RowColours, AnyRowIsDrawnAsFromTheTopThroughRandomEdits)
{
    // Comment delimiters come often, so that they meet the other markup.
    const char *fragments[] = {"<!--",          "-->", "<!--", "-->", "<a>", "x",  "<![CDATA[", "]]>", "<?", "?>",
                               "<!DOCTYPE r [", "]>",  "\"",   "'",   " ",   "=1", "http://u/", "\\",  "<",  "]"};
    std::mt19937 random(2);
    auto randomLine = [&] {
        std::string line;
        for (int n = random() % 11; n > 0; --n)
            line += fragments[random() % std::size(fragments)];
        return line;
    };
    for (int i = 0; i < 300; ++i)
        lines.Add(randomLine());
    for (int step = 0; step < 600; ++step) {
        const int at = random() % lines.Count();
        switch (random() % 3) {
        case 0:
            lines.Put(at, randomLine());
            break;
        case 1:
            lines.Insert(at, randomLine());
            break;
        default:
            lines.Delete(at);
            break;
        }
        const auto expected = FromTheTop();
        for (int row = 0; row < lines.Count(); ++row)
            ASSERT_TRUE(SameFrom(row, 1, expected)) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(AnyStylersRulesAndXmls, RowColours, ::testing::Bool());

} // namespace
} // namespace tarnwick
