#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/add_node_dialog.h"
#include "app/application_icon.h"
#include "app/comment_toggle.h"
#include "app/config_dialog.h"
#include "app/document_open.h"
#include "app/document_outline.h"
#include "app/error_guard.h"
#include "app/goto_dialog.h"
#include "app/long_work.h"
#include "app/main_editor_settings.h"
#include "app/main_styler.h"
#include "app/message_helpers.h"
#include "app/problems_list.h"
#include "app/progress_strip.h"
#include "app/shell_editor_widget.h"
#include "app/shell_images.h"
#include "app/shell_links.h"
#include "app/shell_settings.h"
#include "app/status_fields.h"
#include "app/strip_panel.h"
#include "app/xml_commands.h"
#include "app/xml_completion_source.h"
#include "app/xml_form_checker.h"
#include "app/xml_tools.h"
#include "editor/control/redodi.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/find_dialog_window.h"
#include "editor/undo/undo_list.h"
#include "xml/declaration.h"
#include "xml/file_save.h"
#include "xml/problem_list.h"
#include "xml/unencodable_markup.h"
#include "xml/vendor_registry.h"
#include "xml/verdict.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <optional>

using namespace tarnwick;
using namespace tarnwick::xml;

namespace {

QFont PixelFont(const char *family, int pixels, bool bold, bool underline = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

QLabel *LinkLabel(const char *address, QWidget *parent)
{
    auto *label = new QLabel(QString::fromLatin1(address), parent);
    label->setFont(PixelFont("Verdana", 13, true, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x96, 0x96, 0xd3)); // 0xD39696 as BGR
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarnwick"));
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    resize(844, 517);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    XMLDoc1.SetNodeIndentStr("    ");
    XMLDoc1.SetOptions({doNodeAutoCreate, doNodeAutoIndent, doAttrNull, doAutoPrefix, doNamespaceDecl});
    XMLDoc1.SetParseOptions({poPreserveWhiteSpace});

    ConfigureMainStyler(DodiXMLStyler1);
    editorWidget_ = new ShellEditorWidget(this);
    editorWidget_->setObjectName(QStringLiteral("DidIzad1"));
    DidIzad1 = &editorWidget_->Control();
    ConfigureMainEditor(*DidIzad1, DodiXMLStyler1);
    DidIzad1->OnChange = [this](TCustomDodi &) { DidIzad1Change(); };
    DidIzad1->OnMarkerAdded = [this](int line, const std::string &text) { DidIzad1MarkerAdded(line, text); };
    DidIzad1->OnStatusChange = [this](TCustomDodi &) { UpdateCaretStatus(); };
    // The Insert key flips the mode right after asking; nobody else refuses it.
    DidIzad1->OnOverwriteToggle = [this](TCustomDodi &ed, bool &allow) {
        if (allow)
            statusFields_->ShowOverwrite(!ed.Overwrite());
    };
    DidIzad1->OnFind = [this](TCustomDodi &) { Run(CommandId::Search); };
    // A file dropped on the editor opens as the document, as anywhere else on
    // the window, rather than replacing the text behind the document's back.
    DidIzad1->OnFileDrop = [this](TCustomDodi &, const std::string &name, bool &defaultHandler) {
        defaultHandler = false;
        if (!dropPending_) {
            dropPending_ = true;
            QMetaObject::invokeMethod(
                this, [this, path = QString::fromStdString(name)] { OpenDroppedFile(path); }, Qt::QueuedConnection);
        }
    };
    // Opened once the click is over, so an error box does not take the
    // mouse release from the editor.
    DidIzad1->OnURLClick = [this](TCustomDodi &, const std::string &url) {
        QMetaObject::invokeMethod(
            this, [address = QString::fromStdString(url)] { RunGuarded([&] { OpenAddress(address); }); },
            Qt::QueuedConnection);
    };
    xmlCompletion_ = std::make_unique<XmlCompletionSource>(*DidIzad1, [this] { return DocumentFolder(); });
    outlineSlot_ = std::make_shared<OutlineSlot>();
    formChecker_ = MakeXmlFormChecker(outlineSlot_);
    DidIzad1->SetMemoChecker(formChecker_.get());
    auto findWindow = std::make_unique<QtFindDialogWindow>(this);
    findWindow_ = findWindow.get();
    DidIzadFindDialog1 = std::make_unique<REdoDodiFindDialog>(std::move(findWindow));
    DidIzadFindDialog1->SetDidIzad(DidIzad1);
    DidIzadFindDialog1->SetNotFoundMessage("Finished searching the document. The search item was not found.");
    DidIzadFindDialog1->OnWrapAround = [this](REdoDodiFindDialog &, bool down, bool &goOn) {
        QWidget *owner = findWindow_->isVisible() ? static_cast<QWidget *>(findWindow_) : this;
        goOn = AskContinueSearchQuestion(owner, down) == MessageAnswer::Yes;
    };

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *toolStrip = new StripPanel(StripBackground(StripKind::ToolBar), 55, central);
    toolStrip->SetBottomEdge(true);
    BuildToolBar(toolStrip);
    layout->addWidget(toolStrip);
    layout->addWidget(BuildCaptionStrip());
    layout->addWidget(editorWidget_, 1);
    layout->addWidget(BuildStatusStrip());
    longWork_ = new LongWork(*this, *progress_);
    setCentralWidget(central);
    xmlTools_ = new XmlTools(*this);
    formChecker_->OnChecked = [this](TBackgroundChecker &checker) {
        xmlTools_->Problems().SetFormCheck(checker.Marks());
        if (std::shared_ptr<const ElementOutline> outline = outlineSlot_->Take())
            xmlTools_->Outline().SetOutline(std::move(outline));
    };
    xmlTools_->Outline().OnPathChange = [this](const QString &path) { ShowElementPath(path); };
    BuildMenu();

    // The dialogs live, hidden, for the whole run.
    AboutBox = new TAboutBox(this);
    frmAddNode = new TfrmAddNode(*DidIzad1, XMLDoc1, this);
    FrmGoto = new TFrmGoto(*DidIzad1, this);
    frmConfig = new TfrmConfig(this);

    // Where the user left the window last time, else centred.
    if (!RestoreWindowGeometry(*this))
        if (QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    ChooseOpenFile = [this] { return AskOpenPath(this, FileDialogStart()); };
    ChooseSaveFile = [this] { return AskSavePath(this, FileDialogStart()); };
}

// The tools listen to the editor's lines: they go before the editor does.
TForm1::~TForm1()
{
    formChecker_->OnChecked = nullptr;
    delete xmlTools_;
}

void TForm1::BuildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    std::map<std::string, QMenu *> menus;
    for (const char *caption : MenuCaptions())
        menus[caption] = bar->addMenu(QString::fromLatin1(caption));
    for (const MenuRow &row : MenuRows()) {
        QAction *item = nullptr;
        if (row.command == CommandId::RecentFiles) {
            recentMenu_ = menus[row.menu]->addMenu(QString::fromLatin1(row.caption));
            recentMenu_->setObjectName(QStringLiteral("RecentFilesMenu"));
            item = recentMenu_->menuAction();
        } else {
            item = menus[row.menu]->addAction(QString::fromLatin1(row.caption));
        }
        item->setObjectName(QString::fromLatin1(row.name));
        item->setVisible(!row.hidden);
        if (*row.shortcut)
            item->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(row.shortcut)));
        // Find Next and Previous also work while the find dialog has the focus.
        if (row.command == CommandId::FindNext || row.command == CommandId::FindPrevious)
            item->setShortcutContext(Qt::ApplicationShortcut);
        if (row.command == CommandId::WordWrap || row.command == CommandId::ShowProblems ||
            row.command == CommandId::ShowOutline)
            item->setCheckable(true);
        if (row.command != CommandId::None && row.command != CommandId::RecentFiles)
            connect(item, &QAction::triggered, this, [this, command = row.command] { Run(command); });
        menuItems_[row.name] = item;
        if (row.separatorAfter)
            menus[row.menu]->addSeparator();
    }
    // The items are checked while their docks are open, however opened.
    for (auto [name, dock] : {std::pair<const char *, QDockWidget *>{"Problems1", &xmlTools_->ProblemsDock()},
                              {"Outline1", &xmlTools_->Outline().Dock()}}) {
        QAction *item = MenuItem(name);
        item->setChecked(dock->toggleViewAction()->isChecked());
        connect(dock->toggleViewAction(), &QAction::toggled, item, &QAction::setChecked);
    }
    FillRecentMenu();
}

