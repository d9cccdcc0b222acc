// The line store: loading and splitting, tab expansion, line lengths, the
// object slot, deletion rules, update brackets and change events, both
// free-standing and owned by an editor.
#include "editor/control/redodi.h"
#include "editor/document/line_cells.h"
#include "editor/document/line_store.h"
#include "support/editing_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace tarnwick;

namespace {

std::vector<std::string> Lines(const REdoDodiStrings &s) { return s.ToVector(); }

// LineLengths has one entry per line holding its length in code points.
void ExpectLengthsMatch(const REdoDodiStrings &s)
{
    EXPECT_TRUE(s.CheckInvariants());
    ASSERT_EQ(s.LineLengths().Count(), s.Count());
    for (int i = 0; i < s.Count(); ++i) {
        int n = 0;
        for (unsigned char c : s[i])
            n += (c & 0xC0) != 0x80;
        EXPECT_EQ(s.LineLengths()[i], n) << "line " << i;
    }
}

// The longest line measured afresh, in code points.
int TrueLongest(const REdoDodiStrings &s)
{
    int longest = 0;
    for (const std::string &line : s.ToVector())
        longest = std::max(longest, static_cast<int>(std::count_if(line.begin(), line.end(), [](char c) {
                               return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
                           })));
    return longest;
}

class RandomLines {
public:
    explicit RandomLines(uint32_t seed) : rng_(seed) {}
    int Upto(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n)(rng_); }
    // Mostly short lines and now and then a long one, with characters of
    // more than one byte, so that lengths in bytes and in code points differ.
    std::string Line()
    {
        static const char *const kPieces[] = {"a", "<b>", " ", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"};
        std::string s;
        for (int n = Upto(Upto(10) == 0 ? 40 : 8); n > 0; --n)
            s += kPieces[Upto(5)];
        return s;
    }
    std::vector<std::string> Block()
    {
        std::vector<std::string> block(Upto(4));
        for (std::string &l : block)
            l = Line();
        return block;
    }

private:
    std::mt19937 rng_;
};

} // namespace

TEST(LineStoreLoading, SplitsAtCrLfLoneCrAndLoneLf)
{
    REdoDodiStrings s;
    s.LoadFromString("x\r\ny");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"x", "y"}));
    s.LoadFromString("x\r\ny\r\n");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"x", "y"}));
    s.LoadFromString("x\ry\nz");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"x", "y", "z"}));
    s.LoadFromString("a\n\nb\r\r\n");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"a", "", "b", ""}));
}

TEST(LineStoreLoading, EmptyTextGivesNoLines)
{
    REdoDodiStrings s;
    s.Add("old");
    s.LoadFromString("");
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Text(), "");
}

TEST(LineStoreLoading, EmptyTextInEditorLeavesStoreEmpty)
{
    REdoDodi ed;
    ed.Lines()->LoadFromString("");
    EXPECT_EQ(ed.Lines()->Count(), 0);
    EXPECT_EQ(ed.CaretCol(), 0);
    EXPECT_EQ(ed.CaretLine(), 0);
}

TEST(LineStoreLoading, ValidUtf8IsKeptAndBomDropped)
{
    REdoDodiStrings s;
    s.LoadFromString("\xEF\xBB\xBF"
                     "caf\xC3\xA9\r\n\xE2\x82\xAC");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"caf\xC3\xA9", "\xE2\x82\xAC"}));
    EXPECT_EQ(s.LineLengths()[0], 4);
    EXPECT_EQ(s.LineLengths()[1], 1);
}

TEST(LineStoreLoading, OtherBytesAreReadAsWindows1252)
{
    REdoDodiStrings s;
    // 0xE9 e-acute, 0x80 euro sign, 0x93/0x94 curly quotes: not valid UTF-8.
    s.LoadFromString("caf\xE9 \x80 \x93q\x94");
    ASSERT_EQ(s.Count(), 1);
    EXPECT_EQ(s[0], "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D");
    EXPECT_EQ(s.LineLengths()[0], 10);
}

