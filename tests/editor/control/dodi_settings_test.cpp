// The editor's small settings objects and helpers: what each setter stores
// and which change it reports, marker bookkeeping, timers and scroll bars
// mirrored to the host, and the int list's safe access.
#include "editor/base/int_list.h"
#include "editor/platform/dodi_scroll_bar.h"
#include "editor/platform/dodi_timer.h"
#include "editor/platform/image_list.h"
#include "editor/view/active_line_settings.h"
#include "editor/view/code_folding.h"
#include "editor/view/dodi_gutter.h"
#include "editor/view/dodi_markers.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

using namespace tarnwick;
using tarnwick::test::FakeHost;

TEST(IntList, OutOfRangeAccessIsHarmless)
{
    TIntList l(3, -1);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Get(5), 0);
    l.Set(-1, 9);
    l.Delete(7);
    EXPECT_EQ(l, TIntList(3, -1));
    EXPECT_EQ(l.Add(4), 3);
    l.Insert(99, 5);
    l.Insert(-3, 6);
    EXPECT_EQ(l.Items(), (std::vector<int32_t>{6, -1, -1, -1, 4, 5}));
}

TEST(GutterSettings, SettersReportWhatToRepaint)
{
    TDodiGutter g;
    std::vector<TDodiGutter::TChange> log;
    g.OnChange = [&](TDodiGutter::TChange c) { log.push_back(c); };
    g.SetDigitCount(5);
    g.SetVisible(false);
    g.SetGutterWidth(60);
    TFont f;
    f.Name = "Courier New";
    g.SetFont(f);
    using C = TDodiGutter::TChange;
    EXPECT_EQ(log, (std::vector<C>{C::Gutter, C::Whole, C::Layout, C::Font}));
    EXPECT_EQ(g.Rect().Width(), 60);
}

TEST(GutterSettings, SomeSettersStoreOnlyChangedOrValidValues)
{
    TDodiGutter g;
    int changes = 0;
    g.OnChange = [&](TDodiGutter::TChange) { ++changes; };
    g.SetGutterColor(g.GutterColor());
    g.SetLineNumberTextColor(g.LineNumberTextColor());
    g.SetLineNumberStart(1);
    g.SetLineNumberStart(-4);
    EXPECT_EQ(changes, 0);
    g.SetGutterMargin(60);
    EXPECT_EQ(g.GutterMargin(), 60);
    g.SetGutterMargin(3);
    EXPECT_EQ(g.GutterMargin(), 45);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(g.Font().Size(), 10);
}

TEST(CodeFoldingSettings, ReportsKindsAndAssignCopiesTwoFields)
{
    TCodeFolding f;
    std::vector<int> kinds;
    f.OnChange = [&](int k) { kinds.push_back(k); };
    f.SetEnabled(false);
    f.SetLineColor(clGray);
    f.SetEnabled(true);
    f.SetLineColor(clRed);
    f.SetExpandGlyph(nullptr);
    EXPECT_EQ(kinds, (std::vector<int>{2, 1, 1}));
    TCodeFolding g;
    auto glyph = std::make_shared<test::RecordingBitmap>(9, 9);
    g.SetCollapsedGlyph(glyph);
    g.Assign(f);
    EXPECT_TRUE(g.Enabled());
    EXPECT_EQ(g.LineColor(), clRed);
    EXPECT_EQ(g.CollapsedGlyph(), glyph);
}

TEST(ActiveLineSettings, ChangesReportedAndCursorFollowFlagged)
{
    TDodiActiveLineSettings s;
    int changes = 0;
    bool followed = false;
    s.OnChange = [&](bool atCursor) {
        ++changes;
        followed = followed || atCursor;
    };
    s.SetActiveLineColor(s.ActiveLineColor());
    EXPECT_EQ(changes, 0);
    s.SetShowActiveLine(false);
    EXPECT_EQ(changes, 1);
    s.SetActiveLineAtCursor(true);
    EXPECT_TRUE(followed);
}