void TForm1::BuildToolBar(QWidget *strip)
{
    auto *bar = new QToolBar(strip);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: none; spacing: 0px; }"));
    auto *layout = new QVBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 1);
    layout->addWidget(bar);
    // Captions must fit 55-pixel buttons; where Tahoma is missing, a font of
    // its width stands in rather than the wider default sans.
    QFont captionFont = PixelFont("Tahoma", 11, false);
    captionFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    for (const ToolButtonRow &row : ToolButtonRows()) {
        if (!row.name) {
            auto *gap = new QWidget(bar);
            gap->setFixedWidth(8);
            bar->addWidget(gap);
            continue;
        }
        auto *button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setText(QString::fromLatin1(row.caption));
        button->setIcon(ToolBarImage(row.image));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFont(captionFont);
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(55, 52);
        connect(button, &QToolButton::clicked, this, [this, command = row.command] { Run(command); });
        QAction *slot = bar->addWidget(button);
        slot->setVisible(!row.hidden);
        toolButtons_[row.name] = button;
    }
}

QWidget *TForm1::BuildCaptionStrip()
{
    auto *panel = new StripPanel(StripBackground(StripKind::Caption), 30);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *caption = new QLabel(QStringLiteral("Tarnwick"), panel);
    caption->setObjectName(QStringLiteral("Label5"));
    caption->setFont(PixelFont("Tahoma", 13, true));
    caption->move(12, 7);
    return panel;
}

