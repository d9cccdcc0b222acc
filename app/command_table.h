// The main window's commands as data: the menu items and the tool bar buttons,
// in their display order, each naming the command it runs. The window builds
// its menu and tool bar by walking these tables.
#pragma once

#include <span>

enum class CommandId {
    None,
    New,
    Open,
    Save,
    SaveAs,
    HiddenClose,
    Print,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    DeleteLine,
    WordWrap,
    ViewInBrowser,
    Format,
    Validate,
    DocConfiguration,
    About,
    AddNode,
    GoTo,
    Search,
    FindNext,
    FindPrevious,
    RecentFiles, // the row stands for the submenu of recently used files
    CollapseRegion,
    ExpandRegion,
    CollapseAllRegions,
    ExpandAllRegions,
    LineEndsLf,
    LineEndsCrLf,
    LineEndsCr,
    EvaluateXPath,
    ValidateAgainst,
    ShowProblems,
    ToggleComment,
    ShowOutline,
    Transform,
};

struct MenuRow {
    const char *menu;     // top-level caption the item sits under, "&" before its mnemonic
    const char *name;     // object name, e.g. "Open1"
    const char *caption;  // "&" before the mnemonic letter
    const char *shortcut; // empty for none; several are separated by "; ", the first is shown
    CommandId command;
    bool hidden;
    bool separatorAfter;
};

// A row with a null name is a separator.
struct ToolButtonRow {
    const char *name;
    const char *caption;
    int image; // index into the tool bar image list
    CommandId command;
    bool hidden;
};

std::span<const char *const> MenuCaptions();
std::span<const MenuRow> MenuRows();
std::span<const ToolButtonRow> ToolButtonRows();
