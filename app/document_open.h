// Open's reading of a file for the editor: the text the document object
// shows for it, cut into the editor's lines away from the window's thread.
// A UTF-8 file opened with whitespace kept is read without its tree ever
// standing whole in memory, and without the text being held beside its
// lines; other files go through the document object's own load. The document
// object keeps nothing afterwards: every command copies the editor's text
// into it first.
#pragma once

#include "editor/document/line_store.h"
#include "xml/xml_document.h"

#include <QString>

#include <vector>

class LongWork;

// Throws what the document object's LoadFile throws for the file.
std::vector<tarnwick::REdoDodiStrings::TStoredLine>
ReadDocumentLines(LongWork &work, tarnwick::xml::TXMLDocument &document, const QString &path, int tabSize);
