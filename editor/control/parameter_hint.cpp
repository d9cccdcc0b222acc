#include "editor/control/parameter_hint.h"

#include "editor/base/text_case.h"
#include "editor/base/utf8.h"
#include "editor/control/custom_dodi.h"
#include "editor/highlight/styler.h"
#include "editor/input/keyboard.h"
#include "editor/platform/host.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr TColor kBorderColor = 0x808080;
// Text whose height gives the window's: ascenders, descenders, accents.
constexpr const char *kHeightSample = "h,g_`";

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The character ending at byte `end`; `end` moves to its start.
char32_t StepBack(std::string_view text, size_t &end)
{
    size_t start = end - 1;
    while (start > 0 && IsContinuation(text[start]))
        --start;
    size_t i = start;
    end = start;
    return NextCodePoint(text, i);
}

std::string Trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return "";
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

std::string Fold(std::string_view s, bool caseSensitive) { return caseSensitive ? std::string(s) : UpperCaseUtf8(s); }

} // namespace

TParameterHint::TParameterHint(TCustomDodi &editor) : ed_(editor) {}

bool TParameterHint::Visible() const
{
    const PopupWindow *window = ed_.HintWindow();
    return window && window->Visible();
}

void TParameterHint::Hide()
{
    if (PopupWindow *window = ed_.HintWindow(); window && window->Visible())
        window->Hide();
}

// The scan reads only the characters it passes and folds only the name, so
// it costs as much as the distance to the call's "(", at most kMaxScan.
bool TParameterHint::Compute()
{
    const TCustomDodiStyler *styler = ed_.ActiveStyler();
    const REdoDodiStrings &store = *ed_.ActiveLines();
    if (!styler || !ed_.UseStyler() || store.Count() == 0 || ed_.CaretLine() >= store.Count())
        return false;
    const THintParameter &hints = styler->ParameterHints();
    // Without a source of hints there is nothing to look for.
    if (hints.Parameters().empty() && !ed_.OnGetParameterHint)
        return false;
    const std::string_view line = store.Get(ed_.CaretLine());
    size_t at = utf8::ByteOffset(line, std::min(ed_.CaretCol(), store.LineLength(ed_.CaretLine())));
    int commas = 0, blanks = 0, scanned = 0;
    bool found = false;
    while (at > 0 && scanned++ < kMaxScan) {
        const char32_t c = StepBack(line, at);
        if (c == hints.HintCharEnd())
            return false;
        if (c == hints.HintCharStart()) {
            found = true;
            break;
        }
        if (c == hints.HintCharWriteDelimiter())
            ++commas;
        blanks = c == U' ' ? blanks + 1 : 0;
        if (blanks == 5)
            return false;
    }
    if (!found)
        return false;
    size_t nameStart = at;
    while (nameStart > 0) {
        size_t before = nameStart;
        const char32_t c = StepBack(line, before);
        if (c == U' ' || c == hints.HintCharStart() || c == hints.HintCharEnd())
            break;
        nameStart = before;
    }
    const bool caseSensitive = ed_.CaseSensitive();
    const std::string name = Trim(Fold(line.substr(nameStart, at - nameStart), caseSensitive));
    if (name.empty())
        return false;

    std::string hint;
    bool handled = false;
    if (ed_.OnGetParameterHint)
        ed_.OnGetParameterHint(ed_, name, hint, handled);
    if (!handled) {
        for (const std::string &entry : hints.Parameters())
            if (Fold(entry, caseSensitive).starts_with(name)) {
                hint = entry;
                break;
            }
    }
    if (hint.empty())
        return false;

    std::string p = hint;
    if (const size_t open = p.find(utf8::Encode(hints.HintCharStart())); open != std::string::npos)
        p = p.substr(open + utf8::Encode(hints.HintCharStart()).size());
    p = p.substr(0, p.find(utf8::Encode(hints.HintCharEnd())));
    // Separator ends, as byte offsets just past each separator.
    std::vector<size_t> ends;
    for (size_t i = 0; i < p.size();) {
        const char32_t c = NextCodePoint(p, i);
        if (c == hints.HintCharWriteDelimiter() || c == hints.HintCharDelimiter())
            ends.push_back(i);
    }
    size_t start = 0, end = p.size();
    if (commas > static_cast<int>(ends.size())) {
        start = 0;
    } else {
        start = commas == 0 ? 0 : ends[commas - 1];
        end = commas < static_cast<int>(ends.size()) ? ends[commas] : p.size();
    }
    parts_[0] = p.substr(0, start);
    parts_[1] = p.substr(start, end - start);
    parts_[2] = p.substr(end);
    boldPart_ = parts_[1].empty() ? 1 : 2;
    ed_.HintTimer().Stop();
    ed_.HintTimer().Start();
    return true;
}

