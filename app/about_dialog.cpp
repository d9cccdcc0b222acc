#include "app/about_dialog.h"

#include "app/application_icon.h"
#include "app/error_guard.h"
#include "app/shell_links.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace {

constexpr int kWidth = 313;
constexpr int kHeight = 344;
constexpr int kHeaderHeight = 42;
constexpr int kRightMargin = 16;
// Between a line and the one a wrapped line above pushed down.
constexpr int kPushedGap = 2;
constexpr QRect kButton{111, 306, 75, 25};

QFont Font(const char *family, int pixels, bool bold, bool underline = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

QLabel *HeaderLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->adjustSize();
    label->move(x, y);
    return label;
}

// A line of the body at its designed place; wrapped where the box is too
// narrow for it in the desktop's font.
struct BodyLine {
    QLabel *label;
    int x;
    int y;
};

} // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    auto *header = new QFrame(this);
    header->setObjectName(QStringLiteral("Shape1"));
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    header->setPalette(white);

    auto *icon = new QLabel(header);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setGeometry(45, 5, 32, 32);
    HeaderLabel(header, QStringLiteral("Tarnwick"), 88, 3, Font("Georgia", 21, false))
        ->setObjectName(QStringLiteral("ProductName"));
    HeaderLabel(header, QStringLiteral("Version 1.01"), 90, 26, Font("Tahoma", 11, true))
        ->setObjectName(QStringLiteral("Version"));

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    std::vector<BodyLine> body;
    const auto add = [&](const char *name, const QString &text, int x, int y, const QFont &font = QFont()) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(font);
        label->setWordWrap(true);
        body.push_back({label, x, y});
        return label;
    };
    add("Rights", QStringLiteral("Copyright the Tarnwick developers."), 48, 64);
    add("Comments", QStringLiteral("An editor for XML files, built on Qt and libxml2."), 48, 80);
    add("Label4", QStringLiteral("Written in C++ for Linux desktops."), 48, 120, Font("Tahoma", 11, true));
    add("Label3", QString(), 32, 144, Font("Verdana", 11, false));
    add("Label2", QStringLiteral("Check the website for updates and additional information."), 16, 168);
    QLabel *site = add("Label1", QString::fromLatin1(kWebSiteAddress), 48, 184, Font("Comic Sans MS", 15, true, true));
    QPalette blue = site->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    site->setPalette(blue);
    site->setCursor(Qt::PointingHandCursor);
    OnClick(site, [] { OpenAddress(QString::fromLatin1(kWebSiteAddress)); });
    add("Label6", QString::fromLatin1(kSocialPageAddress), 16, 216, Font("Verdana", 11, true));

    // The box keeps its designed size unless a word (an address) is wider
    // than its line allows; lines wrap within that width and push the lines
    // below them down.
    int width = kWidth;
    for (const BodyLine &line : body)
        width = std::max(width, line.x + line.label->minimumSizeHint().width() + kRightMargin);
    int bottom = 0;
    for (const BodyLine &line : body) {
        const int lineWidth = width - line.x - kRightMargin;
        const int y = std::max(line.y, bottom + kPushedGap);
        const int height = line.label->text().isEmpty() ? 0 : line.label->heightForWidth(lineWidth);
        line.label->setGeometry(line.x, y, lineWidth, height);
        bottom = y + height;
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    // Below the last line, and centred as designed when the box grew wider.
    const int buttonTop = std::max(kButton.top(), bottom + 16);
    ok->setGeometry(kButton.left() + (width - kWidth) / 2, buttonTop, kButton.width(), kButton.height());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    header->setGeometry(0, 0, width, kHeaderHeight);
    bevel->setGeometry(0, kHeaderHeight - 1, width, 2);
    setFixedSize(width, kHeight + buttonTop - kButton.top());
}
