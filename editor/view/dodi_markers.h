// Gutter markers: TDodiMarker items in the TDodiMarkers collection, owned by
// the editor's TDodiMarkerList with the settings for drawing them.
#pragma once

#include "editor/base/graphics_types.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class TImageList;

struct TDodiMarker {
    std::string Text;
    int ImageIndex = 0;
    int LineNumber = 0; // 0-based line the marker belongs to

    void Assign(const TDodiMarker &other) { *this = other; }
    bool operator==(const TDodiMarker &) const = default;
};

class TDodiMarkers {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TDodiMarker &Add();
    TDodiMarker &Items(int i) { return items_.at(i); }
    const TDodiMarker &Items(int i) const { return items_.at(i); }
    void Delete(int i);
    void Clear() { items_.clear(); }

    bool HasMarker(int line) const { return MarkerAt(line) != nullptr; }
    // The first marker on the line in collection order, or null.
    const TDodiMarker *MarkerAt(int line) const;
    int ImageIndexAt(int line) const;
    void RemoveMarker(int line);
    bool AnyAfter(int line) const;
    void ShiftDown(int line);
    void ShiftUp(int line);

private:
    std::vector<TDodiMarker> items_;
};

class TDodiMarkerList {
public:
    TDodiMarkers &Markers() { return markers_; }
    const TDodiMarkers &Markers() const { return markers_; }

    TImageList *MarkerImageList() const { return markerImageList_; }
    void SetMarkerImageList(TImageList *list) { markerImageList_ = list; }
    bool UseDefaultMarkerImageIndex() const { return useDefaultMarkerImageIndex_; }
    void SetUseDefaultMarkerImageIndex(bool v);
    int DefaultMarkerImageIndex() const { return defaultMarkerImageIndex_; }
    void SetDefaultMarkerImageIndex(int v);
    TColor ImageTransparentColor() const { return imageTransparentColor_; }
    void SetImageTransparentColor(TColor c) { imageTransparentColor_ = c; }

    // While the owner is being loaded from stored settings the two default
    // image setters keep their values.
    void SetLoading(bool loading) { loading_ = loading; }

private:
    TDodiMarkers markers_;
    TImageList *markerImageList_ = nullptr;
    bool useDefaultMarkerImageIndex_ = false;
    int defaultMarkerImageIndex_ = -1;
    TColor imageTransparentColor_ = clWhite;
    bool loading_ = false;
};

} // namespace tarnwick
