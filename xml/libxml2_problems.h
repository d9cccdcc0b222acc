// libxml2's structured errors as entries of a problem list (inner part of
// the libxml2 vendor): the handler validators report through, which keeps
// the first error as before and lists every error and warning besides.
#pragma once

#include "xml/libxml2_internal.h"
#include "xml/problem_list.h"

namespace tarnwick::xml::libxml2 {

// One error or warning as a list shows it: at the line of the node it names
// (which knows lines past 65535) or else its own, the message on one line.
DocumentProblem ProblemOf(xmlErrorPtr error);

// Structured error handler adding to the ProblemList given as data.
void ListProblem(void *list, xmlErrorPtr error);

// What a validator reports to: the first error into `first`, as
// CaptureStructuredError keeps it, and every error and warning into the list
// of the ProblemListScope that lived when this was made, if any.
struct ValidatorErrors {
    explicit ValidatorErrors(CapturedError &first) : first(first) {}
    CapturedError &first;
    ProblemList *list = ProblemListScope::Current();
    static void Handle(void *self, xmlErrorPtr error);
};

} // namespace tarnwick::xml::libxml2
