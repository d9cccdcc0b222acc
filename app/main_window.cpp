#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/add_node_dialog.h"
#include "app/config_dialog.h"
#include "app/goto_dialog.h"
#include "app/error_guard.h"
#include "app/main_styler.h"
#include "app/message_helpers.h"
#include "app/shell_images.h"
#include "app/shell_links.h"
#include "app/strip_panel.h"
#include "app/xml_commands.h"
#include "app/main_editor_settings.h"
#include "editor/control/redodi.h"
#include "xml/vendor_registry.h"
#include "editor/qt/dodi_widget.h"
#include "editor/qt/find_dialog_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
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

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarnwick"));
    resize(844, 517);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    XMLDoc1.SetNodeIndentStr("    ");
    XMLDoc1.SetOptions({doNodeAutoCreate, doNodeAutoIndent, doAttrNull, doAutoPrefix, doNamespaceDecl});
    XMLDoc1.SetParseOptions({poPreserveWhiteSpace});

    ConfigureMainStyler(DodiXMLStyler1);
    editorWidget_ = new DodiWidget(this);
    editorWidget_->setObjectName(QStringLiteral("DidIzad1"));
    DidIzad1 = &editorWidget_->Control();
    ConfigureMainEditor(*DidIzad1, DodiXMLStyler1);
    DidIzad1->OnChange = [this](TCustomDodi &) { DidIzad1Change(); };
    DidIzad1->OnMarkerAdded = [this](int line, const std::string &text) { DidIzad1MarkerAdded(line, text); };
    DidIzadFindDialog1 = std::make_unique<REdoDodiFindDialog>(std::make_unique<QtFindDialogWindow>(this));
    DidIzadFindDialog1->SetDidIzad(DidIzad1);
    DidIzadFindDialog1->SetNotFoundMessage("Finished searching the document. The search item was not found.");

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
    setCentralWidget(central);
    BuildMenu();

    // The dialogs live, hidden, for the whole run.
    AboutBox = new TAboutBox(this);
    frmAddNode = new TfrmAddNode(*DidIzad1, XMLDoc1, this);
    FrmGoto = new TFrmGoto(*DidIzad1, this);
    frmConfig = new TfrmConfig(this);

    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    ChooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("XML Files (*.XML *.xml)"));
    };
    ChooseSaveFile = [this] {
        QFileDialog dialog(this, QString(), QString(), QStringLiteral("XML File (*.XML *.xml)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("XML"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    std::map<std::string, QMenu *> menus;
    for (const char *caption : MenuCaptions())
        menus[caption] = bar->addMenu(QString::fromLatin1(caption));
    for (const MenuRow &row : MenuRows()) {
        QAction *item = menus[row.menu]->addAction(QString::fromLatin1(row.caption));
        item->setObjectName(QString::fromLatin1(row.name));
        item->setVisible(!row.hidden);
        if (*row.shortcut)
            item->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        if (row.command == CommandId::WordWrap)
            item->setCheckable(true);
        if (row.command != CommandId::None)
            connect(item, &QAction::triggered, this, [this, command = row.command] { Run(command); });
        menuItems_[row.name] = item;
        if (row.separatorAfter)
            menus[row.menu]->addSeparator();
    }
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

    auto *links = new QVBoxLayout(panel);
    links->setContentsMargins(0, 2, 8, 2);
    links->setSpacing(0);
    QLabel *site = LinkLabel(kWebSiteAddress, panel);
    site->setObjectName(QStringLiteral("Label2"));
    QLabel *social = LinkLabel(kSocialPageAddress, panel);
    social->setObjectName(QStringLiteral("Label1"));
    links->addWidget(site, 0, Qt::AlignRight);
    links->addWidget(social, 0, Qt::AlignRight);
    OnClick(site, [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSiteAddress))); });
    OnClick(social, [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kSocialPageAddress))); });
    return panel;
}

QString TForm1::StatusText() const
{
    return Label4->text();
}

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
    case CommandId::None: break;
    case CommandId::New: New1Click(); break;
    case CommandId::Open: ToolButton1Click(); break;
    case CommandId::Save: ToolButton6Click(); break;
    case CommandId::SaveAs: Saveas1Click(); break;
    case CommandId::HiddenClose: ToolButton14Click(); break;
    case CommandId::Print: ToolButton8Click(); break;
    case CommandId::Exit: close(); break;
    case CommandId::Undo: DidIzad1->Undo(); break;
    case CommandId::Redo: DidIzad1->Redo(); DidIzad1->Invalidate(); break;
    case CommandId::Cut: DidIzad1->CutToClipboard(); break;
    case CommandId::Copy: DidIzad1->CopyToClipboard(); break;
    case CommandId::Paste: DidIzad1->PasteFromClipboard(); break;
    case CommandId::Delete: DidIzad1->Clear(); break;
    case CommandId::SelectAll: DidIzad1->SelectAll(); break;
    case CommandId::DeleteLine: DeleteLine1Click(); break;
    case CommandId::WordWrap: WordWrap1Click(); break;
    case CommandId::ViewInBrowser: ToolButton12Click(); break;
    case CommandId::Format: ToolButton2Click(); break;
    case CommandId::Validate: ToolButton9Click(); break;
    case CommandId::DocConfiguration: DocConfiguration1Click(); break;
    case CommandId::About: AboutBox->exec(); break;
    case CommandId::AddNode: ToolButton13Click(); break;
    case CommandId::GoTo: FrmGoto->show(); break;
    case CommandId::Search: ToolButton11Click(); break;
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

