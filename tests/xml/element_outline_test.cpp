// The element outline: the tree of a small document with its labels and
// places; every element of the sample documents against libxml2's tree, its
// path selecting it again through libxml2's XPath; the same tree whatever
// pieces the text comes in, a long line included; text that is not
// well-formed.
#include "xml/element_outline.h"
#include "xml_test_support.h"

#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <filesystem>
#include <random>

namespace tarnwick::xml {
namespace {

std::shared_ptr<ElementOutline> Outline(std::string_view text)
{
    OutlineBuilder builder;
    builder.Text(text);
    return builder.Finish();
}

TEST(ElementOutline, TheTreeWithLabelsPlacesAndPaths)
{
    const std::string text = "<?xml version='1.0'?>\n"
                             "<catalog>\n"
                             "  <book id='b1'><title>A</title></book>\n"
                             "  <note name='n'/>\n"
                             "  <book id='b2' name='x'>\n"
                             "    <title>B</title><price>4</price>\n"
                             "  </book>\n"
                             "</catalog>\n";
    const auto outline = Outline(text);
    ASSERT_EQ(outline->Count(), 7);
    std::vector<std::string> names, labels, paths;
    for (int e = 0; e < outline->Count(); ++e) {
        names.emplace_back(outline->Name(e));
        labels.emplace_back(outline->Label(e));
        paths.push_back(outline->PathOf(e));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"catalog", "book", "title", "note", "book", "title", "price"}));
    EXPECT_EQ(labels, (std::vector<std::string>{"", "b1", "", "n", "b2", "", ""})) << "the id before the name";
    EXPECT_EQ(paths,
              (std::vector<std::string>{"/catalog", "/catalog/book[1]", "/catalog/book[1]/title", "/catalog/note",
                                        "/catalog/book[2]", "/catalog/book[2]/title", "/catalog/book[2]/price"}));
    EXPECT_TRUE(outline->Elements()[3].labelIsName);
    EXPECT_EQ(outline->ChildCount(-1), 1);
    EXPECT_EQ(outline->ChildCount(0), 3);
    EXPECT_EQ(outline->Child(0, 2), 4);
    EXPECT_EQ(outline->ChildCount(5), 0);

    // Places: on a tag, in text, between siblings, after an end tag.
    const struct {
        int line, byte;
        const char *path;
    } places[] = {
        {0, 3, ""},                        // the declaration
        {1, 0, "/catalog"},                // the root's "<"
        {2, 1, "/catalog"},                // indentation
        {2, 2, "/catalog/book[1]"},        // the book's "<"
        {2, 23, "/catalog/book[1]/title"}, // in the title's text
        {2, 32, "/catalog/book[1]"},       // after "</title>"
        {2, 38, "/catalog/book[1]"},       // on "</book>"'s ">"
        {2, 39, "/catalog"},               // just after it
        {5, 20, "/catalog/book[2]/price"},
        {7, 10, ""}, // past the root
    };
    for (const auto &p : places) {
        const int e = outline->ElementAt({p.line, p.byte});
        EXPECT_EQ(e < 0 ? std::string() : outline->PathOf(e), p.path) << p.line << ":" << p.byte;
    }
}

TEST(ElementOutline, TextThatIsNotWellFormedStillGivesATree)
{
    // An element never closed ends with the text; an end tag closes what
    // was opened inside its element; a stray end tag is passed over.
    const auto outline = Outline("<a>\n<b><c>\n</b></x>\n<d>");
    std::vector<std::string> paths;
    for (int e = 0; e < outline->Count(); ++e)
        paths.push_back(outline->PathOf(e));
    EXPECT_EQ(paths, (std::vector<std::string>{"/a", "/a/b", "/a/b/c", "/a/d"}));
    EXPECT_EQ(outline->Elements()[0].stop, (OutlinePlace{3, 3}));
    EXPECT_EQ(outline->Elements()[1].stop, (OutlinePlace{2, 4}));
}

// libxml2's elements of a document in document order, with their lines.
void TreeElements(xmlNodePtr node, std::vector<xmlNodePtr> &out)
{
    for (xmlNodePtr n = node; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE) {
            out.push_back(n);
            TreeElements(n->children, out);
        }
}

