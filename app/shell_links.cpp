#include "app/shell_links.h"

#include "app/error_guard.h"

#include <QEvent>
#include <QLabel>

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QLabel *label, std::function<void()> action)
        : QObject(label), action_(std::move(action))
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

} // namespace

void OnClick(QLabel *label, std::function<void()> action)
{
    new ClickFilter(label, std::move(action));
}
