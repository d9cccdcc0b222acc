// A document file's bytes as the editor's UTF-8 text and back: the text
// keeps every character and line end of the file, and the format it was read
// in writes the same text back to the same bytes.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::xml {

// How a file's bytes were turned into text, so the same text goes back to
// the same bytes.
struct TFileFormat {
    // The codec the bytes were decoded with. Unicode forms carry their byte
    // order ("UTF-8", "UTF-16LE", "UTF-16BE", "UTF-32LE", "UTF-32BE"); the
    // two code pages decoded here are "ISO-8859-1" and "windows-1252"; any
    // other encoding keeps the spelling its declaration gave it.
    std::string encoding = "UTF-8";
    // The file began with a byte order mark, written back. Only the Unicode
    // forms have one.
    bool byteOrderMark = false;
    // The encoding the text's declaration named when read, as written there
    // ("" for none).
    std::string declared;
    // One sentence for the status strip when the bytes were not what the
    // declaration or the mark says, else empty.
    std::string mismatch;
};

struct TFileText {
    std::string text; // UTF-8; the file's line ends (CR LF, LF, CR) as they are; no byte order mark
    TFileFormat format;
};

// Decodes a file's bytes by its byte order mark, else its declaration, else
// as UTF-8. Never throws for content: bytes that are not what they claim to
// be are read as Windows-1252, in which every byte is a character of its own,
// and `mismatch` says so. For every input,
// EncodeFileText(result.text, result.format) == bytes. A NUL character is
// decoded like any other. Valid UTF-8 becomes the text without a copy.
TFileText DecodeFileText(std::string bytes);

// Reads and decodes a file. Raises EXMLLayerError ("The file \"PATH\" cannot
// be read: reason") when it cannot be read.
TFileText ReadFileText(const std::string &path);

// The format to write `text` in. While the text's declaration names what it
// named when read (compared case-insensitively), that is the opened format.
// Otherwise it is the newly declared encoding (UTF-8 for none), with a byte
// order mark where a save always writes one (UTF-16 and UTF-32 named without
// a byte order) or where the opened file had one in the same Unicode form.
// `mismatch` is empty.
TFileFormat FormatForSave(std::string_view text, const TFileFormat &opened);

// UTF-8 text in `format`, with its byte order mark when it says so. A
// character the encoding cannot hold becomes a character reference, as
// EncodeFromUtf8 writes it, and EXMLLayerError is raised where none can
// stand (see unencodable_markup.h) or when nobody knows the encoding. Line
// ends are written as they are.
std::string EncodeFileText(std::string_view text, const TFileFormat &format);

} // namespace tarnwick::xml
