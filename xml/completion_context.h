// CompletionContext: what stands at a position of XML text for completing
// there: the kind of place (an element's name after "<", an end tag's name
// after "</", an attribute's name in a start tag, a quoted attribute value),
// what is typed of it, and the elements around it.
#pragma once

#include "xml/text_lines.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::xml {

class ScanCheckpoints;

enum class CompletionPlace : uint8_t { None, ElementName, EndTagName, AttributeName, AttributeValue };

struct CompletionContext {
    CompletionPlace place = CompletionPlace::None;
    // What is typed of the name or value before the position.
    std::string prefix;
    // The elements open at the position, outermost first.
    std::vector<std::string> openElements;
    // The element whose start tag holds the position, the attribute whose
    // value it is in, and the attributes that tag already has.
    std::string element;
    std::string attribute;
    std::vector<std::string> presentAttributes;
    // Element children of the innermost open element before and after the
    // position (at most 64 each, the nearest ones).
    std::vector<std::string> precedingSiblings;
    std::vector<std::string> followingSiblings;
    // The document's first element, its attributes, and its "<!DOCTYPE ...>"
    // as written.
    std::string rootName;
    std::vector<std::pair<std::string, std::string>> rootAttributes;
    std::string documentType;
};

// The context at byte `byte` of line `line`. Reads the text from its start
// (or from the nearest of the checkpoints kept) to the position, and after it
// only as far as the innermost element goes (or 64 siblings, or about a
// megabyte).
CompletionContext FindCompletionContext(const TextLines &text, int line, size_t byte,
                                        ScanCheckpoints *checkpoints = nullptr);

// True when the text just before the position can only be text content: a
// ">" comes before any "<" on the way back over a few lines. Lets a caller
// skip the scan from the start of a long text where no tag is being typed.
bool PlainlyInText(const TextLines &text, int line, size_t byte);

} // namespace tarnwick::xml
