// The RELAX NG grammar a document names in an <?xml-model href="..."?>
// processing instruction before its root, as xsi:schemaLocation names an
// XML Schema: found and checked as part of Validate.
#pragma once

#include "xml/libxml2_internal.h"

#include <string>

namespace tarnwick::xml::libxml2 {

// A pseudo-attribute of a processing instruction's text (name="value" or
// name='value'), empty when it is not there.
std::string PseudoAttribute(const std::string &text, const std::string &name);

// The href of the first xml-model instruction that names a RELAX NG grammar
// (by its schematypens, else by an href ending in .rng), empty when none.
std::string ModelGrammarLocation(xmlDocPtr doc);

// Validates against that grammar, read from a local file relative to
// `baseDirectory`; a document naming none is valid. Fills `error` with the
// first error and returns false when not valid or when the grammar cannot
// be read (then with Verdict::NotChecked).
bool ValidateAgainstModelGrammar(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error);

} // namespace tarnwick::xml::libxml2
