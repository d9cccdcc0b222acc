#include "app/main_editor_settings.h"

#include "app/xml_fold_regions.h"
#include "editor/control/custom_dodi.h"
#include "editor/view/gutter_painter.h"

#include <algorithm>
#include <string>

namespace tarnwick {

namespace {
// The gutter's width for numbers of up to four digits.
constexpr int kGutterWidth = 45;
} // namespace

void ConfigureMainEditor(TCustomDodi &editor, TCustomDodiStyler &styler)
{
    editor.SetAlign(alClient);
    editor.SetBorderStyle(bsSingle);
    editor.SetCtl3D(false);
    editor.SetCursor(crIBeam);
    editor.SetAcceptFiles(true);
    editor.ActiveLineSettings()->SetShowActiveLine(false);
    editor.ActiveLineSettings()->SetShowActiveLineIndicator(false);
    editor.AutoCorrect()->Active = true;
    editor.SetAutoHintParameterPosition(hpBelowCode);
    editor.CodeFolding()->SetEnabled(true);
    editor.CodeFolding()->SetLineColor(clGray);
    // The styler names no regions: elements, comments and sections fold by
    // the document's XML structure.
    editor.SetFoldRegionFinder(std::make_unique<TXmlFoldRegions>());
    editor.SetDelErase(true);
    editor.SetEnhancedHomeKey(false);

    TFont font;
    font.Name = "COURIER NEW";
    font.Height = -13;
    font.Style = {fsBold};
    font.Color = clMaroon;
    editor.SetFont(font);

    editor.Gutter()->SetDigitCount(4);
    TFont gutterFont = editor.Gutter()->Font();
    gutterFont.Name = "Courier New";
    gutterFont.Height = -13;
    editor.Gutter()->SetFont(gutterFont);

    editor.SetHiddenCaret(false);
    editor.MarkerList()->SetUseDefaultMarkerImageIndex(false);
    editor.MarkerList()->SetDefaultMarkerImageIndex(-1);

    TPrintOptions print = *editor.PrintOptions();
    print.MarginLeft = print.MarginTop = print.MarginRight = print.MarginBottom = 0;
    print.PageNr = false;
    print.PrintLineNumbers = false;
    editor.SetPrintOptions(print);

    editor.SetShowRightMargin(true);
    editor.SetRightMarginColor(15722463);
    editor.SetScrollHint(false);
    editor.SetScrollMode(smStrict);
    editor.SetSelColor(clWhite);
    editor.SetSelBkColor(clNavy);
    editor.SetSmartTabs(false);
    editor.SetTabSize(4);
    editor.SetTrimTrailingSpaces(false);
    editor.SetUndoLimit(100);
    editor.SetUrlStyle(TCharStyle(clBlue, clWhite, {fsUnderline}));
    editor.SetSyntaxStyles(&styler);
    editor.SetUseStyler(true);
    editor.SetWordWrap(wwNone);
}

void FitGutterToLineNumbers(TCustomDodi &editor)
{
    TDodiGutter &gutter = *editor.Gutter();
    const int lastNumber = std::max(editor.Lines()->Count(), 1) - 1 + gutter.LineNumberStart();
    const int digits = static_cast<int>(std::to_string(lastNumber).size());
    const int width = kGutterWidth + std::max(0, digits - 4) * kGutterDigitStep;
    if (gutter.GutterWidth() != width)
        gutter.SetGutterWidth(width);
}

} // namespace tarnwick
