// Validity constraints on attribute values that libxml2 leaves out, checked
// over the tree of a validating parse.
#pragma once

#include <libxml/tree.h>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml::libxml2 {

// In a document declared standalone="yes", no attribute declared in the
// external subset with a tokenized type may have a value that normalization
// changes (leading, trailing or repeated spaces), since a reader that skips
// the external subset would see another value. Checks the valid tree `doc`
// parsed from `request`; fills `error` (not valid) at the first attribute
// that breaks it.
void CheckStandaloneAttributes(xmlDocPtr doc, const ParseRequest &request, CapturedError &error);

// Under namespaces, the values of ID, IDREF(S), ENTITY(IES) and NOTATION
// attributes are names without a colon. Fills `error` (not valid) at the
// first value that holds one.
void CheckColonlessNames(xmlDocPtr doc, CapturedError &error);

// Whether an attribute `attribute` of the tree names the entity `entity`,
// as written or by a default its declaration gives an element that lacks
// it. A default that no element takes may name an undeclared entity.
bool NamesEntity(xmlDocPtr doc, const std::string &attribute, const std::string &entity);

} // namespace tarnwick::xml::libxml2
