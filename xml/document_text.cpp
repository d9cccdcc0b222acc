// Reading and writing a document's text without parsing it.
#include "xml/document_text.h"

#include "xml/declaration.h"
#include "xml/file_read.h"
#include "xml/file_save.h"
#include "xml/transcode.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

std::string WithLfLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

TDocumentText ReadDocumentText(const std::string &path)
{
    std::string bytes;
    if (const std::string why = ReadDocumentBytes(path, bytes); !why.empty())
        throw EXMLLayerError("The file \"" + path + "\" cannot be read: " + why);
    TDocumentText result;
    result.encoding = DetectDocumentEncoding(bytes);
    result.text = DecodeKeepingInvalidBytes(bytes, result.encoding);
    return result;
}

void SaveDocumentText(const std::string &path, std::string_view text)
{
    const std::string encoding = DeclaredEncoding(text);
    const std::string bytes = EncodeFromUtf8(WithLfLineBreaks(text), encoding.empty() ? "UTF-8" : encoding);
    WriteDocumentFile(path, bytes);
}

} // namespace tarnwick::xml
