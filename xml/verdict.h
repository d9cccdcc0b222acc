// What a validating load found out about a document: valid, not valid, not
// well-formed, or not checked at all because something it needs could not be
// read (a DTD, an entity, a schema, the file itself).
#pragma once

#include <memory>

namespace tarnwick::xml {

class IDOMParseError;

enum class Verdict { Valid, NotValid, NotWellFormed, NotChecked };

// A parse error that knows which kind of failure it is; the libxml2 vendor's
// parse errors are.
class IDOMVerdict {
public:
    virtual ~IDOMVerdict() = default;
    virtual Verdict verdict() = 0;
    // True when the error lies in a file the document reads (its DTD, an
    // entity), not in the document's own text.
    virtual bool inAnotherFile() = 0;
};

// The verdict a load's parse error gives: Valid for no error (null or code
// 0), else what the error says of itself, NotValid for a vendor that does not
// tell.
Verdict VerdictOf(const std::shared_ptr<IDOMParseError> &error);

// Whether the error says it lies in a file the document reads; false for a
// vendor that does not tell.
bool ErrorInAnotherFile(const std::shared_ptr<IDOMParseError> &error);

// "valid", "not valid", "not well-formed", "could not be checked".
const char *VerdictText(Verdict verdict);

} // namespace tarnwick::xml
