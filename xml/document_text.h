// A document file's text as it stands, for text the parser rejects: read so
// that it can be shown and repaired, and written back without a parse.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::xml {

struct TDocumentText {
    std::string text;     // UTF-8, the file's line breaks kept
    std::string encoding; // what it was decoded from (DetectDocumentEncoding)
};

// Reads a whole file and decodes it by its byte-order mark or declaration,
// else as UTF-8, keeping every byte that does not decode visible on its own
// (DecodeKeepingInvalidBytes). Raises EXMLLayerError when the file cannot be
// read.
TDocumentText ReadDocumentText(const std::string &path);

// Writes UTF-8 text as it stands: CR LF and CR become LF, as a saved document
// has them, and the text is encoded in the encoding its declaration names
// (UTF-8 without one) as SaveFile encodes a document. The old file is
// replaced only once the new one is complete. Raises EXMLLayerError with a
// readable message on failure.
void SaveDocumentText(const std::string &path, std::string_view text);

} // namespace tarnwick::xml