bool TParameterHint::CaretLineOnScreen() const
{
    const int height = ed_.TextArea().Height();
    const int row = ed_.RowLayout().RowOf({ed_.CaretCol(), ed_.CaretLine()}) - ed_.TopRow();
    return ed_.LineHeight() > 0 && row >= 0 && row <= (height - 1) / ed_.LineHeight();
}

void TParameterHint::Show()
{
    const TCustomDodiStyler *styler = ed_.ActiveStyler();
    PopupWindow *window = ed_.HintWindow();
    if (!styler || !ed_.UseStyler() || !window || !CaretLineOnScreen())
        return;
    if (!Compute()) {
        Hide();
        return;
    }
    Place();
    window->SetColor(styler->ParameterHints().BkColor());
    // Showing the window may take the focus for a moment; losing it to the
    // hint does not hide the hint.
    ed_.Flags().ShowingHint = true;
    window->Show();
    window->Invalidate();
    if (Host *host = ed_.GetHost())
        host->SetFocus();
    ed_.Flags().ShowingHint = false;
}

void TParameterHint::Place()
{
    PopupWindow &window = *ed_.HintWindow();
    Host &host = *ed_.GetHost();
    Canvas &canvas = host.MeasuringCanvas();
    TFont font = ed_.Font();
    font.Style = {};
    canvas.SetFont(font);
    const int height = canvas.TextHeight(kHeightSample) + 5;
    int width = canvas.TextWidth(parts_[0]) + canvas.TextWidth(parts_[2]);
    font.Style = {fsBold};
    canvas.SetFont(font);
    width += canvas.TextWidth(parts_[1]) + 6;
    const TPoint cell = ed_.CaretCellOrigin();
    const int row =
        ed_.AutoHintParameterPosition() == hpBelowCode ? cell.y + ed_.LineHeight() : cell.y - ed_.LineHeight();
    const TPoint topLeft = host.ClientToScreen({cell.x, row});
    window.SetBounds({topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height});
}

void TParameterHint::Paint(Canvas &canvas, const TRect &client)
{
    const TCustomDodiStyler *styler = ed_.ActiveStyler();
    const THintParameter hints = styler ? styler->ParameterHints() : THintParameter();
    canvas.SetPen({kBorderColor, 1, psSolid});
    canvas.SetBrushColor(hints.BkColor());
    canvas.Rectangle(client);
    TFont font = ed_.Font();
    font.Color = hints.TextColor();
    int x = 2;
    for (int i = 0; i < 3; ++i) {
        const bool bold = (boldPart_ == 1 && i == 0) || (boldPart_ == 2 && i == 1);
        font.Style = bold ? TFontStyles{fsBold} : TFontStyles{};
        canvas.SetFont(font);
        canvas.SetBrushStyle(bsClear);
        canvas.TextOut(x, 2, parts_[i]);
        x += canvas.TextWidth(parts_[i]);
    }
}

void TParameterHint::CaretMoved()
{
    if (ed_.AutoHintParameters() == hpAuto && ed_.Keyboard().LastKeyWithoutCtrl)
        Show();
}

void TParameterHint::WindowPressed()
{
    if (Host *host = ed_.GetHost())
        host->SetFocus();
    ed_.PlaceCaret();
    ed_.Invalidate();
}

} // namespace tarnwick
