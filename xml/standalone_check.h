// A validity constraint libxml2 leaves out: in a document declared
// standalone="yes", no attribute declared in the external subset with a
// tokenized type may have a value that normalization changes (leading,
// trailing or repeated spaces), since a reader that skips the external
// subset would see another value.
#pragma once

#include <libxml/tree.h>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

// Checks the valid tree `doc` parsed from `request`; fills `error` (not
// valid) at the first attribute that breaks the constraint.
void CheckStandaloneAttributes(xmlDocPtr doc, const ParseRequest &request, CapturedError &error);

} // namespace tarnwick::xml::libxml2
