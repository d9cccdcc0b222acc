// Toggle Comment: the plan on plain lines (wrapping the selected lines,
// unwrapping the comment around the caret, refusing lines that hold "--"),
// toggling twice giving back the text over the sample documents, and Ctrl+/
// in the window as one undo step.
#include "app/comment_toggle.h"
#include "editor/base/utf8.h"
#include "editor/qt/dodi_widget.h"
#include "shell_fixture.h"

#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {

using tarnwick::TCaretPos;
using Lines = std::vector<std::string>;

LineReader Reader(const Lines &lines)
{
    return [&lines](int line) { return std::string_view(lines[line]); };
}

// The plan's pieces put into the lines.
Lines Apply(Lines lines, const CommentPlan &plan)
{
    for (const TextPiece &piece : plan.Pieces) {
        std::string &line = lines[piece.From.Line];
        const size_t from = tarnwick::utf8::ByteOffset(line, piece.From.Col);
        const size_t to = tarnwick::utf8::ByteOffset(line, piece.To.Col);
        line.replace(from, to - from, piece.Text);
    }
    return lines;
}

TEST(CommentPlan, WrapsTheSelectedLinesUnwrapsTheCommentAroundTheCaretRefusesDoubleHyphens)
{
    struct Case {
        Lines lines;
        TCaretPos anchor, caret;
        Lines result; // empty when nothing changes
    } const cases[] = {
        // The caret's line, after its indentation; the caret keeps its text.
        {{"<a>", "  <b/>", "</a>"}, {3, 1}, {3, 1}, {"<a>", "  <!-- <b/> -->", "</a>"}},
        // Lines selected; a selection ending at a line's start leaves that line out.
        {{"<a>", "  <b/>", "  <c/>", "</a>"}, {0, 1}, {0, 3}, {"<a>", "  <!-- <b/>", "  <c/> -->", "</a>"}},
        // The comment around the caret, from anywhere in it or at its edges.
        {{"<a>", "  <!-- <b/>", "  <c/> -->", "</a>"}, {5, 2}, {5, 2}, {"<a>", "  <b/>", "  <c/>", "</a>"}},
        {{"x <!--c--> y"}, {2, 0}, {2, 0}, {"x c y"}},
        {{"x <!--c--> y"}, {10, 0}, {10, 0}, {"x c y"}},
        // A line that is a comment alone, the caret in its indentation.
        {{"  <!-- <b/> -->"}, {0, 0}, {0, 0}, {"  <b/>"}},
        // Not inside the comment before the caret: the line is wrapped, unless it holds "--".
        {{"<!-- c -->", "<b>é</b>"}, {2, 1}, {2, 1}, {"<!-- c -->", "<!-- <b>é</b> -->"}},
        {{"<b/> <!-- c -->"}, {0, 0}, {0, 0}, {}},
        {{"<b>a--b</b>"}, {3, 0}, {3, 0}, {}},
        // Nothing to comment.
        {{"<a>", "   ", "</a>"}, {1, 1}, {1, 1}, {}},
    };
    for (const Case &c : cases) {
        const CommentPlan plan =
            PlanCommentToggle(Reader(c.lines), static_cast<int>(c.lines.size()), c.anchor, c.caret);
        const Lines result = Apply(c.lines, plan);
        EXPECT_EQ(result, c.result.empty() ? c.lines : c.result) << c.lines[c.caret.Line];
    }
}

// Each selection of lines of a sample document that holds no "--", wrapped and
// then toggled again with the selection the wrap left, gives the lines back;
// the wrapped lines are one comment.
TEST(CommentPlan, WrappingThenUnwrappingGivesTheLinesBack)
{
    std::mt19937 random(5);
    int tried = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/documents")) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!tarnwick::utf8::IsValid(text))
            continue;
        std::istringstream in(text);
        Lines lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(!line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
        if (lines.size() < 2)
            continue;
        for (int trial = 0; trial < 40; ++trial) {
            const int count = static_cast<int>(lines.size());
            const int first = std::uniform_int_distribution<int>(0, count - 1)(random);
            const int last = std::min(count - 1, first + trial % 4);
            const TCaretPos anchor{trial % 3, first};
            const TCaretPos caret{trial % 2 ? 0 : tarnwick::utf8::Length(lines[last]), trial % 2 ? last + 1 : last};
            if (caret.Line >= count)
                continue;
            const CommentPlan wrap = PlanCommentToggle(Reader(lines), count, anchor, caret);
            if (wrap.Kind != CommentPlan::cpWrap)
                continue;
            const Lines wrapped = Apply(lines, wrap);
            // A selection ending at a line's start (of an empty line too)
            // leaves that line out.
            const int wrappedLast = caret.Col == 0 && caret.Line > first ? caret.Line - 1 : last;
            std::string joined;
            for (int l = first; l <= wrappedLast; ++l)
                joined += wrapped[l] + "\n";
            const size_t open = joined.find("<!-- ");
            EXPECT_NE(open, std::string::npos);
            EXPECT_EQ(joined.find("-->"), joined.size() - 4) << joined;
            const CommentPlan unwrap = PlanCommentToggle(Reader(wrapped), count, wrap.Anchor, wrap.Caret);
            ASSERT_EQ(unwrap.Kind, CommentPlan::cpUnwrap) << joined;
            EXPECT_EQ(Apply(wrapped, unwrap), lines) << entry.path() << " lines " << first << "-" << last;
            ++tried;
        }
    }
    EXPECT_GT(tried, 50);
}

TEST_F(ShellTest, CtrlSlashCommentsTheSelectedLinesAndUncommentsThemEachOneUndoStep)
{
    tarnwick::REdoDodi &ed = window->Editor();
    ed.Lines()->SetText("<a>\r\n  <b/>\r\n  <c/>\r\n</a>\r\n");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->EditorWidget().setFocus();
    ed.SetCaretLine(1);
    ed.SetCaretCol(2);
    ed.CollapseSelection();
    QTest::keyClick(&window->EditorWidget(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&window->EditorWidget(), Qt::Key_Slash, Qt::ControlModifier);
    EXPECT_EQ(EditorText(), "<a>\r\n  <!-- <b/>\r\n  <c/> -->\r\n</a>\r\n");
    QTest::keyClick(&window->EditorWidget(), Qt::Key_Slash, Qt::ControlModifier);
    EXPECT_EQ(EditorText(), "<a>\r\n  <b/>\r\n  <c/>\r\n</a>\r\n");
    ed.Undo();
    EXPECT_EQ(EditorText(), "<a>\r\n  <!-- <b/>\r\n  <c/> -->\r\n</a>\r\n");
    ed.Undo();
    EXPECT_EQ(EditorText(), "<a>\r\n  <b/>\r\n  <c/>\r\n</a>\r\n");

    // Lines that hold "--" stay as they are, and the user is told why.
    messages.clear();
    ed.Lines()->SetText("<a>x--y</a>\r\n");
    window->Run(CommandId::ToggleComment);
    EXPECT_EQ(EditorText(), "<a>x--y</a>\r\n");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.indexOf(QStringLiteral("--")), -1);
}

} // namespace
