// The main window: menu, tool bar, caption strip, the editor and the status
// strip, and the document workflow (New, Open, Save, Save as, the close query).
// The window owns the one document of the run: its text lives in the editor,
// and the XML document object serves to parse, re-serialise and save it.
#pragma once

#include "app/command_table.h"
#include "app/file_dialogs.h"
#include "app/recent_files.h"
#include "editor/control/find_dialog.h"
#include "editor/highlight/xml_styler.h"
#include "editor/document/line_end.h"
#include "xml/file_text.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string_view>

class QAction;
class QLabel;
class QMenu;
class QtFindDialogWindow;
class XmlCompletionSource;
class StatusFields;
class QToolButton;
class DodiWidget;
class LongWork;
class ProgressStrip;
class TAboutBox;
class TfrmAddNode;
class TFrmGoto;
class TfrmConfig;
class XmlTools;
class OutlineSlot;

namespace tarnwick {
class REdoDodi;
class TBackgroundChecker;
} // namespace tarnwick

class TForm1 : public QMainWindow {
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Replaceable for tests: the file dialogs answer a path, or empty when cancelled.
    std::function<QString()> ChooseOpenFile;
    std::function<QString()> ChooseSaveFile;

    tarnwick::REdoDodi &Editor() { return *DidIzad1; }
    DodiWidget &EditorWidget() { return *editorWidget_; }
    tarnwick::xml::TXMLDocument &Document() { return XMLDoc1; }
    TfrmConfig &ConfigDialog() { return *frmConfig; }
    TfrmAddNode &AddNodeDialog() { return *frmAddNode; }
    TFrmGoto &GotoDialog() { return *FrmGoto; }
    // Empty while the document has no file (at start-up and after New).
    const QString &CurrentFileName() const { return CurrentFileName_; }
    bool DocumentModified() const { return DocumentModified_; }
    QString StatusText() const;
    StatusFields &StatusBarFields() { return *statusFields_; }
    // Long commands: their work, and the progress they show in the status strip.
    LongWork &Work() { return *longWork_; }
    ProgressStrip &Progress() { return *progress_; }
    QMenu &RecentFilesMenu() { return *recentMenu_; }
    QtFindDialogWindow &FindWindow() { return *findWindow_; }
    XmlTools &Tools() { return *xmlTools_; }
    QAction *MenuItem(const char *name) const;
    QToolButton *ToolButton(const char *name) const;

    // Runs a command as its menu item or tool bar button does, under the
    // application's error handler.
    void Run(CommandId command);
    // Open's steps after the dialog: load `path` and show it.
    void OpenFile(const QString &path);
    // A new document without a file, of a file's `bytes` (a transform's
    // result), after asking about unsaved changes; false when the user kept
    // the old one.
    bool OpenUnnamed(std::string bytes);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // A file dropped anywhere on the window opens as Open would open it.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void BuildMenu();
    void BuildToolBar(QWidget *strip);
    QWidget *BuildCaptionStrip();
    QWidget *BuildStatusStrip();
    void Perform(CommandId command);

    void FormActivate();
    bool FormCloseQuery();
    void DidIzad1Change();
    void DidIzad1MarkerAdded(int lineNo, const std::string &markerText);

    void New1Click();
    void ToolButton1Click();
    void ToolButton6Click();
    void Saveas1Click();
    void ToolButton14Click();
    void ToolButton8Click();
    void DeleteLine1Click();
    void WordWrap1Click();
    void ToolButton12Click();
    void ToolButton2Click();
    void ToolButton9Click();
    void DocConfiguration1Click();
    void ToolButton13Click();
    void ToolButton11Click();
    void Goto1Click();

    // Desktop integration (main_window_desktop.cpp): recent files, dropped
    // files, the status fields.
    void FillRecentMenu();
    void OpenRecentFile(const QString &path);
    // A dropped file, once the drop is over: asks about unsaved changes,
    // then opens it.
    void OpenDroppedFile(const QString &path);
    void UpdateCaretStatus();
    void ShowElementPath(const QString &path);
    void UpdateEncodingStatus();
    // Where the file dialogs start: the current file's folder, or the last used file's.
    DialogStart FileDialogStart() const;

    // Save, or Save as when the document has no file; false when nothing
    // was written (cancelled by the user).
    bool SaveDocument();
    bool SaveDocumentAs();
    // Save's writing to `path`: the text parsed and written, or, when it is
    // not well-formed and the user agrees, written as it is. False when the
    // user declined.
    bool WriteDocument(const QString &path);
    void ShowSaved();
    // Every line break of the document becomes `style`, as one undoable step.
    void ConvertLineEnds(tarnwick::TLineEnd style);
    // Before the document is replaced or closed: true when it is unchanged or
    // the user saved or discarded it.
    bool MayReplaceDocument(bool closing);
    void ShowOpened(const QString &path);
    // The caret to the line and column of a parse error of the editor's text, in view.
    void PlaceCaretAtError(tarnwick::xml::IDOMParseError &where);
    void ShowDocumentEncoding();
    // Puts text in place of the editor's as one undoable edit.
    void ReplaceEditorText(const std::string &text);

    // The editor's text, taken beforehand, into the document object, parsed;
    // runs as long work (touches no widget).
    void CopyTextIntoDocument(const std::string &text, const std::string &folder);
    void SetTitleToFile();
    void SetStatus(const char *status);
    std::string DocumentFolder() const;

    DodiWidget *editorWidget_ = nullptr;
    tarnwick::REdoDodi *DidIzad1 = nullptr;
    tarnwick::TDodiXMLStyler DodiXMLStyler1;
    std::unique_ptr<tarnwick::REdoDodiFindDialog> DidIzadFindDialog1;
    // Help while typing: completion entries, and the live check of the form.
    std::unique_ptr<XmlCompletionSource> xmlCompletion_;
    std::unique_ptr<tarnwick::TBackgroundChecker> formChecker_;
    // The element tree the form check builds of the text it reads.
    std::shared_ptr<OutlineSlot> outlineSlot_;
    tarnwick::xml::TXMLDocument XMLDoc1;
    TAboutBox *AboutBox = nullptr;
    TfrmAddNode *frmAddNode = nullptr;
    TFrmGoto *FrmGoto = nullptr;
    TfrmConfig *frmConfig = nullptr;
    QLabel *Label4 = nullptr;       // status
    QLabel *elementPath_ = nullptr; // the caret's element, under the status
    StatusFields *statusFields_ = nullptr;
    ProgressStrip *progress_ = nullptr;
    LongWork *longWork_ = nullptr;
    QtFindDialogWindow *findWindow_ = nullptr;
    XmlTools *xmlTools_ = nullptr; // XPath, Validate Against and their docks
    QMenu *recentMenu_ = nullptr;
    RecentFiles recentFiles_;
    // A drop's file is waiting to be opened; further files of the drop are not.
    bool dropPending_ = false;
    // What the status says after a save that wrote over the file in place.
    QString savedNote_;
    QString CurrentFileName_;
    // How the document's file was encoded when opened or last saved: Save
    // writes the same bytes for the same text.
    tarnwick::xml::TFileFormat fileFormat_;
    bool DocumentModified_ = false;
    bool activated_ = false;
    std::map<std::string, QAction *> menuItems_;
    std::map<std::string, QToolButton *> toolButtons_;
};
