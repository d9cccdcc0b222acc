// Opening a document file for the editor without holding its tree: the text
// a document object's load of the file shows (its serialisation) is written
// out while the file is parsed, so a huge document never stands in memory as
// a tree.
#pragma once

#include "xml/xml_options.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tarnwick::xml {

// Where the text goes: the children of the root element as the parse
// completes them, in order (Append), then once what surrounds them: the
// declaration, the prolog and the root's start tag (head), the root's end
// tag and the epilog (tail).
class TTextAssembly {
public:
    virtual ~TTextAssembly() = default;
    virtual void Append(std::string_view text) = 0;
    virtual void Surround(std::string_view head, std::string_view tail) = 0;
};

// How far the reading of a file has got.
using TReadProgress = std::function<void(size_t bytesRead, size_t fileSize)>;

// Parses the file at `path` as TXMLDocument::LoadFile with `options` does
// and gives `out` the text its XML().Text() would hold, with LF line breaks.
// Handles UTF-8 files read with whitespace preserved; returns false, with
// nothing to be kept of what `out` got, for every other file, option set and
// failure: the document object's own load then reads the file and reports
// what is wrong with it.
bool StreamDocumentText(const std::string &path, TParseOptions options, TTextAssembly &out,
                        const TReadProgress &progress = {});

} // namespace tarnwick::xml
