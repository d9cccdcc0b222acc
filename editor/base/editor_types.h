// Enumerations and small sets shared by the editor control and its parts.
#pragma once

#include "editor/base/graphics_types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

enum class TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
inline constexpr TShiftStateItem ssShift = TShiftStateItem::ssShift;
inline constexpr TShiftStateItem ssAlt = TShiftStateItem::ssAlt;
inline constexpr TShiftStateItem ssCtrl = TShiftStateItem::ssCtrl;
inline constexpr TShiftStateItem ssLeft = TShiftStateItem::ssLeft;
inline constexpr TShiftStateItem ssRight = TShiftStateItem::ssRight;
inline constexpr TShiftStateItem ssMiddle = TShiftStateItem::ssMiddle;
inline constexpr TShiftStateItem ssDouble = TShiftStateItem::ssDouble;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Cursor ids keep the toolkit's numbers, which the mouse code stores.
enum TCursor : int16_t {
    crDefault = 0,
    crArrow = -2,
    crIBeam = -4,
    crSizeAll = -22,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHandPoint = -21,
};

enum TBorderStyle : uint8_t { bsNone, bsSingle };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollMode : uint8_t { smAuto, smStrict };
enum TWordWrapStyle : uint8_t { wwNone, wwClientWidth, wwRightMargin };
enum TAutoHintParameters : uint8_t { hpAuto, hpManual, hpNone };
enum TAutoHintParameterPosition : uint8_t { hpBelowCode, hpAboveCode };
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };

enum class TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
inline constexpr TAnchorKind akLeft = TAnchorKind::akLeft;
inline constexpr TAnchorKind akTop = TAnchorKind::akTop;
inline constexpr TAnchorKind akRight = TAnchorKind::akRight;
inline constexpr TAnchorKind akBottom = TAnchorKind::akBottom;

// A (column, line) position in the line store, both 0-based.
struct TCaretPos {
    int Col = 0;
    int Line = 0;
    bool operator==(const TCaretPos &) const = default;
    // Document order: by line, then column.
    bool operator<(const TCaretPos &o) const { return Line < o.Line || (Line == o.Line && Col < o.Col); }
};

// One completion entry: the text and its kind (0 identifier, 1 variable, ...).
struct TCompletionItem {
    std::string Text;
    int Kind = 0;
    bool operator==(const TCompletionItem &) const = default;
};
using TCompletionItems = std::vector<TCompletionItem>;

} // namespace tarnwick
