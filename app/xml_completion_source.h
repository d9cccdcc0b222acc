// XmlCompletionSource: gives the main window's editor its completion entries
// for XML through the editor's completion events: element names after "<",
// the open element's name after "</", attribute names in a start tag and
// enumerated values inside an attribute's quotes, from the document's DTD or
// schema when it names one that can be read locally, else from the names the
// document already uses.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/document/lines_listener.h"
#include "xml/scan_checkpoints.h"
#include "xml/xml_completion.h"

#include <QObject>
#include <functional>
#include <optional>
#include <string>

namespace tarnwick {
class TCustomDodi;
}

class XmlCompletionSource : public tarnwick::TLinesListener {
public:
    // documentFolder: where the document's relative DTD and schema
    // references are read from (empty for a document without a file).
    XmlCompletionSource(tarnwick::TCustomDodi &editor, std::function<std::string()> documentFolder);
    ~XmlCompletionSource() override;
    XmlCompletionSource(const XmlCompletionSource &) = delete;
    XmlCompletionSource &operator=(const XmlCompletionSource &) = delete;

    // Every change of the text makes the kept scan states after it stale.
    void LinesChanged(tarnwick::REdoDodiStrings &lines, const tarnwick::TLinesChange &change) override;

private:
    void FillList(tarnwick::TCompletionItems &list);
    void ChooseEntry(std::string &entry);

    tarnwick::TCustomDodi &editor_;
    std::function<std::string()> documentFolder_;
    tarnwick::xml::ScanCheckpoints checkpoints_;
    // What the list opened with; the list's narrowing and widening as the
    // user types filters these again instead of reading the text anew.
    std::optional<tarnwick::xml::CompletionOffer> session_;
    // Owns the queued caret moves, so none outlives this object.
    QObject queue_;
};
