// TViewModel: the plain data the view reads, handed down by whoever owns it.
// The view keeps no copy of any of it: every paint reads the values as they
// are now, so an owner only has to write its own fields.
#pragma once

#include "editor/base/graphics_types.h"

namespace tarnwick {

class REdoDodiStrings;
class TCustomDodiStyler;
class TCodeFolding;
class TDodiActiveLineSettings;
class TDodiGutter;
class TDodiMarkerList;
class TDodiScrollBar;
class TFoldRegions;
class TLineTokenizer;
class TRowLayout;
struct TCaretState;
struct TControlFlags;
struct TPrintOptions;
struct TViewSettings;
struct TViewState;

// The text on show and the stylers it is shown with. An attached shared
// source brings its own text and styler, so these change as sources come and
// go; the view asks for them at each use instead of holding them.
struct TShownText {
    REdoDodiStrings *Lines = nullptr;
    // The styler the text is tokenized with.
    TCustomDodiStyler *Styler = nullptr;
    // The control's own styler, whose region definitions name the summaries
    // of collapsed regions.
    TCustomDodiStyler *OwnStyler = nullptr;
};

struct TViewModel {
    // Where the caret stands and what is selected; the view moves nothing.
    const TCaretState *Caret = nullptr;
    // The view's origin, cell geometry and highlights; the view writes the
    // top line's tokenizer state and the active line.
    TViewState *View = nullptr;
    // Focus and caret display: the view records whether the caret shows.
    TControlFlags *Flags = nullptr;
    // The fold regions; the view's row layout records in their row map how
    // many rows each line takes.
    TFoldRegions *Folds = nullptr;
    // The tokenizer and the settings it is prepared with before a paint.
    TLineTokenizer *Tokenizer = nullptr;
    const TViewSettings *Settings = nullptr;
    TDodiGutter *Gutter = nullptr;
    const TCodeFolding *Folding = nullptr;
    TDodiActiveLineSettings *ActiveLine = nullptr;
    TDodiMarkerList *Markers = nullptr;
    const TPrintOptions *Print = nullptr;
    const TDodiScrollBar *VertBar = nullptr;
    const TDodiScrollBar *HorzBar = nullptr;
    // The control's bounds; the view is drawn over all of them.
    const TRect *Bounds = nullptr;
};

} // namespace tarnwick
