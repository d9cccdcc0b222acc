// TEditorEvents: the control's published events, in one table. Each layer
// raises its own (the view its gutter and scroll events, the commands caret
// moves, input the key and mouse events), always with the control as sender;
// to those layers the control's class is only a name.
#pragma once

#include "editor/base/editor_types.h"
#include "editor/base/graphics_types.h"

#include <functional>
#include <string>

namespace tarnwick {

class Canvas;
class TCustomDodi;

struct TEditorEvents {
    using TNotifyEvent = std::function<void(TCustomDodi &sender)>;

    virtual ~TEditorEvents() = default;
    // The control raising the events.
    virtual TCustomDodi &Sender() = 0;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnStatusChange;
    TNotifyEvent OnCursorChange;
    std::function<void(int CurYPos)> OnActiveLineChange;
    std::function<void(int CurXPos)> OnColumnChange;
    std::function<void(TCustomDodi &sender, bool CanUndo, bool CanRedo)> OnUndoChange;
    std::function<void(TCustomDodi &sender, bool &Allow)> OnOverwriteToggle;
    std::function<void(TCustomDodi &sender, int LineNo)> OnGutterClick;
    std::function<void(TCustomDodi &sender, int LineNo)> OnGutterRightClick;
    std::function<void(TCustomDodi &sender, int LineNo)> OnGutterDblClick;
    std::function<void(TCustomDodi &sender, Canvas &ACanvas, int LineNo, const TRect &rct)> OnGutterDraw;
    std::function<void(TCustomDodi &sender, const std::string &URL)> OnURLClick;
    TNotifyEvent OnFind;
    TNotifyEvent OnReplace;
    std::function<void(TCustomDodi &sender, const std::string &FileName, bool &DefaultHandler)> OnFileDrop;
    std::function<void(TCustomDodi &sender, int ARow, std::string &hintstr)> OnScrollHint;
    TNotifyEvent OnTopLeftChanged;
    std::function<void(int LnNo, const std::string &MarkerText)> OnMarkerAdded;
    std::function<void(int LnNo)> OnMarkerRemoved;
    using TMemoHintEvent = std::function<void(TCustomDodi &sender, int X, int Y, const std::string &AValue,
                                              std::string &AHint, bool &Show)>;
    TMemoHintEvent OnHintForWord;
    TMemoHintEvent OnHintForToken;
    std::function<void(TCustomDodi &sender, const std::string &CurrentWord, std::string &NewWord)> OnWordComplete;
    TNotifyEvent OnAutoCompletion;
    TNotifyEvent OnStartAutoCompletion;
    TNotifyEvent OnCancelAutoCompletion;
    std::function<void(TCustomDodi &sender, const std::string &AToken, bool &Show)> OnBeforeAutoCompletion;
    std::function<void(TCustomDodi &sender, const std::string &AToken, TCompletionItems &AList)>
        OnGetAutoCompletionList;
    std::function<void(TCustomDodi &sender, std::string &AEntry)> OnInsertAutoCompletionEntry;
    std::function<int(TCustomDodi &sender, const TCompletionItems &List, int Index1, int Index2)>
        OnSortAutoCompletionList;
    std::function<void(TCustomDodi &sender, const std::string &AToken, std::string &AParameterHint, bool &Handled)>
        OnGetParameterHint;
    // The usual control notifications.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    std::function<void(TCustomDodi &sender, uint16_t &Key, TShiftState Shift)> OnKeyDown;
    std::function<void(TCustomDodi &sender, uint16_t &Key, TShiftState Shift)> OnKeyUp;
    std::function<void(TCustomDodi &sender, char32_t &Key)> OnKeyPress;
    std::function<void(TCustomDodi &sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseDown;
    std::function<void(TCustomDodi &sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseUp;
    std::function<void(TCustomDodi &sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(TCustomDodi &sender, void *Source, int X, int Y, TDragState State, bool &Accept)> OnDragOver;
    std::function<void(TCustomDodi &sender, void *Source, int X, int Y)> OnDragDrop;
    TNotifyEvent OnStartDrag;
    std::function<void(TCustomDodi &sender, void *Target, int X, int Y)> OnEndDrag;
    TNotifyEvent OnStartDock;
    std::function<void(TCustomDodi &sender, void *Target, int X, int Y)> OnEndDock;
};

} // namespace tarnwick
