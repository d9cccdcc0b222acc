// Fuzz target for the XML layer: the input is opened as a document the ways
// the program opens one (the editor's text, and a file's bytes decoded by
// their declaration), serialised, formatted and validated. Nothing may crash
// or misbehave under the sanitizers, and text that Format accepts comes out
// well-formed.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>

#include "xml/libxml2_vendor.h"
#include "xml/pretty_printer.h"
#include "xml/xml_document.h"

namespace {

using namespace tarnwick::xml;

// Documents stay small so that each run is quick.
constexpr size_t kMaxInput = 64 * 1024;

// Opens the text as the main window does with its editor's text, and writes
// it back out; true when it is a well-formed document with a root element
// (an empty text opens as an empty document).
bool OpenAndWrite(const std::string &text, TParseOptions options)
{
    TXMLDocument document;
    document.SetNodeIndentStr("    ");
    document.SetOptions({doNodeAutoIndent});
    document.SetParseOptions(options);
    try {
        document.XML().SetText(text);
        document.SetActive(true);
        const bool hasRoot = document.RootElement() != nullptr;
        std::string written;
        document.SaveString(written);
        document.SetDeclEncoding("UTF-8");
        written = document.XML().Text();
        return hasRoot;
    } catch (const std::exception &) {
        return false;
    }
}

// Opens the bytes as a file's, decoded by their declaration.
void OpenBytes(const std::string &bytes)
{
    TXMLDocument document;
    try {
        std::istringstream stream(bytes);
        document.LoadStream(stream);
        std::ostringstream out;
        document.SaveStream(out);
    } catch (const std::exception &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool registered = (RegisterLibxml2Vendor(), true);
    (void)registered;
    if (size > kMaxInput)
        return 0;
    const std::string text(reinterpret_cast<const char *>(data), size);
    const bool wellFormed = OpenAndWrite(text, {poPreserveWhiteSpace});
    OpenAndWrite(text, {poValidateOnParse});
    OpenBytes(text);
    std::string formatted;
    try {
        formatted = FormatXML(text, "UTF-8");
    } catch (const std::exception &) {
        return 0;
    }
    // What Format gives back opens again.
    if (wellFormed && !OpenAndWrite(formatted, {poPreserveWhiteSpace}))
        __builtin_trap();
    return 0;
}