TEST(LineStoreLoading, LoadInEditorResetsCaretSelectionAndComputesLongestLine)
{
    REdoDodi ed;
    ed.Lines()->LoadFromString("one\r\ntwo\r\nthree\r\n");
    ed.SetCaretLine(2);
    ed.SetCaretCol(3);
    ed.SelectAll();
    ed.Lines()->LoadFromString("a\r\nlonger line\r\n");
    EXPECT_EQ(ed.CaretCol(), 0);
    EXPECT_EQ(ed.CaretLine(), 0);
    EXPECT_EQ(ed.SelLength(), 0);
    EXPECT_EQ(ed.MaxLineLength(), 11);
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"a", "longer line"}));
}

TEST(LineStoreLoading, LoadInEditorRaisesOneEditorChange)
{
    REdoDodi ed;
    int changes = 0;
    ed.OnChange = [&](TCustomDodi &) { ++changes; };
    ed.Lines()->LoadFromString("a\r\nb\r\nc\r\nd");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(ed.Flags().ChangeHandling);
    EXPECT_TRUE(static_cast<bool>(ed.Lines()->OnChange));
}

TEST(LineStoreLoading, LoadedTextKeepsItsTrailingBlanksWhereverTheCaretWas)
{
    REdoDodi ed;
    ed.SetTrimTrailingSpaces(true);
    ed.Lines()->SetText("a\r\nb\r\nc");
    ed.SetCaretLine(2);
    ed.Lines()->LoadFromString("x\r\ny\r\nz  \r\n");
    EXPECT_EQ(ed.Lines()->Get(2), "z  ");
    EXPECT_EQ(ed.CaretLine(), 0);
    EXPECT_FALSE(ed.CanUndo());
}

TEST(LineStoreLoading, MissingFileFailsBeforeTouchingLines)
{
    REdoDodi ed;
    ed.Lines()->SetText("keep me");
    EXPECT_THROW(ed.Lines()->LoadFromFile("/nonexistent/dir/file.xml"), EFileStreamError);
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"keep me"}));
    EXPECT_TRUE(ed.Flags().ChangeHandling);
}

TEST(LineStoreLoading, LargeDocumentLoadsInOnePass)
{
    std::string text;
    const int lines = 200000;
    text.reserve(lines * 40);
    for (int i = 0; i < lines; ++i)
        text += "<item id=\"" + std::to_string(i) + "\">value</item>\r\n";
    REdoDodi ed;
    ed.Lines()->LoadFromString(text);
    EXPECT_EQ(ed.Lines()->Count(), lines);
    EXPECT_EQ(ed.Lines()->Text(), text);
    ExpectLengthsMatch(*ed.Lines());
}

TEST(LineStoreText, EveryLineEndsWithCrLf)
{
    REdoDodiStrings s;
    s.Add("a");
    s.Add("");
    EXPECT_EQ(s.Text(), "a\r\n\r\n");
}

TEST(LineStoreText, SetTextReplacesContent)
{
    REdoDodi ed;
    int changes = 0;
    ed.OnChange = [&](TCustomDodi &) { ++changes; };
    ed.Lines()->SetText("p\r\nq\nr");
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"p", "q", "r"}));
    EXPECT_EQ(changes, 1);
    ExpectLengthsMatch(*ed.Lines());
}

TEST(LineStoreText, SaveAndLoadFileRoundTrip)
{
    const auto path = std::filesystem::temp_directory_path() / "tarnwick_line_store_test.txt";
    REdoDodiStrings s;
    s.Add("first");
    s.Add("caf\xC3\xA9");
    s.SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "first\r\ncaf\xC3\xA9\r\n");
    REdoDodiStrings t;
    t.LoadFromFile(path.string());
    EXPECT_EQ(Lines(t), Lines(s));
    std::filesystem::remove(path);
}

