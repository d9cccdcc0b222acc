// Where the XML layer may read a document's external resources (its DTD,
// parameter and external entities, schemas and RELAX NG grammars) from: the
// document's folder and below, the files the system's XML catalog names for
// well-known public identifiers, and the folders the user allows besides.
// Anything else is refused without being opened.
#pragma once

#include <string>
#include <vector>

namespace tarnwick::xml {

struct ExternalAccess {
    // Folders read from besides the document's own, each with what lies below it.
    std::vector<std::string> allowedFolders;
    // The catalog that maps public and system identifiers to local files.
    std::string catalog = "/etc/xml/catalog";
};

// Sets what every later load in the process may read; folders are taken as
// absolute paths (relative ones against the working folder).
void SetExternalAccess(const ExternalAccess &access);
ExternalAccess CurrentExternalAccess();

} // namespace tarnwick::xml
