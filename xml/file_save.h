// Writing a saved document's bytes to its file: a regular file is replaced
// whole or not at all; a terminal, a pipe or a device is written in place.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::xml {

// How a save went where the file could not be replaced whole.
struct TSaveReport {
    std::string inPlaceReason; // why it was written over where it stands; empty when replaced
    std::string keptCopy;      // where its old text was copied first
};

// The folder where a file's old text is kept before it is written over:
// tarnwick/recovery in $XDG_STATE_HOME, by default ~/.local/state.
std::string RecoveryFolder();

// Saves `bytes` as the file `path`.
// - A regular file, or a name that holds nothing yet, is written through a
//   temporary file in its folder, flushed to disk and renamed over it, so a
//   save that fails or is killed leaves the old file whole. The old file's
//   permission bits (and owner, where allowed) are kept. A file without write
//   permission (for this user, or for anyone) is refused: "The file is
//   read-only". A file that cannot be replaced without harm (it has other
//   names, hard links, that would keep the old text; its folder lets no new
//   file be made) is written over where it stands, its old text first copied
//   into the recovery folder; the report says so.
// - A symbolic link is followed to the file it names, which is replaced or,
//   for a dangling link, created; the link itself stays.
// - A character device (/dev/null, a terminal) or a named pipe is written in
//   place and never replaced; a pipe that nothing reads is refused.
// - /dev/stdout, /dev/stderr and /dev/fd/N are the process's own open files:
//   the bytes go to that descriptor where it stands.
// - A folder, a socket or a block device is refused.
// Raises EXMLLayerError ("Cannot save \"PATH\": reason") on failure.
TSaveReport WriteDocumentFile(const std::string &path, std::string_view bytes);

} // namespace tarnwick::xml