TEST(LineStoreTabs, EditorStoreKeepsEachTabAndCountsItsCellsToTheNextStop)
{
    REdoDodi ed;
    ed.Lines()->LoadFromString("a\tb\r\n\t\tx");
    EXPECT_EQ((*ed.Lines())[0], "a\tb");
    EXPECT_EQ((*ed.Lines())[1], "\t\tx");
    EXPECT_EQ(ed.Lines()->LineLengths()[0], 3);
    EXPECT_EQ(LineCells(*ed.Lines(), 0), 5);
    EXPECT_EQ(LineCells(*ed.Lines(), 1), 9);
    ed.Lines()->Put(0, "\tq");
    EXPECT_EQ((*ed.Lines())[0], "\tq");
    ed.Lines()->Insert(0, "z\t");
    EXPECT_EQ((*ed.Lines())[0], "z\t");
    EXPECT_EQ(LineCells(*ed.Lines(), 0), 4);
    ExpectLengthsMatch(*ed.Lines());
}

TEST(LineStoreTabs, ANewTabSizeMovesTheStopsAndLeavesTheText)
{
    REdoDodi ed;
    ed.SetTabSize(2);
    ed.Lines()->SetText("\ta");
    EXPECT_EQ(CellOfColumn(*ed.Lines(), 0, 1), 2);
    ed.SetTabSize(8);
    EXPECT_EQ((*ed.Lines())[0], "\ta");
    EXPECT_EQ(CellOfColumn(*ed.Lines(), 0, 1), 8);
    ed.Lines()->Add("\tb");
    EXPECT_EQ((*ed.Lines())[1], "\tb");
}

TEST(LineStoreTabs, AddObjectAndLinesSetterKeepTabs)
{
    REdoDodi ed;
    ed.Lines()->AddObject("x\ty", nullptr);
    EXPECT_EQ(ed.Lines()->Get(ed.Lines()->Count() - 1), "x\ty");
    ed.SetLines(std::vector<std::string>{"\tkept"});
    EXPECT_EQ((*ed.Lines())[0], "\tkept");
}

TEST(LineStoreTabs, FreeStandingStoreKeepsTabs)
{
    REdoDodiStrings s;
    s.LoadFromString("a\tb");
    s.Add("\t");
    EXPECT_EQ(s[0], "a\tb");
    EXPECT_EQ(s[1], "\t");
}

TEST(LineStoreAdd, EditorSplitsAtCrAndDropsLf)
{
    REdoDodi ed;
    ed.Lines()->Clear();
    int last = ed.Lines()->Add("p\rq\nr");
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"p", "qr"}));
    EXPECT_EQ(last, 1);
    ExpectLengthsMatch(*ed.Lines());
}

TEST(LineStoreAdd, FreeStandingAppendsOneLineAsGiven)
{
    REdoDodiStrings s;
    EXPECT_EQ(s.Add("p\rq\nr"), 0);
    ASSERT_EQ(s.Count(), 1);
    EXPECT_EQ(s[0], "p\rq\nr");
    EXPECT_EQ(s.LineLengths()[0], 5);
}

TEST(LineStoreBounds, GetPutInsertOutsideTheListThrow)
{
    REdoDodiStrings s;
    s.Add("only");
    try {
        (void)s.Get(3);
        FAIL() << "no exception";
    } catch (const EListError &e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
        EXPECT_EQ(e.Index(), 3);
    }
    EXPECT_THROW(s.Put(-1, "x"), EListError);
    EXPECT_THROW(s.Insert(2, "x"), EListError);
    EXPECT_NO_THROW(s.Insert(1, "appended"));
    EXPECT_EQ(s[1], "appended");
}

TEST(LineStoreBounds, OutOfRangeSlotAccessIsIgnored)
{
    REdoDodiStrings s;
    s.Add("a");
    int obj = 0;
    s.PutObject(5, &obj);
    EXPECT_EQ(s.GetObject(5), nullptr);
    EXPECT_EQ(s.GetObject(-1), nullptr);
    EXPECT_EQ(s.LinePropOf(7), nullptr);
    EXPECT_EQ(s.EnsureLineProp(7), nullptr);
    s.SetLineProp(9, std::make_unique<TLineProp>());
    s.Delete(1);
    s.Delete(-1);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"a"}));
}

