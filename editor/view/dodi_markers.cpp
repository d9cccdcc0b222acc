#include "editor/view/dodi_markers.h"

#include <algorithm>

namespace tarnwick {

TDodiMarker &TDodiMarkers::Add()
{
    items_.emplace_back();
    return items_.back();
}

void TDodiMarkers::Delete(int i)
{
    if (i >= 0 && i < Count())
        items_.erase(items_.begin() + i);
}

const TDodiMarker *TDodiMarkers::MarkerAt(int line) const
{
    auto it = std::find_if(items_.begin(), items_.end(), [line](const TDodiMarker &m) { return m.LineNumber == line; });
    return it == items_.end() ? nullptr : &*it;
}

int TDodiMarkers::ImageIndexAt(int line) const
{
    const TDodiMarker *m = MarkerAt(line);
    return m ? m->ImageIndex : -1;
}

void TDodiMarkers::RemoveMarker(int line)
{
    auto it = std::find_if(items_.begin(), items_.end(), [line](const TDodiMarker &m) { return m.LineNumber == line; });
    if (it != items_.end())
        items_.erase(it);
}

bool TDodiMarkers::AnyAfter(int line) const
{
    return std::any_of(items_.begin(), items_.end(), [line](const TDodiMarker &m) { return m.LineNumber > line; });
}

void TDodiMarkers::ShiftDown(int line)
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->LineNumber >= line)
            ++it->LineNumber;
}

void TDodiMarkers::ShiftUp(int line)
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->LineNumber >= line)
            --it->LineNumber;
}

void TDodiMarkerList::SetUseDefaultMarkerImageIndex(bool v)
{
    if (!loading_)
        useDefaultMarkerImageIndex_ = v;
}

void TDodiMarkerList::SetDefaultMarkerImageIndex(int v)
{
    if (!loading_)
        defaultMarkerImageIndex_ = v;
}

} // namespace tarnwick
