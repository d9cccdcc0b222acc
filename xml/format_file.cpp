// Reading a document file whole and formatting its text.
#include "xml/format_file.h"

#include <filesystem>

#include "xml/byte_form.h"
#include "xml/declaration.h"
#include "xml/file_read.h"
#include "xml/pretty_printer.h"
#include "xml/transcode.h"
#include "xml/unencodable_markup.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

std::string FormatXMLFile(const std::string &path, const std::string &encoding)
{
    std::string bytes;
    if (const std::string why = ReadDocumentBytes(path, bytes); !why.empty())
        throw EXMLLayerError("The file \"" + path + "\" cannot be opened: " + why);
    // A file that is not well-formed is not formatted, whatever the text it decodes to.
    if (const TByteFormFault fault = FindByteFormFault(bytes); !fault.reason.empty())
        throw EXMLLayerError("The file \"" + path + "\" is not well-formed: " + fault.reason);
    const std::string form = DetectDocumentEncoding(bytes);
    const std::string text = DecodeToUtf8(std::move(bytes), form);
    // An empty editor formats to a declaration, but an empty file holds no
    // document to format.
    if (text.empty())
        throw EXMLLayerError("The file \"" + path + "\" holds no document: it is empty");
    std::string declared = encoding.empty() ? DeclaredEncoding(text) : encoding;
    if (declared.empty())
        declared = "UTF-8";
    const std::string folder = std::filesystem::absolute(path).parent_path().string();
    return NamingSourceLines([&] { return std::string_view(text); }, declared,
                             [&] { return FormatXML(text, declared, folder); });
}

} // namespace tarnwick::xml
