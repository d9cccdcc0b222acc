// The verdict of a load, read from its parse error.
#include "xml/verdict.h"

#include "xml/dom_interfaces.h"

namespace tarnwick::xml {

Verdict VerdictOf(const std::shared_ptr<IDOMParseError> &error)
{
    if (error == nullptr || error->errorCode() == 0)
        return Verdict::Valid;
    if (auto *told = dynamic_cast<IDOMVerdict *>(error.get()))
        return told->verdict();
    return Verdict::NotValid;
}

bool ErrorInAnotherFile(const std::shared_ptr<IDOMParseError> &error)
{
    auto *told = error && error->errorCode() != 0 ? dynamic_cast<IDOMVerdict *>(error.get()) : nullptr;
    return told && told->inAnotherFile();
}

const char *VerdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Valid:
        return "valid";
    case Verdict::NotValid:
        return "not valid";
    case Verdict::NotWellFormed:
        return "not well-formed";
    case Verdict::NotChecked:
        break;
    }
    return "could not be checked";
}

} // namespace tarnwick::xml
