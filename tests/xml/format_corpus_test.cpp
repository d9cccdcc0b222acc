// Format on real documents: the test data and documents of the system (font
// configuration, MIME database, SVG icons; those missing are skipped). Each
// keeps its canonical form without whitespace-only text, its document type
// declaration and the content to be kept as written; those without such
// content come out as xmllint lays them out.
#include <algorithm>
#include <filesystem>

#include "format_oracles.h"
#include "xml/doctype_text.h"
#include "xml/format_file.h"
#include "xml/transcode.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

namespace fs = std::filesystem;
using testing::XmlTest;

void AddFiles(const fs::path &folder, const std::vector<std::string> &extensions, size_t most,
              std::vector<std::string> &files)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file(ec) && std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
            found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    // An even spread over what is there, the same on every run.
    const size_t step = std::max<size_t>(1, found.size() / std::max<size_t>(1, most));
    for (size_t i = 0; i < found.size() && i / step < most; i += step)
        files.push_back(found[i]);
}

std::vector<std::string> Corpus()
{
    std::vector<std::string> files;
    AddFiles(std::string(TARNWICK_TEST_DATA) + "/xml", {".xml", ".xsd", ".svg", ".xhtml"}, 100, files);
    for (const char *path : {"/etc/fonts/fonts.conf", "/usr/share/mime/packages/freedesktop.org.xml",
                             "/usr/share/xml/iso-codes/iso_3166-1.xml"})
        if (fs::exists(path))
            files.push_back(path);
    AddFiles("/usr/share/icons", {".svg"}, 30, files);
    AddFiles("/usr/share/doc", {".svg", ".xml"}, 10, files);
    return files;
}

std::string DecodedText(const std::string &path)
{
    std::string bytes = testing::ReadFile(path);
    const std::string encoding = DetectDocumentEncoding(bytes);
    return DecodeToUtf8(std::move(bytes), encoding);
}

std::string WithLfLineBreaks(std::string_view text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i] == '\r' ? '\n' : text[i];
    }
    return result;
}

// Nothing for Format to keep as written, and nothing xmllint judges apart
// from its layout: no internal subset, no xml:space, and no element with
// both character data and whitespace-only text.
bool LaidOutAlike(xmlNodePtr parent)
{
    for (xmlNodePtr node = parent->children; node; node = node->next) {
        if (node->type == XML_DTD_NODE && node->children)
            return false;
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (xmlHasNsProp(node, BAD_CAST "space", XML_XML_NAMESPACE))
            return false;
        bool blank = false;
        for (xmlNodePtr child = node->children; child; child = child->next)
            blank = blank || testing::IsBlankText(child);
        if (blank && testing::HoldsCharacterData(node) && !testing::HoldsOnlyBlankText(node))
            return false;
        if (!LaidOutAlike(node))
            return false;
    }
    return true;
}

TEST_F(XmlTest, RealDocumentsKeepTheirMeaningDocumentTypeAndKeptContent)
{
    int formatted = 0;
    for (const std::string &path : Corpus()) {
        testing::DocPtr source = testing::ParseFile(path, XML_PARSE_NOENT);
        if (!source)
            continue; // a system file that is not well-formed
        SCOPED_TRACE(path);
        const std::string result = FormatXMLFile(path);
        EXPECT_EQ(testing::CanonicalWithoutBlankText(testing::ParseText(result, XML_PARSE_NOENT, path.c_str()).get()),
                  testing::CanonicalWithoutBlankText(source.get()));
        EXPECT_EQ(testing::ContentKeptAsWritten(testing::ParseText(result, 0, path.c_str()).get()),
                  testing::ContentKeptAsWritten(testing::ParseFile(path).get()));
        const std::string text = DecodedText(path);
        EXPECT_EQ(std::string(DocumentTypeText(result)), WithLfLineBreaks(DocumentTypeText(text)));
        ++formatted;
    }
    EXPECT_GE(formatted, 8);
}

TEST_F(XmlTest, RealDocumentsWithNothingToKeepComeOutAsXmllintLaysThemOut)
{
    int compared = 0;
    for (const std::string &path : Corpus()) {
        const std::string text = DecodedText(path);
        testing::DocPtr source = testing::ParseText(text, 0, path.c_str());
        if (!source || !LaidOutAlike(reinterpret_cast<xmlNodePtr>(source.get())))
            continue;
        SCOPED_TRACE(path);
        EXPECT_EQ(testing::WithoutDeclaration(FormatXMLFile(path, "UTF-8")), testing::XmllintFormat(text));
        ++compared;
    }
    EXPECT_GE(compared, 3);
}

} // namespace
} // namespace tarnwick::xml
