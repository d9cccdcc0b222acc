#include "xml/libxml2_problems.h"

#include <algorithm>

namespace tarnwick::xml::libxml2 {

DocumentProblem ProblemOf(xmlErrorPtr error)
{
    CapturedError captured;
    CaptureError(captured, error, false);
    int line = error->line;
    if (error->node != nullptr) {
        const long nodeLine = xmlGetLineNo(static_cast<xmlNodePtr>(error->node));
        if (nodeLine > 0)
            line = static_cast<int>(nodeLine);
    }
    return {std::max(line, 0), std::max(error->int2, 0), std::move(captured.reason), error->level < XML_ERR_ERROR};
}

void ListProblem(void *list, xmlErrorPtr error)
{
    if (list != nullptr && error != nullptr && error->level != XML_ERR_NONE)
        static_cast<ProblemList *>(list)->Add(ProblemOf(error));
}

void ValidatorErrors::Handle(void *self, xmlErrorPtr error)
{
    auto *errors = static_cast<ValidatorErrors *>(self);
    CaptureStructuredError(&errors->first, error);
    ListProblem(errors->list, error);
}

} // namespace tarnwick::xml::libxml2