TEST(LineStoreObjects, GetObjectReturnsTheCallersObjectNotTheRecord)
{
    REdoDodiStrings s;
    int a = 1, b = 2;
    s.AddObject("x", &a);
    EXPECT_EQ(s.GetObject(0), &a);
    TLineProp *prop = s.EnsureLineProp(0);
    ASSERT_NE(prop, nullptr);
    prop->Breakpoint = true;
    EXPECT_EQ(s.GetObject(0), &a);
    s.PutObject(0, &b);
    EXPECT_EQ(s.GetObject(0), &b);
    EXPECT_EQ(s.LinePropOf(0), prop);
    EXPECT_TRUE(s.LinePropOf(0)->Breakpoint);
}

TEST(LineStoreObjects, RecordsAreCreatedOnFirstUseWithDefaults)
{
    REdoDodiStrings s;
    s.Add("x");
    EXPECT_EQ(s.LinePropOf(0), nullptr);
    TLineProp *p = s.EnsureLineProp(0);
    EXPECT_TRUE(p->Expanded);
    EXPECT_FALSE(p->InRegion || p->StartsRegion || p->Breakpoint || p->DotMark || p->Modified || p->FlagMark ||
                 p->StateCacheValid);
    EXPECT_EQ(p->RegionEndCount, 0);
    EXPECT_EQ(p->UnderlineRanges, nullptr);
    EXPECT_EQ(s.EnsureLineProp(0), p);
}

TEST(LineStoreObjects, RegionEndCountIgnoresNegativeValues)
{
    TLineProp p;
    p.SetRegionEndCount(3);
    p.SetRegionEndCount(-1);
    EXPECT_EQ(p.RegionEndCount, 3);
}

TEST(LineStoreObjects, UnderlineRangesAreAllocatedOnlyWhenWritten)
{
    TLineProp p;
    EXPECT_FALSE(p.HasUnderlines());
    EXPECT_EQ(p.UnderlineRanges, nullptr);
    auto &r = p.EnsureUnderlineRanges();
    r.Starts.Add(2);
    r.Lengths.Add(5);
    EXPECT_TRUE(p.HasUnderlines());
    p.ClearUnderlines();
    EXPECT_EQ(p.UnderlineRanges, nullptr);
}

TEST(LineStoreObjects, NewRecordInsideAnExpandedRegionIsInRegion)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb\r\nc\r\nd");
    ed.CodeFolding()->SetEnabled(true);
    ed.Lines()->EnsureLineProp(0)->StartsRegion = true;
    EXPECT_TRUE(ed.Lines()->EnsureLineProp(1)->InRegion);
    ed.Lines()->EnsureLineProp(3)->InRegion = true;
    EXPECT_TRUE(ed.Lines()->EnsureLineProp(2)->InRegion);
}

TEST(LineStoreObjects, InvalidateStateCachesClearsEveryRecord)
{
    REdoDodiStrings s;
    s.Add("a");
    s.Add("b");
    s.EnsureLineProp(0)->SetStateCache(RunState{});
    s.EnsureLineProp(1)->SetStateCache(RunState{});
    s.InvalidateStateCaches();
    EXPECT_FALSE(s.LinePropOf(0)->StateCacheValid);
    EXPECT_FALSE(s.LinePropOf(1)->StateCacheValid);
}

TEST(LineStoreDelete, OnlyLineOfEditorBecomesEmptyLine)
{
    REdoDodi ed;
    ed.Lines()->SetText("hello");
    ed.SetCaretCol(3);
    ed.Lines()->Delete(0);
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{""}));
    EXPECT_EQ(ed.CaretCol(), 0);
    EXPECT_FALSE(ed.Lines()->Deleting());
}

