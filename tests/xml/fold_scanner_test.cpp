// The fold scanner against libxml2's reading of real documents: every element
// whose start and end tags lie on different lines, every comment and CDATA
// section over several lines, the document type declaration; of stretches
// that start on one line only the outermost folds. Then what a scan resumed
// from a saved state finds, and how text being typed is read.
#include "xml/fold_scanner.h"
#include "xml/transcode.h"
#include "xml_test_support.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace tarnwick::xml {
namespace {

using Stretches = std::vector<std::pair<int, int>>;

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

// Of the stretches starting on one line, the longest.
Stretches Outermost(Stretches all)
{
    std::map<int, int> byStart;
    for (const auto &[start, end] : all)
        if (start < end)
            byStart[start] = std::max(byStart[start], end);
    return {byStart.begin(), byStart.end()};
}

Stretches Scan(const std::vector<std::string_view> &lines)
{
    FoldScanner scanner;
    scanner.Begin();
    for (std::string_view line : lines)
        scanner.ScanLine(line);
    scanner.Finish();
    Stretches found = scanner.Finds().Regions;
    std::sort(found.begin(), found.end());
    return found;
}

// libxml2 tells where each element, comment and section ends; where it began
// is the last "<", "</", "<!--" or "<![CDATA[" before that.
class LibxmlStretches {
public:
    explicit LibxmlStretches(const std::string &text) : text_(text)
    {
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
            breaks_.push_back(at);
        xmlSAXHandler sax{};
        xmlSAXVersion(&sax, 2);
        sax.startElementNs = [](void *ctx, const xmlChar *, const xmlChar *, const xmlChar *, int, const xmlChar **,
                                int, int, const xmlChar **) { Self(ctx).StartElement(); };
        sax.endElementNs = [](void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) { Self(ctx).EndElement(); };
        sax.comment = [](void *ctx, const xmlChar *) { Self(ctx).Span("<!--"); };
        sax.cdataBlock = [](void *ctx, const xmlChar *, int) { Self(ctx).Span("<![CDATA["); };
        ctxt_ = xmlCreateMemoryParserCtxt(text.data(), static_cast<int>(text.size()));
        xmlCtxtUseOptions(ctxt_, XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_IGNORE_ENC);
        *ctxt_->sax = sax;
        ctxt_->_private = this;
        xmlParseDocument(ctxt_);
        wellFormed_ = ctxt_->wellFormed;
        xmlFreeDoc(ctxt_->myDoc);
        xmlFreeParserCtxt(ctxt_);
    }
    bool WellFormed() const { return wellFormed_; }
    const Stretches &Found() const { return found_; }

private:
    static LibxmlStretches &Self(void *ctx)
    {
        return *static_cast<LibxmlStretches *>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
    }
    size_t Consumed() const { return static_cast<size_t>(xmlByteConsumed(ctxt_)); }
    int LineAt(size_t offset) const
    {
        return static_cast<int>(std::lower_bound(breaks_.begin(), breaks_.end(), offset) - breaks_.begin());
    }
    // At a start tag libxml2 stands on its closing ">" or "/>".
    void StartElement()
    {
        const size_t end = Consumed();
        open_.push_back({LineAt(text_.rfind('<', end)), text_[end] == '/'});
    }
    void EndElement()
    {
        const auto [start, empty] = open_.back();
        open_.pop_back();
        if (!empty)
            found_.push_back({start, LineAt(text_.rfind("</", Consumed()))});
    }
    void Span(const char *opener)
    {
        const size_t end = Consumed();
        found_.push_back({LineAt(text_.rfind(opener, end - 1)), LineAt(end - 1)});
    }

