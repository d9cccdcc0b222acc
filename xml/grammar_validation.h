// Validation of a document against a grammar the user names (a DTD, an XML
// Schema or a RELAX NG grammar, whatever the document itself names), with
// every error collected rather than the first. The grammar and what it
// includes are read from local files through the layer's entity loader.
#pragma once

#include "xml/problem_list.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

enum class GrammarKind { Dtd, Schema, RelaxNG };

// The kind a grammar file's extension names (.dtd, .xsd, .rng), none for
// any other.
std::optional<GrammarKind> GrammarKindOfFile(const std::string &path);

using GrammarProblem = DocumentProblem;

struct GrammarReport {
    bool valid = false;                   // no errors (there may be warnings)
    std::vector<GrammarProblem> problems; // the first ones, in the order found
    size_t problemCount = 0;              // all of them, listed or not
};

// Validates UTF-8 `text` against the grammar at `grammarPath` (relative
// references in the text are taken against `baseDirectory`). Lists up to
// `listed` problems. Raises EDOMParseError when the text is not well-formed,
// EXMLLayerError when the grammar cannot be read or is not a grammar of its
// kind (naming its file, line and the reason).
GrammarReport ValidateAgainstGrammar(std::string_view text, const std::string &grammarPath,
                                     const std::string &baseDirectory, size_t listed = kListedProblems);

// The same for a document file, decoded as Open decodes it.
GrammarReport ValidateFileAgainstGrammar(const std::string &path, const std::string &grammarPath,
                                         size_t listed = kListedProblems);

} // namespace tarnwick::xml