TEST(LineStoreDelete, LineBeforeCaretMovesCaretUpKeepingColumn)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb\r\nc\r\nd");
    ed.SetCaretLine(2);
    ed.SetCaretCol(1);
    ed.Lines()->Delete(0);
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"b", "c", "d"}));
    EXPECT_EQ(ed.CaretLine(), 1);
    EXPECT_EQ(ed.CaretCol(), 1);
    ExpectLengthsMatch(*ed.Lines());
}

TEST(LineStoreDelete, LineAfterCaretKeepsCaret)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb\r\nc");
    ed.SetCaretCol(1);
    ed.Lines()->Delete(2);
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ed.CaretLine(), 0);
    EXPECT_EQ(ed.CaretCol(), 1);
}

TEST(LineStoreDelete, BookmarksBelowTheDeletedLineMoveUp)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb\r\nc\r\nd");
    ed.Bookmarks().Slots.Set(0, 3);
    ed.Bookmarks().Slots.Set(1, 0);
    ed.Lines()->Delete(1);
    EXPECT_EQ(ed.Bookmarks().Slots[0], 2);
    EXPECT_EQ(ed.Bookmarks().Slots[1], 0);
}

TEST(LineStoreDelete, FreeStandingDeleteRemovesEntry)
{
    REdoDodiStrings s;
    s.Add("a");
    s.Add("b");
    s.Delete(0);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"b"}));
    ExpectLengthsMatch(s);
}

TEST(LineStoreInsert, ShiftsBookmarksAtOrBelowTheLine)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb\r\nc");
    ed.Bookmarks().Slots.Set(0, 1);
    ed.Bookmarks().Slots.Set(1, 0);
    ed.Lines()->Insert(1, "new");
    EXPECT_EQ(ed.Bookmarks().Slots[0], 2);
    EXPECT_EQ(ed.Bookmarks().Slots[1], 0);
    EXPECT_EQ(ed.Lines()->LinePropOf(1), nullptr);
}

TEST(LineStoreInsert, LineAboveTopLineDropsTopLineState)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb\r\nc\r\nd");
    ed.ViewState().TopLine = 2;
    ed.ViewState().TopStateLine = 2;
    ed.Lines()->Insert(3, "below");
    EXPECT_EQ(ed.ViewState().TopStateLine, 2);
    ed.Lines()->Insert(1, "above");
    EXPECT_EQ(ed.ViewState().TopStateLine, -1);
}

TEST(LineStoreClear, EditorClearResetsCaretSelectionAndFoldCount)
{
    REdoDodi ed;
    ed.Lines()->SetText("abc\r\ndef");
    ed.SetCaretLine(1);
    ed.SetCaretCol(2);
    ed.SelectAll();
    ed.ViewState().FoldRegionCount = 3;
    ed.Lines()->Clear();
    EXPECT_EQ(ed.Lines()->Count(), 0);
    EXPECT_EQ(ed.Lines()->LineLengths().Count(), 0);
    EXPECT_EQ(ed.CaretLine(), 0);
    EXPECT_EQ(ed.CaretCol(), 0);
    EXPECT_TRUE(ed.CaretState().SelectionEmpty());
    EXPECT_EQ(ed.ViewState().FoldRegionCount, 0);
}

TEST(LineStoreEvents, ChangeAndChangingAroundEveryMutation)
{
    REdoDodiStrings s;
    std::vector<std::string> log;
    s.OnChanging = [&](REdoDodiStrings &) { log.push_back("changing"); };
    s.OnChange = [&](REdoDodiStrings &) { log.push_back("change"); };
    s.Add("a");
    s.Put(0, "b");
    s.Insert(0, "c");
    s.Delete(1);
    s.Clear();
    EXPECT_EQ(log.size(), 10u);
    for (size_t i = 0; i < log.size(); i += 2) {
        EXPECT_EQ(log[i], "changing");
        EXPECT_EQ(log[i + 1], "change");
    }
}

