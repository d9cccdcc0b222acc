// Reading a document file whole, within bounds: no more than the parser can
// take, and never from a device that has no end.
#pragma once

#include <cstddef>
#include <string>

namespace tarnwick::xml {

// The most bytes a document may have: libxml2 parses at most 2 GiB - 1 from memory.
inline constexpr size_t kMaxDocumentBytes = 0x7FFFFFFF;

// Reads the whole of `path` into `bytes`; "-" is standard input. A regular
// file, a pipe or a terminal is read to its end; a folder and a device other
// than a terminal (/dev/zero, a disk) are refused before anything is read,
// and a pipe that goes on past kMaxDocumentBytes is refused when it gets
// there. Returns the reason it could not be read, empty on success; running
// out of memory is such a reason, never an exception.
std::string ReadDocumentBytes(const std::string &path, std::string &bytes);

} // namespace tarnwick::xml
