// Open's reading of a file for the editor: the file's own text, decoded and
// cut into the editor's lines away from the window's thread. Nothing is
// parsed: the checks read the editor's text once it is shown.
#pragma once

#include "editor/document/line_store.h"
#include "xml/file_text.h"

#include <QString>

class LongWork;

struct OpenedDocument {
    tarnwick::REdoDodiStrings::TReadLines lines;
    // How the file's bytes became the text, so Save can give the same bytes back.
    tarnwick::xml::TFileFormat format;
};

// Throws EXMLLayerError when the file cannot be read or holds no text (a NUL
// character, as binary files do).
OpenedDocument ReadDocumentLines(LongWork &work, const QString &path);
