#include "xml/tool_parse.h"

#include "xml/byte_form.h"
#include "xml/file_read.h"
#include "xml/libxml2_dom.h"
#include "xml/transcode.h"
#include "xml/xml_errors.h"

#include <filesystem>

namespace tarnwick::xml::libxml2 {

DocPtr ParseForTools(std::string_view text, const std::string &baseDirectory)
{
    InstallEntityLoader();
    ParseRequest request;
    request.bytes = text;
    request.ignoreDeclaredEncoding = true;
    request.baseDirectory = baseDirectory;
    // Whitespace text is part of what the tools see (text(), string values).
    request.preserveWhiteSpace = true;
    // Read as it stands: naming UTF-8 would run the text through a UTF-8 to
    // UTF-8 conversion, and the declared encoding is ignored anyway.
    request.streamed = true;
    CapturedError error;
    DocPtr doc(ParseDocument(request, error), xmlFreeDoc);
    if (!doc) {
        IDOMParseErrorPtr parseError = MakeParseError(error);
        throw EDOMParseError(ParseErrorMessage(*parseError), parseError);
    }
    // The parse keeps the declaration as a processing instruction, which is
    // no part of the content.
    if (xmlNodePtr declaration = DeclarationPI(doc.get())) {
        xmlUnlinkNode(declaration);
        xmlFreeNode(declaration);
    }
    return doc;
}

ToolFile ReadToolFile(const std::string &path)
{
    std::string bytes;
    if (const std::string why = ReadDocumentBytes(path, bytes); !why.empty())
        throw EXMLLayerError("The file \"" + path + "\" cannot be opened: " + why);
    if (const TByteFormFault fault = FindByteFormFault(bytes); !fault.reason.empty())
        throw EXMLLayerError("The file \"" + path + "\" is not well-formed: " + fault.reason);
    const std::string form = DetectDocumentEncoding(bytes);
    ToolFile file;
    file.text = DecodeToUtf8(std::move(bytes), form);
    file.folder = path == "-" ? std::string() : std::filesystem::absolute(path).parent_path().string();
    return file;
}

} // namespace tarnwick::xml::libxml2
