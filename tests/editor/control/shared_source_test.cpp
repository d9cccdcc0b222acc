// Shared text sources and checkers: editors switching between sources and
// sharing one, a checker's typing hooks and corrections, and the background
// checker's underlines as the text is edited.
#include "editor/control/background_checker.h"
#include "editor/control/redodi_source.h"
#include "editor/highlight/styler.h"
#include "support/editing_fixture.h"

#include <chrono>
#include <condition_variable>
#include <thread>

namespace tarnwick::test {
namespace {

using Lines = std::vector<std::string>;

class SharedSource : public EditingFixture {
protected:
    Lines Shown() const { return ed.ActiveLines()->ToVector(); }
};

TEST_F(SharedSource, EachSourceKeepsItsTextAndUndoAcrossSwitches)
{
    REdoDodiSource a, b;
    a.SetLines({"alpha"});
    b.SetLines({"beta"});
    ed.SetMemoSource(&a);
    EXPECT_EQ(Shown(), (Lines{"alpha"}));
    Place(5, 0);
    Type(U"!");
    ed.SetMemoSource(&b);
    EXPECT_EQ(Shown(), (Lines{"beta"}));
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
    Type(U"?");
    ed.SetMemoSource(&a);
    EXPECT_EQ(Shown(), (Lines{"alpha!"}));
    EXPECT_EQ(Caret(), (TCaretPos{0, 0}));
    ed.Undo();
    EXPECT_EQ(Shown(), (Lines{"alpha"})) << "A's own history";
    EXPECT_EQ(b.Lines()->ToVector(), (Lines{"?beta"}));
    ed.SetMemoSource(nullptr);
    EXPECT_EQ(Shown(), (Lines{""})) << "the editor's own text again";
}

TEST_F(SharedSource, ViewStateBookmarksAndReadOnlyTravelWithTheSource)
{
    REdoDodiSource source;
    source.SetLines({"one two", "three"});
    source.SetReadOnly(true);
    ed.SetMemoSource(&source);
    EXPECT_TRUE(ed.ReadOnly());
    ed.SetReadOnly(false);
    Select({1, 0}, {3, 1});
    ed.Bookmarks().Slots.Set(4, 1);
    ed.SetMemoSource(nullptr);
    EXPECT_FALSE(source.ReadOnly()) << "taken back from the editor";
    EXPECT_EQ(source.ViewState().SelEnd, (TCaretPos{3, 1}));
    EXPECT_EQ(source.Bookmarks()[4], 1);
    source.SetReadOnly(true);
    ed.SetMemoSource(&source);
    EXPECT_TRUE(ed.ReadOnly());
    EXPECT_EQ(ed.CaretState().SelStart, (TCaretPos{1, 0})) << "the selection comes back";
    EXPECT_EQ(ed.Bookmarks().Slots[4], 1);
}

TEST_F(SharedSource, ASourceMovesToTheEditorThatTakesItAndOutlivesWhatItNames)
{
    REdoDodi other(&host);
    auto source = std::make_unique<REdoDodiSource>();
    auto styler = std::make_unique<TCustomDodiStyler>();
    source->SetLines({"shared"});
    source->SetSyntaxStyler(styler.get());
    ed.SetMemoSource(source.get());
    other.SetMemoSource(source.get());
    EXPECT_EQ(source->Editor(), &other);
    EXPECT_EQ(ed.MemoSource(), source.get()) << "the first editor keeps reading it";
    uint16_t key = 'X';
    other.KeyDown(key, {});
    char32_t x = U'x';
    other.KeyPress(x);
    EXPECT_EQ(ed.ActiveLines()->Get(0), "xshared");
    EXPECT_EQ(other.ActiveStyler(), styler.get());
    styler.reset();
    EXPECT_EQ(source->SyntaxStyler(), nullptr);
    EXPECT_EQ(other.ActiveStyler(), nullptr);
    source.reset();
    EXPECT_EQ(other.MemoSource(), nullptr);
    EXPECT_EQ(ed.MemoSource(), nullptr);
    EXPECT_EQ(other.ActiveLines(), other.Lines());
}

// Upper-cases every word it is shown.
class UpperCaser : public REdoDodiChecker {
public:
    void CorrectWord(int, int, std::string &word) override
    {
        for (char &c : word)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
};

class Checkers : public EditingFixture {};

TEST_F(Checkers, TheHooksRunAsTheCheckModeSays)
{
    REdoDodiChecker lines;
    lines.SetCheckMode(REdoDodiChecker::LineCheck);
    ed.SetMemoChecker(&lines);
    EXPECT_EQ(lines.Editor(), &ed);
    SetText({"abc"});
    ed.Lines()->EnsureLineProp(0)->EnsureUnderlineRanges().Starts.Add(0);
    ed.Lines()->LinePropOf(0)->UnderlineRanges->Lengths.Add(3);
    Place(3, 0);
    Enter();
    EXPECT_FALSE(ed.Lines()->LinePropOf(0)->HasUnderlines()) << "the line left is checked";

    UpperCaser words;
    words.SetCheckMode(REdoDodiChecker::WordCorrection);
    ed.SetMemoChecker(&words);
    EXPECT_EQ(lines.Editor(), nullptr) << "a checker let go of forgets the editor";
    SetText({""});
    Type(U"ab cd ");
    EXPECT_EQ(Line(0), "AB CD ");
    ed.Undo(); // the space
    ed.Undo(); // the correction
    EXPECT_EQ(Line(0), "AB cd") << "each correction undoes on its own";
}

TEST_F(Checkers, ACheckerOutlivedByItsEditorOrTheOtherWayRound)
{
    auto checker = std::make_unique<REdoDodiChecker>();
    {
        REdoDodi gone(&host);
        gone.SetMemoChecker(checker.get());
    }
    EXPECT_EQ(checker->Editor(), nullptr);
    ed.SetMemoChecker(checker.get());
    checker.reset();
    EXPECT_EQ(ed.MemoChecker(), nullptr);
}

// Marks every "bad" with its line's number in the message; can be held at
// its start until released.
class Background : public EditingFixture {
protected:
    Background()
        : checker([this](TTextStream &stream, const std::atomic<bool> &cancel) {
              {
                  std::unique_lock lock(gate);
                  opened.wait(lock, [this] { return !held; });
              }
              const std::string text = stream.ReadAll(cancel);
              std::vector<TBackgroundChecker::TMark> marks;
              int line = 0;
              size_t start = 0;
              for (size_t brk; (brk = text.find('\n', start)) != std::string::npos; start = brk + 1, ++line)
                  if (const size_t at = text.substr(start, brk - start).find("bad"); at != std::string::npos)
                      marks.push_back({line, static_cast<int>(at), 3, "bad on " + std::to_string(line)});
              return marks;
          })
    {
        checker.SetPause(0); // the test says when the pause is over
        ed.SetMemoChecker(&checker);
    }
    ~Background() override { Release(); }