TEST(LineStoreEvents, NestedBracketsHoldLockCountAndStaySilent)
{
    REdoDodiStrings s;
    int changes = 0;
    s.OnChange = [&](REdoDodiStrings &) { ++changes; };
    s.BeginUpdate();
    s.BeginUpdate();
    EXPECT_EQ(s.LockCount(), 1);
    s.Add("a");
    s.EndUpdate();
    EXPECT_EQ(s.LockCount(), 1);
    s.Add("b");
    s.EndUpdate();
    EXPECT_EQ(s.LockCount(), 0);
    EXPECT_EQ(changes, 0);
    s.EndUpdate();
    EXPECT_EQ(s.LockCount(), 0);
    s.Add("c");
    EXPECT_EQ(changes, 1);
}

TEST(LineStoreEvents, SetUpdateStateNeverGoesBelowZero)
{
    REdoDodiStrings s;
    s.SetUpdateState(false);
    EXPECT_EQ(s.LockCount(), 0);
    s.SetUpdateState(true);
    EXPECT_EQ(s.LockCount(), 1);
}

TEST(LineStoreEvents, ModifiedFlagSetterDoesNotRaiseStoreChange)
{
    REdoDodi ed;
    ed.Lines()->SetText("a\r\nb");
    int changes = 0;
    ed.OnChange = [&](TCustomDodi &) { ++changes; };
    ed.SetLineModified(1, true);
    EXPECT_TRUE(ed.Lines()->LinePropOf(1)->Modified);
    EXPECT_EQ(changes, 0);
    ed.SetLineModified(5, true);
    EXPECT_EQ(ed.Lines()->LinePropOf(0), nullptr);
}

TEST(LineStoreAssign, FromPlainListCopiesTextAndLengths)
{
    REdoDodi ed;
    ed.Lines()->Assign(std::vector<std::string>{"one", "\ttwo"});
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"one", "\ttwo"}));
    ExpectLengthsMatch(*ed.Lines());
    std::vector<std::string> out;
    ed.Lines()->AssignTo(out);
    EXPECT_EQ(out, (std::vector<std::string>{"one", "\ttwo"}));
}

TEST(LineStoreAssign, FromAnotherStoreResetsViewAndKeepsFolding)
{
    REdoDodi ed;
    ed.Lines()->SetText("x\r\ny");
    ed.SetCaretLine(1);
    ed.CodeFolding()->SetEnabled(true);
    REdoDodiStrings source;
    source.Add("alpha");
    source.Add("be");
    ed.Lines()->Assign(source);
    EXPECT_EQ(Lines(*ed.Lines()), (std::vector<std::string>{"alpha", "be"}));
    EXPECT_EQ(ed.CaretLine(), 0);
    EXPECT_EQ(ed.MaxLineLength(), 5);
    EXPECT_TRUE(ed.CodeFolding()->Enabled());
    ExpectLengthsMatch(*ed.Lines());
}

TEST(LineStoreAssign, AddStringsKeepsObjects)
{
    REdoDodiStrings a, b;
    int obj = 0;
    a.AddObject("x", &obj);
    b.AddStrings(a);
    EXPECT_EQ(b.GetObject(0), &obj);
}

TEST(LineStoreSave, FailedSaveLeavesTheOldFileWhole)
{
    REdoDodiStrings s;
    s.Add("x");
    EXPECT_THROW(s.SaveToFile("/nonexistent/dir/out.txt"), EFileStreamError);
}

TEST(LineStoreSave, SavingThroughALinkWritesItsTarget)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "tarnwick_save_link_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / "real.txt";
    const fs::path link = dir / "link.txt";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, link);
    REdoDodiStrings s;
    s.Add("new");
    s.SaveToFile(link.string());
    EXPECT_TRUE(fs::is_symlink(link));
    std::ifstream in(target, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "new\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    fs::remove_all(dir);
}

TEST(LineStoreLengths, PutOnAFreeStandingStoreUpdatesTheLength)
{
    REdoDodiStrings s;
    s.Add("abc");
    s.Add("de");
    s.Put(0, "caf\xC3\xA9 au lait");
    EXPECT_EQ(s.LineLength(0), 12);
    ExpectLengthsMatch(s);
    EXPECT_EQ(s.LongestLineLength(), 12);
}

