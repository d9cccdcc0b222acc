#include "app/config_dialog.h"

#include "app/shell_images.h"
#include "app/shell_settings.h"
#include "app/strip_panel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QComboBox *EditableBox(QWidget *parent, int y, const QStringList &items, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->addItems(items);
    box->setGeometry(88, y, 145, 21);
    return box;
}

void RightAlignedLabel(QWidget *parent, const QString &text, int rightEdge, int y)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    label->move(rightEdge - label->width(), y + 3);
}

} // namespace

TfrmConfig::TfrmConfig(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuration"));
    setFixedSize(283, 254);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto *header = new StripPanel(StripBackground(StripKind::DialogHeader), 30, this);
    header->setGeometry(0, 0, 283, 30);
    auto *title = new QLabel(QStringLiteral("XML Document Configuration"), header);
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->move(12, 7);
    auto *footer = new StripPanel(StripBackground(StripKind::DialogHeader), 30, this);
    footer->setGeometry(0, 224, 283, 30);

    RightAlignedLabel(this, QStringLiteral("Version"), 84, 80);
    RightAlignedLabel(this, QStringLiteral("Encoding"), 84, 104);
    RightAlignedLabel(this, QStringLiteral("DOM Vendor"), 84, 128);
    ComboBox1 = EditableBox(this, 80, {QStringLiteral("1.0")}, "ComboBox1");
    ComboBox2 = EditableBox(
        this, 104,
        {QStringLiteral("UTF-8"), QStringLiteral("UTF-16"), QStringLiteral("UTF-32"), QStringLiteral("ISO-8859-1")},
        "ComboBox2");
    ComboBox3 = EditableBox(this, 128, {}, "ComboBox3");

    RightAlignedLabel(this, QStringLiteral("Read from"), 84, 152);
    EditFolders = new QLineEdit(this);
    EditFolders->setObjectName(QStringLiteral("EditFolders"));
    EditFolders->setGeometry(88, 152, 145, 21);
    EditFolders->setPlaceholderText(QStringLiteral("none besides the document's"));
    EditFolders->setToolTip(
        QStringLiteral("Folders besides the document's own (and the system's XML catalog) that DTDs, entities "
                       "and schemas may be read from, parted by ':'"));
    auto *browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("BrowseFolders"));
    browse->setGeometry(237, 152, 24, 21);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Read from"));
        if (!folder.isEmpty())
            EditFolders->setText(EditFolders->text().isEmpty() ? folder
                                                               : EditFolders->text() + QLatin1Char(':') + folder);
    });

    auto *apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setGeometry(64, 192, 75, 25);
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(144, 192, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmConfig::Encoding() const { return ComboBox2->currentText(); }

void TfrmConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    EditFolders->setText(StoredAllowedFolders().join(QLatin1Char(':')));
    shownTexts_ = {ComboBox1->currentText(), ComboBox2->currentText(), ComboBox3->currentText()};
}

void TfrmConfig::accept()
{
    QStringList folders;
    for (const QString &folder : EditFolders->text().split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (!folder.trimmed().isEmpty())
            folders.push_back(folder.trimmed());
    StoreAllowedFolders(folders);
    ApplyAllowedFolders();
    QDialog::accept();
}

void TfrmConfig::reject()
{
    if (shownTexts_.size() == 3) {
        ComboBox1->setEditText(shownTexts_[0]);
        ComboBox2->setEditText(shownTexts_[1]);
        ComboBox3->setEditText(shownTexts_[2]);
    }
    QDialog::reject();
}

void TfrmConfig::SetVendorItems(const QStringList &descriptions)
{
    const QString current = ComboBox3->currentText();
    ComboBox3->clear();
    ComboBox3->addItems(descriptions);
    ComboBox3->setEditText(current);
}