TEST(Markers, QueriesFindTheFirstMarkerOfALine)
{
    TDodiMarkers m;
    m.Add() = {"a", 3, 2};
    m.Add() = {"b", 4, 2};
    m.Add() = {"c", 5, 7};
    EXPECT_TRUE(m.HasMarker(2));
    EXPECT_EQ(m.MarkerAt(2)->Text, "a");
    EXPECT_EQ(m.ImageIndexAt(7), 5);
    EXPECT_EQ(m.ImageIndexAt(3), -1);
    EXPECT_TRUE(m.AnyAfter(6));
    EXPECT_FALSE(m.AnyAfter(7));
    m.RemoveMarker(2);
    EXPECT_EQ(m.MarkerAt(2)->Text, "b");
}

TEST(Markers, ShiftMovesMarkersAtOrBelowTheLine)
{
    TDodiMarkers m;
    m.Add().LineNumber = 1;
    m.Add().LineNumber = 4;
    m.ShiftDown(4);
    EXPECT_EQ(m.Items(0).LineNumber, 1);
    EXPECT_EQ(m.Items(1).LineNumber, 5);
    m.ShiftUp(1);
    EXPECT_EQ(m.Items(0).LineNumber, 0);
    EXPECT_EQ(m.Items(1).LineNumber, 4);
}

TEST(Markers, DefaultImageSettersIgnoredWhileLoading)
{
    TDodiMarkerList l;
    l.SetLoading(true);
    l.SetDefaultMarkerImageIndex(3);
    l.SetUseDefaultMarkerImageIndex(true);
    EXPECT_EQ(l.DefaultMarkerImageIndex(), -1);
    l.SetLoading(false);
    l.SetDefaultMarkerImageIndex(3);
    EXPECT_EQ(l.DefaultMarkerImageIndex(), 3);
}

TEST(Timers, RunThroughTheHostAndRestartOnNewInterval)
{
    FakeHost host;
    TDodiTimer t(7, 500);
    int fired = 0;
    t.OnTimer = [&] { ++fired; };
    t.Start();
    EXPECT_FALSE(host.Timers.count(7));
    t.SetHost(&host);
    EXPECT_TRUE(host.Timers[7].Running);
    t.SetInterval(900);
    EXPECT_EQ(host.Timers[7].Interval, 900);
    host.FireTimer(7);
    EXPECT_EQ(fired, 1);
    t.Stop();
    EXPECT_FALSE(host.Timers[7].Running);
    t.Fire();
    EXPECT_EQ(fired, 1);
}

TEST(ScrollBars, ValuesAreMirroredToTheHost)
{
    FakeHost host;
    TDodiScrollBar bar(sbVertical);
    bar.SetRange(0, 40);
    bar.SetHost(&host);
    EXPECT_EQ(host.Bars[sbVertical].Max, 40);
    bar.SetPosition(12);
    bar.SetPageSize(10);
    bar.SetVisible(true);
    EXPECT_EQ(host.Bars[sbVertical].Position, 12);
    EXPECT_EQ(host.Bars[sbVertical].Page, 10);
    EXPECT_TRUE(host.Bars[sbVertical].Visible);
    EXPECT_EQ(bar.SystemExtent(), 17);
    bar.SetHost(nullptr);
    EXPECT_EQ(bar.SystemExtent(), 16);
}

TEST(ImageList, DrawsByIndexWithTransparency)
{
    TImageList images;
    images.Add(std::make_shared<test::RecordingBitmap>(16, 16));
    test::RecordingCanvas canvas;
    images.Draw(canvas, 3, 4, 0, clLime);
    images.Draw(canvas, 3, 4, 5, clLime);
    auto calls = canvas.CallsOf("DrawTransparent");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Args, (std::vector<int>{3, 4, 16, 16}));
    EXPECT_EQ(calls[0].Color, clLime);
}