    // The pause ends: the text is copied and checked; the result is taken.
    void AfterPause()
    {
        ASSERT_TRUE(host.FireTimer(TBackgroundChecker::kPauseTimerId));
        checker.WaitForWorker();
        host.FireTimer(TBackgroundChecker::kWorkTimerId);
    }
    Lines Underlined() const
    {
        Lines found;
        for (int line = 0; line < ed.Lines()->Count(); ++line)
            if (const TLineProp *p = ed.Lines()->LinePropOf(line); p && p->HasUnderlines())
                found.push_back(std::to_string(line) + ":" + std::to_string(p->UnderlineRanges->Starts[0]));
        return found;
    }
    void Release()
    {
        {
            std::lock_guard lock(gate);
            held = false;
        }
        opened.notify_all();
    }

    std::mutex gate;
    std::condition_variable opened;
    bool held = false;
    TBackgroundChecker checker;
};

TEST_F(Background, TheUnderlineAppearsMovesWithItsLineAndGoesWhenFixed)
{
    SetText({"good", "a bad one"});
    AfterPause();
    EXPECT_EQ(Underlined(), (Lines{"1:2"}));
    std::string hint;
    EXPECT_TRUE(checker.HintAt(1, 3, hint));
    EXPECT_EQ(hint, "bad on 1");
    const int w = ed.CharWidth(), h = ed.LineHeight();
    EXPECT_TRUE(ed.HintAt(ed.TextArea().left + 3 * w + 1, ed.TextArea().top + h + 1, hint)) << "the hover hint";

    Place(0, 0);
    Enter();
    EXPECT_EQ(Underlined(), (Lines{"2:2"})) << "the mark follows its line before the next check";
    AfterPause();
    EXPECT_EQ(Underlined(), (Lines{"2:2"}));
    Place(2, 2);
    Key(VK_DELETE);
    AfterPause();
    EXPECT_EQ(Underlined(), Lines{});
    EXPECT_FALSE(checker.HintAt(2, 3, hint));
}

TEST_F(Background, AResultForATextThatChangedMeanwhileIsDropped)
{
    SetText({"bad"});
    held = true;
    ASSERT_TRUE(host.FireTimer(TBackgroundChecker::kPauseTimerId));
    EXPECT_TRUE(checker.Busy());
    Place(0, 0);
    Type(U"x ");
    Release();
    checker.WaitForWorker();
    host.FireTimer(TBackgroundChecker::kWorkTimerId);
    EXPECT_EQ(Underlined(), Lines{}) << "the text it checked is gone";
    EXPECT_TRUE(host.Timers[TBackgroundChecker::kPauseTimerId].Running) << "the next check is waiting";
    AfterPause();
    EXPECT_EQ(Underlined(), (Lines{"0:2"}));
}

// The text reaches the check no faster than it reads it: while the check
// waits, no more than a few slices are copied, so a long text is never held
// twice, be it many lines or one; once it reads, the rest follows and the
// mark lands on its line.
TEST_F(Background, ALongTextIsHandedOverAsTheCheckReadsIt)
{
    const size_t bytes = 4 * TBackgroundChecker::kQueuedBytes;
    std::vector<std::string> manyLines(bytes / 100, std::string(99, 'g'));
    manyLines.back() = "a bad end";
    const std::vector<std::string> oneLine{std::string(bytes, 'g') + " bad"};
    for (const std::vector<std::string> &text : {manyLines, oneLine}) {
        SetText(text);
        held = true;
        ASSERT_TRUE(host.FireTimer(TBackgroundChecker::kPauseTimerId));
        for (int turn = 0; turn < 20; ++turn)
            host.FireTimer(TBackgroundChecker::kWorkTimerId);
        EXPECT_TRUE(checker.Copying()) << "most of the text waits for the check to read";
        Release();
        for (int turn = 0; turn < 10000 && checker.Copying(); ++turn) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            host.FireTimer(TBackgroundChecker::kWorkTimerId);
        }
        checker.WaitForWorker();
        host.FireTimer(TBackgroundChecker::kWorkTimerId);
        const int last = static_cast<int>(text.size()) - 1;
        EXPECT_EQ(Underlined(), (Lines{std::to_string(last) + ":" + std::to_string(text.back().find("bad"))}));
    }
}

} // namespace
} // namespace tarnwick::test
