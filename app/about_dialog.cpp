#include "app/about_dialog.h"

#include "app/error_guard.h"
#include "app/shell_images.h"
#include "app/shell_links.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *Label(QWidget *parent, const QString &text, int x, int y, const QFont &font = QFont())
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QFont Font(const char *family, int pixels, bool bold, bool underline = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(313, 344);

    auto *header = new QFrame(this);
    header->setObjectName(QStringLiteral("Shape1"));
    header->setGeometry(0, 0, 313, 42);
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    header->setPalette(white);

    auto *icon = new QLabel(header);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(ToolBarImage(2).pixmap(32, 32));
    icon->setGeometry(45, 5, 32, 32);
    Label(header, QStringLiteral("Tarnwick"), 88, 3, Font("Georgia", 21, false))->setObjectName(QStringLiteral("ProductName"));
    Label(header, QStringLiteral("Version 1.01"), 90, 26, Font("Tahoma", 11, true))->setObjectName(QStringLiteral("Version"));

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(0, 41, 313, 2);

    Label(this, QStringLiteral("Copyright the Tarnwick developers."), 48, 64);
    Label(this, QStringLiteral("An editor for XML files, built on Qt and libxml2."), 48, 80)->setObjectName(QStringLiteral("Comments"));
    Label(this, QStringLiteral("Written in C++ for Linux desktops."), 48, 120, Font("Tahoma", 11, true))->setObjectName(QStringLiteral("Label4"));
    Label(this, QString(), 32, 144, Font("Verdana", 11, false))->setObjectName(QStringLiteral("Label3"));
    Label(this, QStringLiteral("Check the website for updates and additional information."), 16, 168)->setObjectName(QStringLiteral("Label2"));

    QLabel *site = Label(this, QString::fromLatin1(kWebSiteAddress), 48, 184, Font("Comic Sans MS", 15, true, true));
    site->setObjectName(QStringLiteral("Label1"));
    QPalette blue = site->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    site->setPalette(blue);
    site->setCursor(Qt::PointingHandCursor);
    OnClick(site, [] { OpenAddress(QString::fromLatin1(kWebSiteAddress)); });
    Label(this, QString::fromLatin1(kSocialPageAddress), 16, 216, Font("Verdana", 11, true))->setObjectName(QStringLiteral("Label6"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(111, 306, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
