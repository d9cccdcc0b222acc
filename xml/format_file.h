// The command line's --format: a document file formatted as Format formats
// the editor's text after the file was opened.
#pragma once

#include <string>

namespace tarnwick::xml {

// The file decoded by its byte-order mark or declaration (UTF-8 without
// either) and formatted by FormatXML under a declaration naming `encoding`,
// or the file's declared encoding when that is empty (UTF-8 without one).
// `path` "-" is standard input. Raises EXMLLayerError when the file cannot
// be read or is empty, or when the encoding cannot hold a character where no
// character reference can stand (naming the file's line), and what FormatXML
// raises.
std::string FormatXMLFile(const std::string &path, const std::string &encoding = "");

} // namespace tarnwick::xml
