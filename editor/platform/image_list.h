// TImageList: a list of equally sized images (marker images, completion
// glyphs) drawn by index.
#pragma once

#include "editor/platform/canvas.h"

#include <memory>
#include <vector>

namespace tarnwick {

class TImageList {
public:
    TImageList(int width = 16, int height = 16) : width_(width), height_(height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Returns the new index.
    int Add(std::shared_ptr<TBitmap> image)
    {
        images_.push_back(std::move(image));
        return Count() - 1;
    }
    // Null for an index out of range.
    TBitmap *Image(int index) const { return index >= 0 && index < Count() ? images_[index].get() : nullptr; }
    // Draws image `index` with its `transparent` pixels left out; an index
    // out of range draws nothing.
    void Draw(Canvas &canvas, int x, int y, int index, TColor transparent) const
    {
        if (TBitmap *image = Image(index))
            canvas.DrawTransparent(x, y, *image, transparent);
    }
    void Clear() { images_.clear(); }

private:
    int width_;
    int height_;
    std::vector<std::shared_ptr<TBitmap>> images_;
};

} // namespace tarnwick
