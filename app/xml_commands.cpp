#include "app/xml_commands.h"

#include "app/command_output.h"
#include "xml/declaration.h"
#include "xml/file_save.h"
#include "xml/file_text.h"
#include "xml/format_file.h"
#include "xml/libxml2_vendor.h"
#include "xml/pretty_printer.h"
#include "xml/transcode.h"
#include "xml/unencodable_markup.h"
#include "xml/xml_errors.h"

#include <filesystem>
#include <new>
#include <ostream>
#include <sstream>

namespace tarnwick {

using namespace xml;

namespace {

std::string FolderOf(const std::string &path) { return std::filesystem::absolute(path).parent_path().string(); }

} // namespace

void ReleaseDocument(TXMLDocument &document)
{
    document.SetActive(false);
    document.XML().Clear();
}

std::string DocumentText(xml::TXMLDocument &document, TLineEnd end)
{
    std::string text;
    for (const std::string &line : document.XML().Lines())
        (text += line) += LineEndText(end);
    return text;
}

std::string FormatDocument(TXMLDocument &document, const std::string &text, const std::string &encoding,
                           const std::string &baseDirectory)
{
    // One parse and one pass of the writer give the text the editor shows,
    // declaration and character references included; parsing that text into
    // the document again would only give the same text back. The document
    // lets go of what it holds (an opened file's tree and text) before the
    // parse, and keeps no copy of the result: every command that uses it
    // copies the editor's text in first.
    ReleaseDocument(document);
    return NamingSourceLines([&] { return std::string_view(text); }, encoding,
                             [&] { return FormatXML(text, encoding, baseDirectory); });
}

ValidationReport ValidateDocument(TXMLDocument &document, const std::string &text, const TFileFormat &format,
                                  const std::string &baseDirectory)
{
    // Open, Save and Format keep parsing with the options they had: whitespace
    // kept, no grammar read.
    struct RestoreOptions {
        TXMLDocument &document;
        TParseOptions options = document.ParseOptions();
        ~RestoreOptions() { document.SetParseOptions(options); }
    } restore{document};
    ReleasedAfter release{document};
    std::istringstream bytes(EncodeFileText(text, format));
    document.SetParseOptions({poValidateOnParse});
    document.SetBaseDirectory(baseDirectory);
    document.LoadStream(bytes);

    // Activation has just parsed this very text with validation and thrown at
    // the first error, so the parse error it leaves is the one a second load
    // of the text would report; a second parse would only double the time.
    auto error = document.DOMPersistAccess()->parseError();
    if (error->errorCode() == 0)
        return {true, "XML document is valid."};
    return {false, DescribeParseError(*error)};
}

ValidationReport ValidateFile(TXMLDocument &document, const std::string &path)
{
    // One validating parse of the file as it is on disk: errors point at the
    // file's own lines, and no serialised copy is made first.
    document.SetActive(false);
    document.SetParseOptions({poValidateOnParse});
    document.SetBaseDirectory(FolderOf(path));
    document.LoadFile(path);
    auto error = document.DOMPersistAccess()->parseError();
    if (error->errorCode() == 0)
        return {true, "XML document is valid."};
    return {false, DescribeParseError(*error)};
}

std::string DescribeParseError(IDOMParseError &error)
{
    // Line and position are parted by a colon so the two numbers read apart.
    return "Error in " + std::to_string(error.line()) + ":" + std::to_string(error.linepos()) + ": " + error.srcText() +
           ": " + error.reason();
}

void ConfigureShellDocument(TXMLDocument &document)
{
    document.SetNodeIndentStr("    ");
    document.SetOptions({doNodeAutoIndent});
    document.SetParseOptions({poPreserveWhiteSpace});
}

namespace {

// Runs one file's command; a failure is reported on one line and gives false.
template <typename Command>
bool ReportingFailures(const std::string &path, std::ostream &err, Command command)
{
    try {
        return command();
    } catch (const EDOMParseError &error) {
        if (error.ParseError())
            err << FileReportLine(path, *error.ParseError()) << "\n";
        else
            err << FileReportLine(path, error.what()) << "\n";
    } catch (const std::bad_alloc &) {
        err << FileReportLine(path, "there is not enough memory for this file") << "\n";
    } catch (const std::exception &error) {
        err << FileReportLine(path, error.what()) << "\n";
    }
    return false;
}

} // namespace

int RunFormatCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    const std::string &path = line.files.front();
    const bool done = ReportingFailures(path, err, [&] {
        RegisterLibxml2Vendor();
        // Standard output and OUT get the same bytes, in the encoding the
        // declaration names; OUT is written as Save writes a file.
        std::string bytes = FormatXMLFile(path, line.encoding);
        const std::string declared = DeclaredEncoding(bytes);
        if (!IsUtf8Encoding(declared))
            bytes = EncodeFromUtf8(bytes, declared);
        if (line.output.empty() || line.output == "-") {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
        } else {
            WriteDocumentFile(line.output, bytes);
        }
        return true;
    });
    return done && out.good() ? 0 : 1;
}

int RunValidateCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    RegisterLibxml2Vendor();
    int status = 0;
    for (const std::string &path : line.files) {
        const bool valid = ReportingFailures(path, err, [&] {
            TXMLDocument document;
            ConfigureShellDocument(document);
            const ValidationReport report = ValidateFile(document, path);
            if (report.valid)
                out << FileReportLine(path, report.message) << "\n";
            else
                err << FileReportLine(path, *document.DOMPersistAccess()->parseError()) << "\n";
            return report.valid;
        });
        if (!valid)
            status = 1;
    }
    return status;
}

} // namespace tarnwick
