#include "editor/platform/dodi_scroll_bar.h"

#include "editor/platform/host.h"

namespace tarnwick {

void TDodiScrollBar::SetHost(Host *host)
{
    host_ = host;
    if (!host_)
        return;
    host_->SetScrollRange(kind_, min_, max_);
    host_->SetScrollPage(kind_, page_);
    host_->SetScrollPosition(kind_, position_);
    host_->SetScrollBarVisible(kind_, visible_);
}

void TDodiScrollBar::SetVisible(bool v)
{
    if (v == visible_)
        return;
    visible_ = v;
    if (host_)
        host_->SetScrollBarVisible(kind_, v);
}

void TDodiScrollBar::SetRange(int min, int max)
{
    if (min == min_ && max == max_)
        return;
    min_ = min;
    max_ = max;
    if (host_)
        host_->SetScrollRange(kind_, min, max);
}

void TDodiScrollBar::SetPosition(int pos)
{
    if (pos == position_)
        return;
    position_ = pos;
    if (host_)
        host_->SetScrollPosition(kind_, pos);
}

void TDodiScrollBar::SetPageSize(int page)
{
    if (page == page_)
        return;
    page_ = page;
    if (host_)
        host_->SetScrollPage(kind_, page);
}

int TDodiScrollBar::SystemExtent() const { return host_ ? host_->ScrollBarExtent(kind_) : 16; }

} // namespace tarnwick