// Every kind of store change, at random places, free-standing and in an
// editor: the kept longest length is always the longest line's.
TEST(LineStoreLengths, LongestLineFollowsRandomChangesWithoutARescanPerEdit)
{
    for (bool owned : {false, true}) {
        REdoDodi ed;
        REdoDodiStrings freeStanding;
        REdoDodiStrings &s = owned ? *ed.Lines() : freeStanding;
        RandomLines random(owned ? 11 : 12);
        for (int step = 0; step < 3000; ++step) {
            const int at = random.Upto(s.Count());
            const bool onLine = at < s.Count();
            switch (random.Upto(8)) {
            case 0:
                s.Insert(at, random.Line());
                break;
            case 1:
                s.InsertLines(at, random.Block());
                break;
            case 2:
                s.AddObject(random.Line(), nullptr);
                break;
            case 3:
                if (onLine)
                    s.Put(at, random.Line());
                break;
            // Shortening the longest line is the case that must look again.
            case 4:
                if (onLine)
                    s.Put(at, s[at].substr(0, s[at].find('a')));
                break;
            case 5:
                s.Delete(at);
                break;
            case 6:
                s.RemoveLines(at, random.Upto(5));
                break;
            default:
                if (random.Upto(20) == 0)
                    s.Clear();
                break;
            }
            ASSERT_TRUE(s.CheckInvariants()) << "step " << step;
            ASSERT_EQ(s.LongestLineLength(), TrueLongest(s)) << "step " << step;
            if (owned) {
                ASSERT_EQ(ed.MaxLineLength(), TrueLongest(s)) << "step " << step;
            }
        }
    }
}

namespace tarnwick::test {
namespace {

class LongestLineUnderEdits : public EditingFixture {};

// Keys and commands may leave MaxLineLength above the longest line until the
// caret moves or the change handler runs, never below it; the handler then
// finds the true maximum from the kept lengths.
TEST_F(LongestLineUnderEdits, MaxLineLengthNeverFallsShortAndTheHandlerMakesItExact)
{
    RandomLines random(3);
    ed.SetAutoExpand(false);
    for (int sequence = 0; sequence < 40; ++sequence) {
        std::vector<std::string> start(random.Upto(12));
        for (std::string &l : start)
            l = random.Line();
        SetText(start);
        ASSERT_EQ(ed.MaxLineLength(), TrueLongest(*ed.Lines()));
        for (int step = 0; step < 60; ++step) {
            REdoDodiStrings &s = *ed.Lines();
            if (s.Count() > 0) {
                const int line = random.Upto(s.Count() - 1);
                Place(random.Upto(s.LineLength(line)), line);
            }
            switch (random.Upto(9)) {
            case 0:
                Type(U"x");
                break;
            case 1:
                Enter();
                break;
            case 2:
                Key(VK_BACK);
                break;
            case 3:
                Key(VK_DELETE);
                break;
            case 4:
                Ctrl('Y');
                break;
            case 5:
                host.Clipboard = random.Line() + "\r\n" + random.Line();
                Ctrl('V');
                break;
            case 6:
                if (s.Count() > 0) {
                    const int from = random.Upto(s.Count() - 1);
                    const int to = std::min(s.Count() - 1, from + random.Upto(2));
                    Select({random.Upto(s.LineLength(from)), from}, {random.Upto(s.LineLength(to)), to});
                }
                Ctrl('X');
                break;
            case 7:
                ed.Undo();
                break;
            case 8:
                ed.Redo();
                break;
            default:
                ed.InsertText(random.Line());
                break;
            }
            ASSERT_GE(ed.MaxLineLength(), TrueLongest(*ed.Lines())) << "sequence " << sequence << " step " << step;
            ed.LinesChanged();
            ASSERT_EQ(ed.MaxLineLength(), TrueLongest(*ed.Lines())) << "sequence " << sequence << " step " << step;
        }
    }
}

} // namespace
} // namespace tarnwick::test