    const std::string &text_;
    std::vector<size_t> breaks_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    std::vector<std::pair<int, bool>> open_;
    Stretches found_;
    bool wellFormed_ = false;
};

std::string DocumentText(const std::filesystem::path &path)
{
    std::string bytes = testing::ReadFile(path.string());
    return DecodeToUtf8(std::move(bytes), DetectDocumentEncoding(bytes));
}

TEST(FoldScanner, FindsTheMultiLineElementsCommentsAndSectionsOfRealDocuments)
{
    int documents = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/documents")) {
        const std::string text = DocumentText(entry.path());
        const LibxmlStretches libxml(text);
        ASSERT_TRUE(libxml.WellFormed()) << entry.path();
        Stretches expected = libxml.Found();
        // libxml2 reports no end for the document type: it ends on its "]>".
        const size_t doctype = text.find("<!DOCTYPE");
        if (doctype != std::string::npos) {
            const auto line = [&](size_t at) {
                return static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
            };
            expected.push_back({line(doctype), line(text.find("]>", doctype))});
        }
        EXPECT_EQ(Scan(SplitLines(text)), Outermost(expected)) << entry.path();
        ++documents;
    }
    EXPECT_GE(documents, 10);
}

TEST(FoldScanner, AScanResumedFromASavedStateFindsWhatTheWholeScanFinds)
{
    const std::string text = DocumentText(std::string(TARNWICK_TEST_DATA) + "/documents/catalog-with-dtd.xml") +
                             DocumentText(std::string(TARNWICK_TEST_DATA) + "/documents/svg-icon.xml");
    const std::vector<std::string_view> lines = SplitLines(text);
    const Stretches whole = Scan(lines);
    for (int at = 1; at < static_cast<int>(lines.size()); ++at) {
        FoldScanner scanner;
        scanner.Begin();
        for (int line = 0; line < at; ++line)
            scanner.ScanLine(lines[line]);
        const bool canStop = scanner.CanStopHere();
        scanner.Stop();
        Stretches found = scanner.Finds().Regions;
        std::vector<int> startsOnly = scanner.Finds().StartsOnly;
        const FoldScanState saved = scanner.Save();
        scanner.Resume(at, saved);
        EXPECT_EQ(scanner.Save(), saved) << "line " << at;
        for (int line = at; line < static_cast<int>(lines.size()); ++line)
            scanner.ScanLine(lines[line]);
        scanner.Finish();
        // Starts left open at the stop pair with the ends found after it, in order.
        std::vector<int> ends = scanner.Finds().EndsOnly;
        std::sort(startsOnly.begin(), startsOnly.end());
        ASSERT_EQ(startsOnly.size(), ends.size()) << "line " << at;
        for (size_t k = 0; k < ends.size(); ++k)
            found.push_back({startsOnly[startsOnly.size() - 1 - k], ends[k]});
        for (const auto &r : scanner.Finds().Regions)
            found.push_back(r);
        std::sort(found.begin(), found.end());
        if (canStop) {
            EXPECT_EQ(found, whole) << "line " << at;
        }
    }
}

TEST(FoldScanner, ReadsTextBeingTypedWithoutLosingTheRest)
{
    auto scan = [](std::string_view text) { return Scan(SplitLines(text)); };
    // An end tag closes what was opened inside its element; one of nothing open is passed over.
    EXPECT_EQ(scan("<a>\n<b>\n<c>\n</b>\n</x>\n</a>"), (Stretches{{0, 5}, {1, 3}, {2, 3}}));
    // A value left open ends at the next "<".
    EXPECT_EQ(scan("<a>\n<b x=\"1>\n<c>\n</c>\n</a>"), (Stretches{{0, 4}, {2, 3}}));
    // An element never closed folds to the end of the text.
    EXPECT_EQ(scan("<a>\n<b>\n</b>\ntext"), (Stretches{{0, 3}, {1, 2}}));
    // A comment left open swallows the tags after it.
    EXPECT_EQ(scan("<a>\n<!-- x\n<b>\n</b>\n"), (Stretches{{0, 3}, {1, 3}}));
    // Markup in comments, sections, instructions and values is no markup.
    EXPECT_EQ(scan("<a x='/>'>\n<?p <b> ?>\n<![CDATA[</a>\n]]>\n</a>"), (Stretches{{0, 4}, {2, 3}}));
    // An empty-element tag over several lines does not fold; a start tag over several does.
    EXPECT_EQ(scan("<a\n x='1'/>\n<b\n>\n</b>"), (Stretches{{2, 4}}));
}

} // namespace
} // namespace tarnwick::xml
