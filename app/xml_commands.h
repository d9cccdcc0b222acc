// The XML commands on a document's text: Format (Tidy) and Validate. The main
// window and the command line run these same functions; the text goes in and
// comes out whole, with CR LF line breaks, as it crosses to and from the editor.
#pragma once

#include "app/command_line.h"
#include "editor/document/line_end.h"
#include "xml/file_text.h"
#include "xml/xml_document.h"

#include <iosfwd>
#include <string>

namespace tarnwick {

// Lets go of the document's tree and text. The editor holds the text and
// every command copies it into the document first; a tree takes many times
// the size of its text, so none is kept between commands.
void ReleaseDocument(xml::TXMLDocument &document);

// Releases the document when it leaves scope, also when a command throws.
struct ReleasedAfter {
    xml::TXMLDocument &document;
    ~ReleasedAfter() { ReleaseDocument(document); }
};

// The document object's text with each line ended by `end`: what the editor
// loads when the document object made the text (New, Add Node), so that the
// editor's lines keep the break they are to be saved with.
std::string DocumentText(xml::TXMLDocument &document, TLineEnd end);

// Re-indents `text` as Format (Tidy) does and writes `encoding` into the
// declaration; returns the text the editor shows next. `document` is left
// inactive and empty. Throws what the XML layer throws (not well-formed text,
// an unknown encoding), in which case the caller's text is to stay as it was.
std::string FormatDocument(xml::TXMLDocument &document, const std::string &text, const std::string &encoding,
                           const std::string &baseDirectory);

struct ValidationReport {
    bool valid = false;
    std::string message; // "XML document is valid." or the first error
};

// Validates `text` as the bytes Save writes for it in `format` (see
// EncodeFileText), so the verdict is the one --validate gives the saved file:
// a byte order mark the declaration contradicts, or broken UTF-16, is not
// well-formed here too. Relative references are resolved against
// `baseDirectory`. Validation is for this parse only: the document's parse
// options are as they were afterwards, also when it throws, and it keeps
// neither the text nor the tree.
// A text that is not well-formed or not valid throws EDOMParseError; a report
// with valid == false carries a load error that the document kept without
// throwing.
ValidationReport ValidateDocument(xml::TXMLDocument &document, const std::string &text, const xml::TFileFormat &format,
                                  const std::string &baseDirectory);

// Validates the file at `path` as it is on disk, in one parse; throws as
// ValidateDocument does.
ValidationReport ValidateFile(xml::TXMLDocument &document, const std::string &path);

// A parse error as Validate reports it: "Error in " line ":" column ": "
// source text ": " reason.
std::string DescribeParseError(xml::IDOMParseError &error);

// Gives a document the settings of the main window's document after New.
void ConfigureShellDocument(xml::TXMLDocument &document);

// The command line's --format and --validate; they return the exit status.
int RunFormatCommand(const CommandLine &line, std::ostream &out, std::ostream &err);
int RunValidateCommand(const CommandLine &line, std::ostream &out, std::ostream &err);

} // namespace tarnwick
