#include "app/xml_commands.h"

#include "xml/format_file.h"
#include "xml/libxml2_vendor.h"
#include "xml/pretty_printer.h"

#include <filesystem>
#include <ostream>

namespace tarnwick {

using namespace xml;

namespace {

std::string FolderOf(const std::string &path) { return std::filesystem::absolute(path).parent_path().string(); }

// Terminal text: the CR LF breaks of the document layer become plain LF.
std::string WithUnixLineBreaks(const std::string &text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

} // namespace

std::string FormatDocument(TXMLDocument &document, const std::string &text, const std::string &encoding,
                           const std::string &baseDirectory)
{
    // One parse and one pass of the writer give the text the editor shows,
    // declaration and character references included; parsing that text into
    // the document again would only give the same text back. The document
    // lets go of what it holds (an opened file's tree and text) before the
    // parse, and keeps no copy of the result: every command that uses it
    // copies the editor's text in first.
    document.SetActive(false);
    document.XML().Clear();
    return FormatXML(text, encoding, baseDirectory);
}

ValidationReport ValidateDocument(TXMLDocument &document, const std::string &text, const std::string &baseDirectory)
{
    // Open, Save and Format keep parsing with the options they had: whitespace
    // kept, no grammar read.
    struct RestoreOptions {
        TXMLDocument &document;
        TParseOptions options = document.ParseOptions();
        ~RestoreOptions() { document.SetParseOptions(options); }
    } restore{document};
    document.XML().SetText(text);
    document.SetParseOptions({poValidateOnParse});
    document.SetBaseDirectory(baseDirectory);
    document.SetActive(true);

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

int RunFormatCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    const std::string &path = line.files.front();
    try {
        RegisterLibxml2Vendor();
        const std::string formatted = FormatXMLFile(path, line.encoding);
        if (line.output.empty()) {
            out.write(formatted.data(), static_cast<std::streamsize>(formatted.size()));
            out.flush();
        } else {
            // Written as Save writes it: in the declared encoding, replacing the file whole.
            TXMLDocument saved;
            ConfigureShellDocument(saved);
            saved.XML().SetText(formatted);
            saved.SetActive(true);
            saved.SaveFile(line.output);
        }
        return out.good() ? 0 : 1;
    } catch (const std::exception &error) {
        err << path << ": " << WithUnixLineBreaks(error.what()) << "\n";
        return 1;
    }
}

int RunValidateCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    RegisterLibxml2Vendor();
    int status = 0;
    for (const std::string &path : line.files) {
        try {
            TXMLDocument document;
            ConfigureShellDocument(document);
            const ValidationReport report = ValidateFile(document, path);
            if (report.valid) {
                out << path << ": " << report.message << "\n";
            } else {
                err << path << ": " << report.message << "\n";
                status = 1;
            }
        } catch (const std::exception &error) {
            err << path << ": " << WithUnixLineBreaks(error.what()) << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace tarnwick
