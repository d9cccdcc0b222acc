// PrettyPrintXML and FormatXML: the declaration each gives the formatted
// text, around the vendor's one-pass parse and layout.
#include "xml/pretty_printer.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "xml/declaration.h"
#include "xml/dom_interfaces.h"
#include "xml/transcode.h"
#include "xml/vendor_registry.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

using DeclarationRule = std::function<std::string(const std::string &)>;

std::string Upper(const std::string &text)
{
    std::string result = text;
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

std::string DeclarationLine(const std::string &version, const std::string &encoding, const std::string &standalone)
{
    std::string text;
    AppendDeclarationItem(text, "version", version);
    AppendDeclarationItem(text, "encoding", encoding);
    AppendDeclarationItem(text, "standalone", standalone);
    return "<?xml " + text + "?>";
}

// Encodings that hold every character, so that nothing becomes a reference.
bool HoldsEveryCharacter(const std::string &encoding)
{
    static const char *const kNames[] = {"",         "UTF-8",  "UTF8",     "UTF-16",  "UTF-16LE",
                                         "UTF-16BE", "UTF-32", "UTF-32LE", "UTF-32BE"};
    const std::string name = Upper(encoding);
    return std::any_of(std::begin(kNames), std::end(kNames), [&](const char *n) { return name == n; });
}

std::string Format(const std::string &text, const std::string &baseDirectory, const DeclarationRule &rule)
{
    auto formatter = QueryInterface<IDOMTextFormatter>(VendorImplementation(DefaultVendorName()));
    if (!formatter)
        throw DOMException(SDOMNotSupported);
    std::string result;
    if (IDOMParseErrorPtr error = formatter->formatText(text, baseDirectory, rule, result))
        throw EDOMParseError(ParseErrorMessage(*error), error);
    return result;
}

} // namespace

std::string PrettyPrintXML(const std::string &text)
{
    return Format(text, "", [](const std::string &declaration) -> std::string {
        if (declaration.empty())
            return "";
        // Text given as decoded characters can only have declared a UTF-16 form.
        std::string encoding = DeclarationValue("encoding", declaration, "");
        const auto &wide = WideEncodings();
        if (std::find(wide.begin(), wide.end(), Upper(encoding)) == wide.end())
            encoding.clear();
        std::string version = DeclarationValue("version", declaration, "");
        std::string standalone = DeclarationValue("standalone", declaration, "");
        if (version.empty() && encoding.empty() && standalone.empty())
            return "";
        return DeclarationLine(version.empty() ? "1.0" : version, encoding, standalone);
    });
}

std::string FormatXML(const std::string &text, const std::string &encoding, const std::string &baseDirectory)
{
    auto rule = [&](const std::string &declaration) {
        return DeclarationLine(DeclarationValue("version", declaration, "1.0"), encoding,
                               DeclarationValue("standalone", declaration, ""));
    };
    std::string formatted = Format(text, baseDirectory, rule);
    if (HoldsEveryCharacter(encoding))
        return formatted;
    return DecodeToUtf8(EncodeFromUtf8(formatted, encoding), encoding);
}

} // namespace tarnwick::xml