TEST(ElementOutline, AgreesWithLibxml2sTreeAndEachPathSelectsItsElement)
{
    int compared = 0, selected = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/documents")) {
        const std::string text = testing::ReadFile(entry.path().string());
        if (text.find('\0') != std::string::npos)
            continue; // the editor holds UTF-8 text, not the file's UTF-16
        std::vector<std::string> lines;
        for (size_t from = 0; from <= text.size();) {
            const size_t end = std::min(text.find('\n', from), text.size());
            lines.push_back(text.substr(from, end - from));
            from = end + 1;
        }
        xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
        if (!doc)
            continue;
        std::vector<xmlNodePtr> nodes;
        TreeElements(doc->children, nodes);
        const auto outline = Outline(text);
        ASSERT_EQ(outline->Count(), static_cast<int>(nodes.size())) << entry.path();
        xmlXPathContextPtr xpath = xmlXPathNewContext(doc);
        for (int e = 0; e < outline->Count(); ++e) {
            xmlNodePtr node = nodes[e];
            const std::string name = node->ns && node->ns->prefix
                                         ? std::string(reinterpret_cast<const char *>(node->ns->prefix)) + ":" +
                                               reinterpret_cast<const char *>(node->name)
                                         : reinterpret_cast<const char *>(node->name);
            EXPECT_EQ(outline->Name(e), name) << entry.path();
            // The place is its "<" (libxml2 counts the line its start tag ends on).
            const OutlinePlace start = outline->Elements()[e].start;
            EXPECT_EQ(lines[start.line].substr(start.byte, name.size() + 1), "<" + name) << entry.path();
            EXPECT_LE(start.line + 1, xmlGetLineNo(node)) << entry.path() << " " << name;
            const int parent = outline->Elements()[e].parent;
            EXPECT_EQ(parent < 0 ? nullptr : nodes[parent],
                      node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr);
            ++compared;
            // A path names elements by their names alone: it selects them
            // where they are in no namespace.
            bool plain = true;
            for (xmlNodePtr n = node; n && n->type == XML_ELEMENT_NODE; n = n->parent)
                plain = plain && n->ns == nullptr;
            if (!plain)
                continue;
            xmlXPathObjectPtr found = xmlXPathEvalExpression(BAD_CAST outline->PathOf(e).c_str(), xpath);
            ASSERT_TRUE(found && found->nodesetval) << outline->PathOf(e);
            EXPECT_EQ(found->nodesetval->nodeNr, 1) << outline->PathOf(e);
            if (found->nodesetval->nodeNr == 1) {
                EXPECT_EQ(found->nodesetval->nodeTab[0], node) << outline->PathOf(e);
            }
            xmlXPathFreeObject(found);
            ++selected;
        }
        xmlXPathFreeContext(xpath);
        xmlFreeDoc(doc);
    }
    EXPECT_GT(compared, 100);
    EXPECT_GT(selected, 30);
}

TEST(ElementOutline, TheSameTreeWhateverPiecesTheTextComesIn)
{
    // Many lines, then a line longer than a part, held back in parts.
    std::string text = "<root>\n";
    for (int i = 0; i < 200; ++i)
        text += "  <item id='i" + std::to_string(i) + "'><v>" + std::to_string(i) + "</v></item>\n";
    text += "  <long>";
    while (text.size() < 3 * OutlineBuilder::kPartBytes)
        text += "<e name='x'>text &amp; more</e><f/>";
    text += "</long>\n</root>\n";
    const auto whole = Outline(text);
    std::mt19937 random(3);
    for (int trial = 0; trial < 4; ++trial) {
        OutlineBuilder builder;
        std::string_view rest = text;
        while (!rest.empty()) {
            const size_t n = std::min(rest.size(), std::uniform_int_distribution<size_t>(1, 70000)(random));
            builder.Text(rest.substr(0, n));
            rest.remove_prefix(n);
        }
        const auto pieces = builder.Finish();
        ASSERT_EQ(pieces->Count(), whole->Count());
        for (int e = 0; e < whole->Count(); ++e) {
            const OutlineElement &a = pieces->Elements()[e], &b = whole->Elements()[e];
            ASSERT_EQ(std::tie(a.parent, a.end, a.row, a.index, a.start, a.stop),
                      std::tie(b.parent, b.end, b.row, b.index, b.start, b.stop))
                << "element " << e;
            ASSERT_EQ(pieces->Label(e), whole->Label(e));
        }
    }
    // Places in the long line count bytes from its start.
    const int last = whole->Count() - 1;
    EXPECT_EQ(whole->Name(last), "f");
    EXPECT_GT(whole->Elements()[last].start.byte, static_cast<int32_t>(2 * OutlineBuilder::kPartBytes));
    const size_t longLine = text.find("  <long>");
    EXPECT_EQ(whole->Elements()[last].start.line, 201);
    EXPECT_EQ(text.substr(longLine + whole->Elements()[last].start.byte, 4), "<f/>");
}

} // namespace
} // namespace tarnwick::xml
