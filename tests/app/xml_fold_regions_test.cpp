// The main window's XML fold regions on the text model: after random edits
// (typing markup, splitting, joining, inserting and removing lines) the
// regions found again around the change are those a fresh search of the whole
// text finds, only the changed part is read, and collapsed regions elsewhere
// stay collapsed.
#include "app/xml_fold_regions.h"
#include "editor/document/line_store.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick {
namespace {

// A document with nested elements, comments, sections, a document type.
std::vector<std::string> Document(std::mt19937 &rng, int records)
{
    std::vector<std::string> lines{"<?xml version=\"1.0\"?>", "<!DOCTYPE list [", "  <!ELEMENT list ANY>", "]>",
                                   "<list>"};
    for (int r = 0; r < records; ++r) {
        lines.push_back("  <item n=\"" + std::to_string(r) + "\">");
        switch (rng() % 4) {
        case 0:
            lines.push_back("    <!-- note");
            lines.push_back("         more -->");
            break;
        case 1:
            lines.push_back("    <code><![CDATA[a < b");
            lines.push_back("    ]]></code>");
            break;
        case 2:
            lines.push_back("    <name\n      lang='en'>x</name>");
            break;
        default:
            lines.push_back("    <tags>");
            lines.push_back("      <tag>a</tag>");
            lines.push_back("    </tags>");
            break;
        }
        lines.push_back("  </item>");
    }
    lines.push_back("</list>");
    std::vector<std::string> split;
    for (const std::string &line : lines) {
        size_t from = 0;
        for (size_t at; (at = line.find('\n', from)) != std::string::npos; from = at + 1)
            split.push_back(line.substr(from, at - from));
        split.push_back(line.substr(from));
    }
    return split;
}

const char *const kPieces[] = {"<",         ">",   "</item>", "<item>",  "<!--", "-->",  "\"",  "'",
                               "<![CDATA[", "]]>", "<x/>",    "</list>", " ",    "text", "<?p", "?>"};

} // namespace

void PrintTo(const TFoldRegions::TLineMarks &m, std::ostream *out)
{
    *out << m.Line << (m.Starts ? "+" : "") << (m.Ends ? "-" + std::to_string(m.Ends) : "");
}

namespace {

struct TEditedText {
    REdoDodiStrings lines;
    TFoldRegions regions;
    TXmlFoldRegions finder;

    explicit TEditedText(const std::vector<std::string> &text)
    {
        lines.AddStrings(text);
        regions.SetUnlinkPartners(false);
        lines.AddListener(&regions);
        lines.AddListener(&finder);
        finder.FindAll(lines, regions);
    }

    std::vector<TFoldRegions::TLineMarks> Fresh()
    {
        TFoldRegions fresh;
        TXmlFoldRegions finder2;
        finder2.FindAll(lines, fresh);
        return fresh.AllMarks();
    }
};

TEST(XmlFoldRegions, RegionsFoundAgainAroundEditsAreThoseOfAFreshSearch)
{
    std::mt19937 rng(1616);
    auto pick = [&](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % n); };
    for (int round = 0; round < 20; ++round) {
        TEditedText t(Document(rng, 40 + pick(200)));
        for (int step = 0; step < 60; ++step) {
            // Several edits may come before the regions are asked for.
            for (int edit = 1 + pick(3); edit > 0; --edit) {
                const int n = t.lines.Count();
                const int line = pick(n);
                const std::string piece = kPieces[pick(std::size(kPieces))];
                switch (pick(4)) {
                case 0:
                case 1: {
                    const std::string &text = t.lines[line];
                    const size_t at = pick(static_cast<int>(text.size()) + 1);
                    t.lines.ReplaceText(line, at, pick(3), piece);
                    break;
                }
                case 2:
                    t.lines.InsertLines(pick(n + 1), {piece, "  <item>"});
                    break;
                default:
                    if (n > 3)
                        t.lines.RemoveLines(line, 1 + pick(std::min(3, n - line)));
                    break;
                }
            }
            t.finder.Update(t.lines, t.regions, true);
            ASSERT_TRUE(t.regions.Check()) << "round " << round << " step " << step;
            ASSERT_EQ(t.regions.AllMarks(), t.Fresh()) << "round " << round << " step " << step;
        }
    }
}

TEST(XmlFoldRegions, AnEditInsideALargeDocumentReadsOnlyAroundIt)
{
    std::mt19937 rng(3);
    TEditedText t(Document(rng, 20000));
    const int n = t.lines.Count();
    // The last record folds; the first item's region is somewhere far above.
    const int last = n - 3;
    ASSERT_TRUE(t.regions.IsRegionStart(t.regions.InnermostRegionAt(last)));
    const int folded = t.regions.InnermostRegionAt(last);
    ASSERT_TRUE(t.regions.SetExpanded(folded, false));
    const int rows = t.regions.VisibleCount();

    int middle = n / 2;
    while (t.lines[middle].rfind("  <item", 0) != 0)
        ++middle;
    t.lines.ReplaceText(middle, 0, 0, "x");
    EXPECT_TRUE(t.finder.Pending());
    t.finder.Update(t.lines, t.regions, false);
    EXPECT_FALSE(t.finder.Pending());
    EXPECT_LT(t.finder.LinesRead(), 3000) << "of " << n;
    EXPECT_FALSE(t.regions.IsExpanded(folded));
    EXPECT_EQ(t.regions.VisibleCount(), rows);

    // An element left open holds everything after it: the rest is read, and
    // the folded region, found again on its line, stays folded.
    t.lines.ReplaceText(middle, 0, 0, "<extra>");
    t.finder.Update(t.lines, t.regions, false);
    EXPECT_GT(t.finder.LinesRead(), n - middle - 10);
    EXPECT_EQ(t.regions.AllMarks(), t.Fresh());
    EXPECT_FALSE(t.regions.IsExpanded(folded));
    t.lines.ReplaceText(middle, 0, 7, "");
    t.finder.Update(t.lines, t.regions, false);
    EXPECT_EQ(t.regions.AllMarks(), t.Fresh());
    EXPECT_FALSE(t.regions.IsExpanded(folded));
    EXPECT_EQ(t.regions.VisibleCount(), rows);
}

TEST(XmlFoldRegions, AnUnforcedUpdateLeavesAVeryLongChangedLineForLater)
{
    TEditedText t({"<a>", "<b>" + std::string(2 << 20, 'x') + "</b>", "</a>"});
    t.lines.ReplaceText(1, 0, 3, "");
    t.finder.Update(t.lines, t.regions, false);
    EXPECT_TRUE(t.finder.Pending());
    t.finder.Update(t.lines, t.regions, true);
    EXPECT_FALSE(t.finder.Pending());
    EXPECT_EQ(t.regions.RegionEndOf(0), 2);
}

} // namespace
} // namespace tarnwick