QWidget *TForm1::BuildStatusStrip()
{
    auto *panel = new StripPanel(StripBackground(StripKind::Status), 43);
    panel->setObjectName(QStringLiteral("Panel2"));
    Label4 = new QLabel(QStringLiteral("Status:"), panel);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(PixelFont("Tahoma", 11, true));
    Label4->setMinimumWidth(200);
    Label4->move(10, 7);
    // Under the status, the path of the caret's element; a click copies it.
    elementPath_ = new QLabel(panel);
    elementPath_->setObjectName(QStringLiteral("ElementPath"));
    elementPath_->setFont(PixelFont("Tahoma", 11, false));
    elementPath_->setFixedSize(Label4->minimumWidth(), 15);
    elementPath_->move(10, 25);
    elementPath_->setCursor(Qt::PointingHandCursor);
    OnClick(elementPath_, [this] {
        if (!xmlTools_->Outline().CaretPath().isEmpty())
            QGuiApplication::clipboard()->setText(xmlTools_->Outline().CaretPath());
    });

    // The status text keeps its place; the fields follow it on its line and
    // the links stand at the right edge.
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(Label4->x() + Label4->minimumWidth() + 8, 0, 8, 0);
    statusFields_ = new StatusFields(panel);
    row->addWidget(statusFields_, 0, Qt::AlignVCenter);
    progress_ = new ProgressStrip(panel);
    row->addWidget(progress_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    auto *links = new QVBoxLayout;
    row->addLayout(links);
    links->setContentsMargins(0, 2, 0, 2);
    links->setSpacing(0);
    QLabel *site = LinkLabel(kWebSiteAddress, panel);
    site->setObjectName(QStringLiteral("Label2"));
    QLabel *social = LinkLabel(kSocialPageAddress, panel);
    social->setObjectName(QStringLiteral("Label1"));
    links->addWidget(site, 0, Qt::AlignRight);
    links->addWidget(social, 0, Qt::AlignRight);
    OnClick(site, [] { OpenAddress(QString::fromLatin1(kWebSiteAddress)); });
    OnClick(social, [] { OpenAddress(QString::fromLatin1(kSocialPageAddress)); });
    return panel;
}

QString TForm1::StatusText() const { return Label4->text(); }

QAction *TForm1::MenuItem(const char *name) const
{
    auto found = menuItems_.find(name);
    return found == menuItems_.end() ? nullptr : found->second;
}

QToolButton *TForm1::ToolButton(const char *name) const
{
    auto found = toolButtons_.find(name);
    return found == toolButtons_.end() ? nullptr : found->second;
}

void TForm1::Run(CommandId command)
{
    RunGuarded([&] { Perform(command); });
}

void TForm1::Perform(CommandId command)
{
    switch (command) {
    case CommandId::None:
        break;
    case CommandId::New:
        New1Click();
        break;
    case CommandId::Open:
        ToolButton1Click();
        break;
    case CommandId::Save:
        ToolButton6Click();
        break;
    case CommandId::SaveAs:
        Saveas1Click();
        break;
    case CommandId::HiddenClose:
        ToolButton14Click();
        break;
    case CommandId::Print:
        ToolButton8Click();
        break;
    case CommandId::Exit:
        close();
        break;
    case CommandId::Undo:
        DidIzad1->Undo();
        break;
    case CommandId::Redo:
        DidIzad1->Redo();
        DidIzad1->Invalidate();
        break;
    case CommandId::Cut:
        DidIzad1->CutToClipboard();
        break;
    case CommandId::Copy:
        DidIzad1->CopyToClipboard();
        break;
    case CommandId::Paste:
        DidIzad1->PasteFromClipboard();
        break;
    case CommandId::Delete:
        DidIzad1->Clear();
        break;
    case CommandId::SelectAll:
        DidIzad1->SelectAll();
        break;
    case CommandId::DeleteLine:
        DeleteLine1Click();
        break;
    case CommandId::WordWrap:
        WordWrap1Click();
        break;
    case CommandId::ViewInBrowser:
        ToolButton12Click();
        break;
    case CommandId::Format:
        ToolButton2Click();
        break;
    case CommandId::Validate:
        ToolButton9Click();
        break;
    case CommandId::DocConfiguration:
        DocConfiguration1Click();
        break;
    case CommandId::About:
        AboutBox->exec();
        break;
    case CommandId::AddNode:
        ToolButton13Click();
        break;
    case CommandId::GoTo:
        Goto1Click();
        break;
    case CommandId::Search:
        ToolButton11Click();
        break;
    case CommandId::FindNext:
        DidIzadFindDialog1->FindAgain(true);
        break;
    case CommandId::FindPrevious:
        DidIzadFindDialog1->FindAgain(false);
        break;
    case CommandId::RecentFiles:
        break;
    case CommandId::CollapseRegion:
        DidIzad1->CollapseRegionAtCaret();
        break;
    case CommandId::ExpandRegion:
        DidIzad1->ExpandRegionAtCaret();
        break;
    case CommandId::CollapseAllRegions:
        DidIzad1->CollapseAllRegions();
        break;
    case CommandId::ExpandAllRegions:
        DidIzad1->ExpandAllRegions();
        break;
    case CommandId::LineEndsLf:
        ConvertLineEnds(leLF);
        break;
    case CommandId::LineEndsCrLf:
        ConvertLineEnds(leCRLF);
        break;
    case CommandId::LineEndsCr:
        ConvertLineEnds(leCR);
        break;
    case CommandId::EvaluateXPath:
        xmlTools_->EvaluateXPath();
        break;
    case CommandId::ValidateAgainst:
        xmlTools_->ValidateAgainst();
        break;
    case CommandId::ShowProblems:
        xmlTools_->Problems().ShowOrHide();
        break;
    case CommandId::ShowOutline:
        xmlTools_->Outline().ShowOrHide();
        break;
    case CommandId::Transform:
        xmlTools_->Transform();
        break;
    case CommandId::ToggleComment:
        if (ToggleComment(*DidIzad1) == CommentPlan::cpRefused)
            ShowErrorMessage(
                QStringLiteral("A comment cannot hold \"--\", and these lines do: they were left as they are."));
        break;
    }
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!activated_) {
        activated_ = true;
        RunGuarded([this] { FormActivate(); });
    }
}

