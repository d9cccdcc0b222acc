#include "app/shell_links.h"

#include "app/error_guard.h"
#include "app/message_helpers.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QUrl>

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QLabel *label, std::function<void()> action) : QObject(label), action_(std::move(action))
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            RunGuarded(action_);
        return false;
    }

private:
    std::function<void()> action_;
};

std::function<bool(const QUrl &)> &Opener()
{
    static std::function<bool(const QUrl &)> opener;
    return opener;
}

} // namespace

void OnClick(QLabel *label, std::function<void()> action) { new ClickFilter(label, std::move(action)); }

bool OpenInBrowser(const QUrl &url, const QString &shown)
{
    const bool started = Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
    if (!started)
        ShowErrorMessage(QStringLiteral("No browser could be started for ") + shown);
    return started;
}

bool OpenAddress(const QString &address) { return OpenInBrowser(QUrl::fromUserInput(address), address); }

void SetUrlOpener(std::function<bool(const QUrl &)> opener) { Opener() = std::move(opener); }
