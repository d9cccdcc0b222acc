#include "app/add_node_dialog.h"

#include "app/error_guard.h"
#include "app/message_helpers.h"
#include "app/shell_images.h"
#include "app/xml_commands.h"
#include "editor/control/custom_dodi.h"
#include "xml/xml_document.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <optional>
#include <stdexcept>

using namespace tarnwick;
using namespace tarnwick::xml;

TfrmAddNode::TfrmAddNode(TCustomDodi &editor, TXMLDocument &document, QWidget *parent)
    : QDialog(parent), editor_(editor), document_(document)
{
    setObjectName(QStringLiteral("frmAddNode"));
    setWindowTitle(QStringLiteral("Add Node"));
    resize(430, 279);
    move(678, 208);
    setModal(false);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto *strip = new QLabel(this);
    strip->setObjectName(QStringLiteral("Image1"));
    strip->setPixmap(StripBackground(StripKind::DialogHeader));
    strip->setScaledContents(true);
    strip->setGeometry(0, 0, 430, 31);

    (new QLabel(QStringLiteral("Path"), this))->move(10, 40);
    Edit1 = new QLineEdit(QStringLiteral("\\\\"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(10, 55, 316, 21);
    auto *add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("Button2"));
    add->setGeometry(330, 55, 75, 25);
    connect(add, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button2Click(); }); });

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(10, 90, 276, 97);
    auto *list = new QPushButton(QStringLiteral("Button1"), this);
    list->setObjectName(QStringLiteral("Button1"));
    list->setGeometry(320, 115, 75, 25);
    connect(list, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
}

void TfrmAddNode::Button2Click()
{
    std::optional<BusyCursor> busy(std::in_place);
    document_.XML().SetText(editor_.Lines()->Text());
    if (!document_.Active())
        document_.SetActive(true);
    try {
        IXMLNodePtr root = document_.RootElement();
        if (!root)
            throw std::runtime_error("The document has no root element to add to.");
        root->AddElement(Edit1->text().toStdString(), -1);
    } catch (const std::exception &error) {
        busy.reset();
        ShowPlainMessage(QString::fromUtf8(error.what()));
    }
    const TLineEnd style = editor_.Lines()->LineEndStyle();
    editor_.Lines()->Clear();
    editor_.Lines()->LoadFromString(DocumentText(document_, style));
}

void TfrmAddNode::Button1Click()
{
    IXMLNodePtr first = document_.Children().Item(0);
    ListBox1->addItem(QStringLiteral("#") + QString::fromStdString(first->TextValue()));
    TXMLNodeList &children = first->Children();
    for (int i = 0; i < children.Count(); ++i)
        ListBox1->addItem(QStringLiteral("-") + QString::fromStdString(children.Item(i)->TextValue()));
}
