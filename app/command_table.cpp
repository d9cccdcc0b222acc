#include "app/command_table.h"

#include <array>

namespace {

constexpr std::array<const char *, 5> kMenus{"&File", "&Edit", "&View", "&XML", "&Help"};

// The Close item and its button stay hidden in this build; the item runs nothing.
// Where a command has a key of its own and the common desktop key is free as
// well, both work and the menu shows the first.
constexpr MenuRow kMenuRows[] = {
    {"&File", "New1", "&New", "Ctrl+N", CommandId::New, false, false},
    {"&File", "Open1", "&Open", "F2; Ctrl+O", CommandId::Open, false, false},
    {"&File", "RecentFiles1", "Open &Recent", "", CommandId::RecentFiles, false, false},
    {"&File", "Save1", "&Save", "Ctrl+S", CommandId::Save, false, false},
    {"&File", "Saveas1", "Save &as ...", "Ctrl+Shift+S", CommandId::SaveAs, false, false},
    {"&File", "Close1", "&Close", "", CommandId::None, true, true},
    {"&File", "Print1", "&Print", "Ctrl+P", CommandId::Print, false, true},
    {"&File", "Exit1", "E&xit", "F10; Ctrl+Q", CommandId::Exit, false, false},
    {"&Edit", "Undo1", "&Undo", "Ctrl+Z", CommandId::Undo, false, false},
    {"&Edit", "Redo1", "&Redo", "Ctrl+Alt+Z", CommandId::Redo, false, true},
    {"&Edit", "Cut1", "Cu&t", "Ctrl+X", CommandId::Cut, false, false},
    {"&Edit", "Copy1", "&Copy", "Ctrl+C", CommandId::Copy, false, false},
    {"&Edit", "Paste1", "&Paste", "Ctrl+V", CommandId::Paste, false, true},
    {"&Edit", "Delete1", "&Delete", "Ctrl+Del", CommandId::Delete, false, false},
    {"&Edit", "SelectAll1", "Select &All", "Ctrl+A", CommandId::SelectAll, false, false},
    {"&Edit", "DeleteLine1", "Delete &Line", "Ctrl+Y", CommandId::DeleteLine, false, true},
    {"&Edit", "Find1", "&Find ...", "Ctrl+F", CommandId::Search, false, false},
    {"&Edit", "FindNext1", "Find &Next", "F3", CommandId::FindNext, false, false},
    {"&Edit", "FindPrevious1", "Find Pre&vious", "Shift+F3", CommandId::FindPrevious, false, false},
    {"&Edit", "Goto1", "&Go to ...", "Ctrl+G", CommandId::GoTo, false, true},
    {"&Edit", "ToggleComment1", "Toggle Co&mment", "Ctrl+/", CommandId::ToggleComment, false, true},
    {"&Edit", "LineEndsLf1", "Line Ends: Uni&x (LF)", "", CommandId::LineEndsLf, false, false},
    {"&Edit", "LineEndsCrLf1", "Line Ends: &Windows (CR LF)", "", CommandId::LineEndsCrLf, false, false},
    {"&Edit", "LineEndsCr1", "Line Ends: Classic &Mac (CR)", "", CommandId::LineEndsCr, false, false},
    {"&View", "WordWrap1", "&Word Wrap", "", CommandId::WordWrap, false, false},
    {"&View", "CollapseRegion1", "&Collapse Region", "Ctrl+Shift+[", CommandId::CollapseRegion, false, false},
    {"&View", "ExpandRegion1", "&Expand Region", "Ctrl+Shift+]", CommandId::ExpandRegion, false, false},
    {"&View", "CollapseAll1", "Collapse A&ll", "Ctrl+K, Ctrl+0", CommandId::CollapseAllRegions, false, false},
    {"&View", "ExpandAll1", "Expand All", "Ctrl+K, Ctrl+J", CommandId::ExpandAllRegions, false, true},
    {"&View", "Problems1", "&Problems", "", CommandId::ShowProblems, false, false},
    {"&View", "Outline1", "&Outline", "", CommandId::ShowOutline, false, true},
    {"&View", "ViewinIE1", "View in &IE", "", CommandId::ViewInBrowser, false, false},
    {"&XML", "FormatTidy1", "&Format (Tidy)", "", CommandId::Format, false, false},
    {"&XML", "Validate1", "&Validate", "", CommandId::Validate, false, false},
    {"&XML", "ValidateAgainst1", "Validate &Against ...", "", CommandId::ValidateAgainst, false, false},
    {"&XML", "EvaluateXPath1", "Evaluate X&Path ...", "Ctrl+Shift+X", CommandId::EvaluateXPath, false, false},
    {"&XML", "Transform1", "&Transform ...", "", CommandId::Transform, false, false},
    {"&XML", "DocConfiguration1", "Doc &Configuration", "", CommandId::DocConfiguration, false, false},
    {"&Help", "About1", "&About", "", CommandId::About, false, false},
};

constexpr ToolButtonRow kToolButtons[] = {
    {"ToolButton15", "New", 13, CommandId::New, false},
    {"ToolButton1", "Open File", 0, CommandId::Open, false},
    {"ToolButton14", "Close", 12, CommandId::HiddenClose, true},
    {"ToolButton6", "Save", 4, CommandId::Save, false},
    {nullptr, nullptr, -1, CommandId::None, false},
    {"ToolButton13", "Add Node", 9, CommandId::AddNode, true},
    {"ToolButton2", "Format", 1, CommandId::Format, false},
    {"ToolButton9", "Validate", 6, CommandId::Validate, false},
    {"ToolButton18", "Config", 14, CommandId::DocConfiguration, false},
    {nullptr, nullptr, -1, CommandId::None, false},
    {"ToolButton16", "Go to", 11, CommandId::GoTo, true},
    {"ToolButton11", "Search", 7, CommandId::Search, false},
    {nullptr, nullptr, -1, CommandId::None, false},
    {"ToolButton12", "View in IE", 8, CommandId::ViewInBrowser, false},
    {"ToolButton8", "Print", 5, CommandId::Print, false},
    {"ToolButton3", "About", 2, CommandId::About, false},
    {nullptr, nullptr, -1, CommandId::None, false},
    {"ToolButton5", "Exit", 3, CommandId::Exit, false},
};

} // namespace

std::span<const char *const> MenuCaptions() { return kMenus; }

std::span<const MenuRow> MenuRows() { return kMenuRows; }

std::span<const ToolButtonRow> ToolButtonRows() { return kToolButtons; }