void TForm1::FormActivate() { New1Click(); }

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery()) {
        StoreWindowGeometry(*this);
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::FormCloseQuery() { return MayReplaceDocument(true); }

bool TForm1::MayReplaceDocument(bool closing)
{
    if (!DocumentModified_)
        return true;
    switch (closing ? AskExitQuestion(this) : AskSaveChangesQuestion(this)) {
    case MessageAnswer::Save: {
        bool saved = false;
        return RunGuarded([&] { saved = SaveDocument(); }) && saved;
    }
    case MessageAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void TForm1::DidIzad1Change()
{
    DocumentModified_ = true;
    SetStatus("Status: changed");
    UpdateEncodingStatus();
    FitGutterToLineNumbers(*DidIzad1);
    if (!windowTitle().startsWith(QLatin1Char('*')))
        setWindowTitle(QStringLiteral("* ") + windowTitle());
}

void TForm1::DidIzad1MarkerAdded(int, const std::string &markerText)
{
    ShowPlainMessage(QString::fromStdString(markerText));
}

void TForm1::New1Click()
{
    if (!MayReplaceDocument(false))
        return;
    // The generated document has no file: Save asks for one.
    CurrentFileName_.clear();
    SetTitleToFile();
    DidIzad1->Clear();
    XMLDoc1.XML().Clear();
    XMLDoc1.SetActive(true);
    XMLDoc1.SetDeclVersion("1.0");
    XMLDoc1.SetDeclEncoding("ISO-8859-1");
    XMLDoc1.SetOptions({doNodeAutoIndent});
    IXMLNodePtr root = XMLDoc1.AddElement("xml");
    root->AddElement("a");
    XMLDoc1.NewElement("here", "a");
    // A new document's lines end with LF.
    DidIzad1->Lines()->LoadFromString(DocumentText(XMLDoc1, leLF));
    fileFormat_ = {};
    statusFields_->ShowNote({});

    frmConfig->ComboBox1->setEditText(QString::fromStdString(XMLDoc1.DeclVersion()));
    ShowDocumentEncoding();
    QStringList vendors;
    for (TDOMVendor *vendor : RegisteredVendors())
        vendors << QString::fromStdString(vendor->VendorDescription());
    frmConfig->SetVendorItems(vendors);
    TDOMVendor *vendor = XMLDoc1.DOMVendor() ? XMLDoc1.DOMVendor() : FindVendor("");
    frmConfig->ComboBox3->setEditText(QString::fromStdString(vendor->VendorDescription()));
}

void TForm1::ToolButton1Click()
{
    if (!MayReplaceDocument(false))
        return;
    const QString path = ChooseOpenFile();
    if (!path.isEmpty())
        OpenFile(path);
}

// The editor shows the file as it stands; the live check of the form marks
// the first error of a file that is not well-formed.
void TForm1::OpenFile(const QString &path)
{
    OpenedDocument opened = ReadDocumentLines(*longWork_, path);
    // What the document object held (New's tree) belongs to the text that goes.
    ReleaseDocument(XMLDoc1);
    DidIzad1->Lines()->LoadLines(std::move(opened.lines));
    fileFormat_ = std::move(opened.format);
    ShowOpened(path);
    // Said once, as the text shows: what is on screen is not what the file claims to be.
    if (!fileFormat_.mismatch.empty())
        ShowInfoMessage(QString::fromStdString(fileFormat_.mismatch));
}

bool TForm1::OpenUnnamed(std::string bytes)
{
    if (!MayReplaceDocument(false))
        return false;
    TFileText decoded = DecodeFileText(std::move(bytes));
    ReleaseDocument(XMLDoc1);
    CurrentFileName_.clear();
    SetTitleToFile();
    // Loaded as a change: the text is nowhere else yet.
    DidIzad1->Lines()->LoadFromString(decoded.text);
    DidIzad1->SetCaretLine(0);
    DidIzad1->SetCaretCol(0);
    fileFormat_ = std::move(decoded.format);
    statusFields_->ShowNote(QString::fromStdString(fileFormat_.mismatch));
    ShowDocumentEncoding();
    DidIzad1Change();
    return true;
}

// The parser read the editor's own lines: its line and column (1-based,
// in characters) are the editor's.
void TForm1::PlaceCaretAtError(IDOMParseError &where)
{
    const int line = std::clamp(where.line() - 1, 0, std::max(0, DidIzad1->Lines()->Count() - 1));
    const int column = std::max(0, where.linepos() - 1);
    DidIzad1->CollapseSelection();
    DidIzad1->SetCaretLine(line);
    DidIzad1->SetCaretCol(std::min(column, DidIzad1->Lines()->LineLength(line)));
    DidIzad1->CollapseSelection();
    DidIzad1->MakeCaretVisible();
}

void TForm1::ShowOpened(const QString &path)
{
    CurrentFileName_ = path;
    DocumentModified_ = false;
    SetTitleToFile();
    SetStatus("Status: openned");
    ShowDocumentEncoding();
    statusFields_->ShowNote(QString::fromStdString(fileFormat_.mismatch));
    recentFiles_.Add(path);
    FillRecentMenu();
}

void TForm1::ToolButton6Click() { SaveDocument(); }

void TForm1::Saveas1Click() { SaveDocumentAs(); }

bool TForm1::SaveDocument()
{
    if (CurrentFileName_.isEmpty())
        return SaveDocumentAs();
    if (!WriteDocument(CurrentFileName_))
        return false;
    ShowSaved();
    return true;
}

bool TForm1::SaveDocumentAs()
{
    const QString path = ChooseSaveFile();
    if (path.isEmpty() || !WriteDocument(path))
        return false;
    CurrentFileName_ = path;
    ShowSaved();
    ShowDocumentEncoding();
    recentFiles_.Add(path);
    FillRecentMenu();
    return true;
}

// The editor's text is written as it stands, each line with its own break,
// in the file's encoding while the declaration still names it. The parse
// only asks first when the text is not well-formed.
bool TForm1::WriteDocument(const QString &path)
{
    std::optional<EDOMParseError> malformed;
    const std::string text = DidIzad1->Lines()->FileText();
    const TFileFormat format = FormatForSave(text, fileFormat_);
    const QString step = QStringLiteral("Saving %1").arg(QFileInfo(path).fileName());
    {
        BusyCursor busy;
        const std::string folder = DocumentFolder();
        longWork_->Run(step, [&](TWorkProgress &) {
            ReleasedAfter release{XMLDoc1};
            try {
                CopyTextIntoDocument(text, folder);
            } catch (const EDOMParseError &error) {
                malformed = error;
            }
        });
    }
    if (malformed) {
        const std::string reason =
            malformed->ParseError() ? DescribeParseError(*malformed->ParseError()) : std::string(malformed->what());
        const bool unread = ErrorInAnotherFile(malformed->ParseError());
        if (AskSaveAsItIsQuestion(this, QString::fromStdString(reason), unread) != MessageAnswer::Save)
            return false;
    }
    BusyCursor busy;
    TSaveReport report;
    longWork_->Run(step, [&](TWorkProgress &) {
        report = WriteDocumentFile(path.toStdString(), EncodeFileText(text, format));
    });
    fileFormat_ = format;
    savedNote_ = report.inPlaceReason.empty()
                     ? QString()
                     : QStringLiteral("Status: saved over the old file, as %1; its old text is kept in %2")
                           .arg(QString::fromStdString(report.inPlaceReason), QString::fromStdString(report.keptCopy));
    return true;
}

void TForm1::ConvertLineEnds(TLineEnd style)
{
    DidIzad1->ConvertLineEnds(style);
    UpdateEncodingStatus();
}

void TForm1::ShowSaved()
{
    DocumentModified_ = false;
    SetTitleToFile();
    SetStatus("Status: saved");
    if (!savedNote_.isEmpty())
        Label4->setText(savedNote_);
}

void TForm1::ToolButton14Click()
{
    MoveCaretToLine(*DidIzad1, 25);
    // The view scrolls in whole rows: 25 pixels down, as many rows as fit in them.
    if (DidIzad1->LineHeight() > 0)
        DidIzad1->ScrollBy(sbVertical, 25 / DidIzad1->LineHeight());
}

void TForm1::ToolButton8Click()
{
    if (!DidIzad1->Print())
        ShowErrorMessage(QStringLiteral("Nothing was printed: no printer is available."));
}

void TForm1::DeleteLine1Click() { DidIzad1->Lines()->Delete(DidIzad1->PositionOfIndex(DidIzad1->SelStart()).Line); }

void TForm1::WordWrap1Click()
{
    // The checkable item has already toggled its own mark, which is all this
    // command changes: the editor's wrapping stays off.
}

void TForm1::ToolButton12Click()
{
    // The browser shows the file on disk, so there is nothing to show before
    // the document was opened from or saved to a file.
    if (CurrentFileName_.isEmpty()) {
        ShowErrorMessage(QStringLiteral("The document has not been saved to a file yet."));
        return;
    }
    OpenInBrowser(QUrl::fromLocalFile(CurrentFileName_), CurrentFileName_);
}

void TForm1::ToolButton2Click()
{
    BusyCursor busy;
    const std::string text = DidIzad1->Lines()->Text();
    const std::string encoding = frmConfig->Encoding().toStdString();
    const std::string folder = DocumentFolder();
    std::string formatted;
    longWork_->Run(QStringLiteral("Formatting"),
                   [&](TWorkProgress &) { formatted = FormatDocument(XMLDoc1, text, encoding, folder); });
    ReplaceEditorText(formatted);
}

void TForm1::ReplaceEditorText(const std::string &text)
{
    // Inserted text breaks lines at CR LF only, and the editor ends every line
    // with one, so the final break of the text is the last line's own:
    // inserting it would add an empty line.
    std::string body;
    body.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            if (i + 1 < text.size())
                body += "\r\n";
        } else {
            body += text[i];
        }
    }
    {
        TUndoGroup step(DidIzad1->UndoList());
        DidIzad1->SelectAll();
        DidIzad1->InsertText(body);
    }
    DidIzad1->SetCaretLine(0);
    DidIzad1->SetCaretCol(0);
}

void TForm1::ToolButton9Click()
{
    std::optional<ValidationReport> report;
    // What Save would write, so the verdict is the saved file's.
    const std::string text = DidIzad1->Lines()->FileText();
    const TFileFormat format = FormatForSave(text, fileFormat_);
    const std::string folder = DocumentFolder();
    // The box tells the first error; the Problems list every one met on the way.
    ProblemList problems;
    try {
        BusyCursor busy;
        longWork_->Run(QStringLiteral("Validating"), [&](TWorkProgress &) {
            ProblemListScope listing(problems);
            report = ValidateDocument(XMLDoc1, text, format, folder);
        });
    } catch (const EDOMParseError &error) {
        xmlTools_->ListValidation(problems, error.ParseError());
        // The error box says what is wrong; the caret then shows where.
        if (error.ParseError())
            PlaceCaretAtError(*error.ParseError());
        throw;
    }
    xmlTools_->ListValidation(problems, nullptr, report->valid ? QString() : QString::fromStdString(report->message));
    if (report->valid)
        ShowInfoMessage(QString::fromStdString(report->message));
    else
        ShowErrorMessage(QString::fromStdString(report->message));
}

void TForm1::DocConfiguration1Click() { frmConfig->exec(); }

void TForm1::ToolButton13Click()
{
    XMLDoc1.XML().SetText(DidIzad1->Lines()->Text());
    XMLDoc1.SetActive(true);
    frmAddNode->show();
}

void TForm1::ToolButton11Click() { DidIzadFindDialog1->Execute(); }

void TForm1::Goto1Click()
{
    FrmGoto->show();
    FrmGoto->raise();
    FrmGoto->activateWindow();
    FrmGoto->Edit1->setFocus();
    FrmGoto->Edit1->selectAll();
}

void TForm1::CopyTextIntoDocument(const std::string &text, const std::string &folder)
{
    XMLDoc1.XML().SetText(text);
    XMLDoc1.SetBaseDirectory(folder);
    if (!XMLDoc1.Active())
        XMLDoc1.SetActive(true);
}

void TForm1::SetTitleToFile()
{
    setWindowTitle(CurrentFileName_.isEmpty() ? QStringLiteral("Tarnwick")
                                              : QStringLiteral("Tarnwick - ") + CurrentFileName_);
}

void TForm1::ShowDocumentEncoding()
{
    // The editor's declaration is the document's: what Open showed, what New
    // generated, what Save as wrote. Without one the document is UTF-8.
    const REdoDodiStrings &lines = *DidIzad1->Lines();
    const std::string encoding = lines.Count() > 0 ? DeclaredEncoding(lines[0]) : std::string();
    frmConfig->ComboBox2->setEditText(QString::fromStdString(encoding.empty() ? "UTF-8" : encoding));
    UpdateEncodingStatus();
}

void TForm1::SetStatus(const char *status) { Label4->setText(QString::fromLatin1(status)); }

std::string TForm1::DocumentFolder() const
{
    if (CurrentFileName_.isEmpty())
        return {};
    return QFileInfo(CurrentFileName_).absolutePath().toStdString();
}
