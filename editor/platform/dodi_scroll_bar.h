// TDodiScrollBar: the editor's model of one of its two scroll bars. It keeps
// the values the scrolling code reads back and mirrors every change to the
// host, which draws the real bar.
#pragma once

#include "editor/base/editor_types.h"

namespace tarnwick {

class Host;

class TDodiScrollBar {
public:
    TDodiScrollBar(TScrollBarKind kind) : kind_(kind) {}

    TScrollBarKind Kind() const { return kind_; }
    void SetHost(Host *host);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    void SetMax(int max) { SetRange(min_, max); }
    int Position() const { return position_; }
    void SetPosition(int pos);
    int PageSize() const { return page_; }
    void SetPageSize(int page);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v) { smallChange_ = v; }
    // Width of the vertical bar, height of the horizontal one.
    int Extent() const { return extent_; }
    void SetExtent(int v) { extent_ = v; }
    // The system's extent when a host is present, else the default 16.
    int SystemExtent() const;

private:
    TScrollBarKind kind_;
    Host *host_ = nullptr;
    bool visible_ = false;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int page_ = 0;
    int smallChange_ = 1;
    int extent_ = 16;
};

} // namespace tarnwick
