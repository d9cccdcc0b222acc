// The Open and Save as dialogs: the file types they offer and the folder they
// start in: the current file's, or without one the last used file's.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

struct DialogStart {
    QString currentFile; // the document's file; empty before the first Open or Save as
    QString recentFile;  // the most recently used file, if any
};

// The Open dialog offers XML files under their many names (.xml, .svg, .xsd,
// .xsl, ...) and all files.
void PrepareOpenDialog(QFileDialog &dialog, const DialogStart &start);
// The Save as dialog offers XML files and all files, adds ".XML" to a name
// typed without extension, and proposes the current file's name.
void PrepareSaveDialog(QFileDialog &dialog, const DialogStart &start);

// Run the prepared dialogs: the chosen path, or empty when cancelled.
QString AskOpenPath(QWidget *owner, const DialogStart &start);
QString AskSavePath(QWidget *owner, const DialogStart &start);
