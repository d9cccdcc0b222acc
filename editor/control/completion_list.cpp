// The completion list's items: measuring them for the list's width and item
// height, and drawing each with its kind's glyph, its kind word in the kind's
// colour, its name in bold and its parameter part in the normal style.
#include "editor/control/completion.h"

#include "editor/control/custom_dodi.h"
#include "editor/platform/canvas.h"
#include "editor/platform/host.h"
#include "editor/platform/image_list.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr TColor kGlyphTransparent = 0x00FF00; // lime
constexpr int kImageSpace = 20;
constexpr int kGlyphSize = 16;

struct TItemParts {
    std::string_view KindWord; // with its space; empty when none
    std::string_view Name;
    std::string_view Parameters;
};

TItemParts PartsOf(std::string_view text)
{
    TItemParts parts;
    const size_t space = text.find(' ');
    if (space != std::string_view::npos) {
        parts.KindWord = text.substr(0, space + 1);
        text.remove_prefix(space + 1);
    }
    const size_t open = text.find('(');
    parts.Name = text.substr(0, open);
    parts.Parameters = open == std::string_view::npos ? std::string_view() : text.substr(open);
    return parts;
}

TFont Bold(TFont font)
{
    font.Style = font.Style + fsBold;
    return font;
}

// Glyph of each kind 1..6: variable, property, event, procedure (functions
// too), method, in the order of the list's five images.
int ImageOfKind(int kind)
{
    switch (kind) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 3:
        return 2;
    case 5:
    case 6:
        return 3;
    case 4:
        return 4;
    default:
        return -1;
    }
}

TColor KindColor(const TAutoCompletion &look, int kind)
{
    switch (kind) {
    case 1:
        return look.ColorVar();
    case 2:
        return look.ColorProp();
    case 3:
        return look.ColorEvent();
    case 4:
        return look.ColorMethod();
    case 5:
        return look.ColorFunc();
    case 6:
        return look.ColorProc();
    default:
        return look.ColorIdentifier();
    }
}

} // namespace

void TCompletion::Measure()
{
    Host *host = ed_.GetHost();
    ListPopup *popup = ed_.CompletionPopup();
    if (!host || !popup)
        return;
    Canvas &canvas = host->MeasuringCanvas();
    canvas.SetFont(look_.Font());
    kindWordWidth_ = 0;
    for (const TCompletionItem &item : listItems_)
        kindWordWidth_ = std::max(kindWordWidth_, canvas.TextWidth(PartsOf(item.Text).KindWord));
    int widest = 0;
    for (const TCompletionItem &item : listItems_) {
        const TItemParts parts = PartsOf(item.Text);
        canvas.SetFont(Bold(look_.Font()));
        int width = (parts.KindWord.empty() ? 0 : kindWordWidth_) + canvas.TextWidth(parts.Name);
        canvas.SetFont(look_.Font());
        width += canvas.TextWidth(parts.Parameters);
        widest = std::max(widest, width);
    }
    if (look_.ShowImages())
        widest += kImageSpace;
    popup->SetFont(look_.Font());
    popup->SetItemHeight(std::max(16, canvas.TextHeight("h_") + 1));
    measuredWidth_ = widest + host->ScrollBarExtent(sbVertical) + 8;
}

void TCompletion::DrawItem(Canvas &canvas, int index, const TRect &rect, bool selected)
{
    if (index < 0 || index >= static_cast<int>(listItems_.size()))
        return;
    const TCompletionItem &item = listItems_[index];
    const TItemParts parts = PartsOf(item.Text);
    canvas.SetBrushColor(selected ? clHighlight : look_.Color());
    canvas.FillRect(rect);
    int x = rect.left;
    if (look_.ShowImages()) {
        if (item.Kind != 0)
            if (TBitmap *glyph = Glyph(canvas, item.Kind))
                canvas.DrawTransparent(rect.left, rect.top, *glyph, kGlyphTransparent);
        x += kImageSpace;
    }
    canvas.SetBrushStyle(bsClear);
    TFont font = look_.Font();
    if (!parts.KindWord.empty()) {
        font.Color = selected ? clHighlightText : KindColor(look_, item.Kind);
        canvas.SetFont(font);
        canvas.TextOut(x, rect.top, parts.KindWord);
        x += kindWordWidth_;
    }
    font.Color = selected ? clHighlightText : look_.Font().Color;
    canvas.SetFont(Bold(font));
    canvas.TextOut(x, rect.top, parts.Name);
    x += canvas.TextWidth(parts.Name);
    canvas.SetFont(font);
    canvas.TextOut(x, rect.top, parts.Parameters);
}

// The editor's image list when it has one; else small drawn shapes on lime.
TBitmap *TCompletion::Glyph(Canvas &canvas, int kind)
{
    const int image = ImageOfKind(kind);
    if (image < 0)
        return nullptr;
    if (const TImageList *images = ed_.AutoCompletionListImages(); images && images->Image(image))
        return images->Image(image);
    if (!glyphs_[image]) {
        static constexpr TColor kShapeColors[5] = {0x008000, 0x808000, 0x0000C0, 0x800000, 0x800080};
        glyphs_[image] = canvas.CreateBitmap(kGlyphSize, kGlyphSize);
        Canvas &g = glyphs_[image]->GetCanvas();
        g.SetBrushColor(kGlyphTransparent);
        g.FillRect({0, 0, kGlyphSize, kGlyphSize});
        g.SetBrushColor(kShapeColors[image]);
        g.SetPen({kShapeColors[image], 1, psSolid});
        const TRect box{3, 3, 13, 13};
        if (image % 2 == 0)
            g.Rectangle(box);
        else
            g.Ellipse(box);
    }
    return glyphs_[image].get();
}

} // namespace tarnwick