void TForm1::FormActivate()
{
    New1Click();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormCloseQuery()
{
    return !DocumentModified_ || AskExitQuestion(this);
}

void TForm1::DidIzad1Change()
{
    DocumentModified_ = true;
    SetStatus("Status: changed");
    if (!windowTitle().startsWith(QLatin1Char('*')))
        setWindowTitle(QStringLiteral("* ") + windowTitle());
}

void TForm1::DidIzad1MarkerAdded(int, const std::string &markerText)
{
    ShowPlainMessage(QString::fromStdString(markerText));
}

void TForm1::New1Click()
{
    DidIzad1->Clear();
    XMLDoc1.XML().Clear();
    XMLDoc1.SetActive(true);
    XMLDoc1.SetDeclVersion("1.0");
    XMLDoc1.SetDeclEncoding("ISO-8859-1");
    XMLDoc1.SetOptions({doNodeAutoIndent});
    IXMLNodePtr root = XMLDoc1.AddElement("xml");
    root->AddElement("a");
    XMLDoc1.NewElement("here", "a");
    DidIzad1->Lines()->LoadFromString(XMLDoc1.XML().Text());

    frmConfig->ComboBox1->setEditText(QString::fromStdString(XMLDoc1.DeclVersion()));
    frmConfig->ComboBox2->setEditText(QString::fromStdString(XMLDoc1.DeclEncoding()));
    QStringList vendors;
    for (TDOMVendor *vendor : RegisteredVendors())
        vendors << QString::fromStdString(vendor->VendorDescription());
    frmConfig->SetVendorItems(vendors);
    TDOMVendor *vendor = XMLDoc1.DOMVendor() ? XMLDoc1.DOMVendor() : FindVendor("");
    frmConfig->ComboBox3->setEditText(QString::fromStdString(vendor->VendorDescription()));
}

void TForm1::ToolButton1Click()
{
    const QString path = ChooseOpenFile();
    if (!path.isEmpty())
        OpenFile(path);
}

void TForm1::OpenFile(const QString &path)
{
    XMLDoc1.SetActive(false);
    XMLDoc1.LoadFile(path.toStdString());
    XMLDoc1.SetActive(true);
    LoadDocumentIntoEditor();
    CurrentFileName_ = path;
    DocumentModified_ = false;
    SetTitleToFile();
    SetStatus("Status: openned");
}

void TForm1::ToolButton6Click()
{
    BusyCursor busy;
    CopyEditorTextIntoDocument();
    XMLDoc1.SaveFile(CurrentFileName_.toStdString());
    DocumentModified_ = false;
    SetTitleToFile();
    SetStatus("Status: saved");
}

void TForm1::Saveas1Click()
{
    const QString path = ChooseSaveFile();
    if (path.isEmpty())
        return;
    BusyCursor busy;
    CopyEditorTextIntoDocument();
    XMLDoc1.SaveFile(path.toStdString());
    CurrentFileName_ = path;
    DocumentModified_ = false;
    SetTitleToFile();
    SetStatus("Status: saved");
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

void TForm1::DeleteLine1Click()
{
    DidIzad1->Lines()->Delete(DidIzad1->PositionOfIndex(DidIzad1->SelStart()).Line);
}

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
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(CurrentFileName_)))
        ShowErrorMessage(QStringLiteral("No browser could be started for ") + CurrentFileName_);
}

void TForm1::ToolButton2Click()
{
    BusyCursor busy;
    const std::string formatted =
        FormatDocument(XMLDoc1, DidIzad1->Lines()->Text(), frmConfig->Encoding().toStdString(), DocumentFolder());
    DidIzad1->Lines()->LoadFromString(formatted);
}

void TForm1::ToolButton9Click()
{
    std::optional<ValidationReport> report;
    {
        BusyCursor busy;
        report = ValidateDocument(XMLDoc1, DidIzad1->Lines()->Text(), DocumentFolder());
    }
    if (report->valid)
        ShowInfoMessage(QString::fromStdString(report->message));
    else
        ShowErrorMessage(QString::fromStdString(report->message));
}

void TForm1::DocConfiguration1Click()
{
    frmConfig->exec();
}

void TForm1::ToolButton13Click()
{
    XMLDoc1.XML().SetText(DidIzad1->Lines()->Text());
    XMLDoc1.SetActive(true);
    frmAddNode->show();
}

void TForm1::ToolButton11Click()
{
    DidIzadFindDialog1->Execute();
}

void TForm1::CopyEditorTextIntoDocument()
{
    XMLDoc1.XML().SetText(DidIzad1->Lines()->Text());
    XMLDoc1.SetBaseDirectory(DocumentFolder());
    if (!XMLDoc1.Active())
        XMLDoc1.SetActive(true);
}

void TForm1::LoadDocumentIntoEditor()
{
    DidIzad1->Lines()->LoadFromString(XMLDoc1.XML().Text());
}

void TForm1::SetTitleToFile()
{
    setWindowTitle(QStringLiteral("Tarnwick - ") + CurrentFileName_);
}

void TForm1::SetStatus(const char *status)
{
    Label4->setText(QString::fromLatin1(status));
}

std::string TForm1::DocumentFolder() const
{
    if (CurrentFileName_.isEmpty())
        return {};
    return QFileInfo(CurrentFileName_).absolutePath().toStdString();
}
