// Reading a UTF-8 document file a slice at a time, so that a huge file is
// never held whole beside the lines made of it.
#pragma once

#include "xml/file_text.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::xml {

// How far the reading of a file has got.
using TReadProgress = std::function<void(size_t bytesRead, size_t fileSize)>;

// Hands the text of the regular file at `path` to `out` in slices, as
// ReadFileText would decode it, and returns its format, when the file is
// UTF-8 from start to end (by its byte order mark, its declaration or the
// lack of one). Returns nothing, once `out` may have had some of the text,
// for a file that is not: another encoding, a byte that is not UTF-8, not a
// regular file. The caller then starts again with ReadFileText, which
// decides what such a file holds. Raises EXMLLayerError when the file
// cannot be read.
std::optional<TFileFormat> StreamUtf8FileText(const std::string &path, const std::function<void(std::string_view)> &out,
                                              const TReadProgress &progress = {});

} // namespace tarnwick::xml
