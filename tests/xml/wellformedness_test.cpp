// The first well-formedness error: where and what, against libxml2's own
// parse of the same text into a tree, over the sample documents broken at
// random places.
#include "xml/wellformedness.h"
#include "xml_test_support.h"

#include <libxml/parser.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace tarnwick::xml {
namespace {

struct TreeError {
    int line = 0, column = 0;
    std::string message;
};

void KeepFirst(void *data, xmlErrorPtr error)
{
    auto *first = static_cast<TreeError *>(data);
    if (error->level >= XML_ERR_ERROR && error->code != XML_WAR_UNDECLARED_ENTITY && first->line == 0)
        *first = {error->line, error->int2, error->message ? error->message : ""};
}

// libxml2 building its tree from the same text, nothing else read. An entity
// left undeclared where a DTD may declare it is no error of form.
std::optional<TreeError> TreeParseError(const std::string &text)
{
    TreeError first;
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    ctxt->sax->serror = [](void *c, xmlErrorPtr e) { KeepFirst(static_cast<xmlParserCtxtPtr>(c)->_private, e); };
    ctxt->_private = &first;
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_IGNORE_ENC);
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(ctxt);
    if (first.line == 0)
        return std::nullopt;
    return first;
}

TEST(WellFormedness, TheFirstErrorWithItsPlaceAndLibxml2sMessage)
{
    EXPECT_FALSE(FirstWellFormednessError("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>é</a>\n"));
    EXPECT_FALSE(FirstWellFormednessError("<!DOCTYPE a [<!ENTITY e \"<b/>\">]>\n<a>&e;</a>"));
    EXPECT_FALSE(FirstWellFormednessError("<!DOCTYPE a SYSTEM \"a.dtd\">\n<a>&declaredThere;</a>"))
        << "entities may be declared in a DTD the check does not read";

    const auto mismatch = FirstWellFormednessError("<a>\n  <b>é</c>\n</a>\n");
    ASSERT_TRUE(mismatch);
    EXPECT_EQ(mismatch->line, 2);
    EXPECT_EQ(mismatch->column, 11) << "columns count characters, not bytes";
    EXPECT_NE(mismatch->message.find("mismatch"), std::string::npos) << mismatch->message;

    const auto undeclared = FirstWellFormednessError("<a>&nope;</a>");
    ASSERT_TRUE(undeclared);
    EXPECT_NE(undeclared->message.find("nope"), std::string::npos);

    EXPECT_TRUE(FirstWellFormednessError("<a>"));
    EXPECT_TRUE(FirstWellFormednessError(""));
}

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when unknown.
long StatusKiB(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return 0;
}

// The check runs on a copy of a document that may be hundreds of megabytes:
// it must not take another copy of its own. One line of many elements, as
// machine-written XML comes; then the same broken at its very end, where the
// error is still placed.
TEST(WellFormedness, ABigTextIsCheckedWithoutACopyOfIt)
{
    std::string text = "<catalog>";
    while (text.size() < (32u << 20))
        text += "<book id=\"bk1\" lang=\"zh\"><title>Title &amp; more</title><price>47.71</price></book>";
    const size_t body = text.size();
    text += "</catalog>";

    // The peak starts again from the present size (Linux).
    if (!(std::ofstream("/proc/self/clear_refs") << "5") || StatusKiB("VmHWM") == 0)
        GTEST_SKIP() << "the peak memory cannot be reset here";
    const long before = StatusKiB("VmRSS");
    EXPECT_FALSE(FirstWellFormednessError(text));
    const long riseKiB = StatusKiB("VmHWM") - before;
    EXPECT_LT(riseKiB, static_cast<long>(body / 1024 / 8)) << "KiB more at the peak";

    text.replace(body, std::string::npos, "</catalgo>");
    const auto found = FirstWellFormednessError(text);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->line, 1);
    EXPECT_GT(found->column, static_cast<int>(body)) << found->message;
    EXPECT_LE(found->column, static_cast<int>(text.size()) + 1) << found->message;
}

TEST(WellFormedness, ACancelledCheckAnswersNothing)
{
    std::atomic<bool> cancel = true;
    EXPECT_FALSE(FirstWellFormednessError("<a>", &cancel));
}

TEST(WellFormedness, AgreesWithTheTreeParseOnBrokenSampleDocuments)
{
    std::mt19937 random(17);
    int compared = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(TARNWICK_TEST_DATA) + "/documents")) {
        const std::string original = testing::ReadFile(entry.path().string());
        if (original.find('\0') != std::string::npos)
            continue; // not UTF-8 text
        for (int trial = 0; trial < 40; ++trial) {
            std::string text = original;
            const size_t at = std::uniform_int_distribution<size_t>(0, text.size() - 1)(random);
            const char *inserts[] = {"<", "&", "</x>", "\"", ">", ""};
            text.replace(at, trial % 3 == 0 ? 0 : 1, inserts[trial % 6]);
            const auto expected = TreeParseError(text);
            const auto found = FirstWellFormednessError(text);
            ASSERT_EQ(found.has_value(), expected.has_value()) << entry.path() << " at " << at;
            if (found) {
                EXPECT_EQ(found->line, expected->line) << entry.path() << " at " << at;
                EXPECT_EQ(found->column, expected->column) << entry.path() << " at " << at;
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 200);
}

} // namespace
} // namespace tarnwick::xml
