// The main window's live check of the document's form: a short pause after
// typing, each error and warning libxml2 meets is underlined where it is,
// with its message as the hint over it. The check runs off the typing path.
#pragma once

#include "editor/control/background_checker.h"
#include "xml/element_outline.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// What a mark's message begins with when it is a warning, not an error.
inline constexpr std::string_view kWarningPrefix = "Warning: ";

// Where a check leaves the element tree of the text it read, for the
// interface thread to take once the check's marks are in place.
class OutlineSlot {
public:
    void Put(std::shared_ptr<const tarnwick::xml::ElementOutline> outline);
    std::shared_ptr<const tarnwick::xml::ElementOutline> Take();

private:
    std::mutex mutex_;
    std::shared_ptr<const tarnwick::xml::ElementOutline> outline_;
};

// The marks of the text's well-formedness errors and warnings, in the order
// found, none when it is well-formed, at the lines and columns libxml2 found
// them. With an outline slot, the text's element tree goes there too, built
// from the same reading of the text.
std::vector<tarnwick::TBackgroundChecker::TMark>
XmlFormMarks(tarnwick::TTextStream &text, const std::atomic<bool> &cancel, OutlineSlot *outline = nullptr);
// Widens such a mark to the tag, entity reference or name it was found at in
// its line's text.
void XmlMarkExtent(std::string_view line, int &column, int &length);

std::unique_ptr<tarnwick::TBackgroundChecker> MakeXmlFormChecker(std::shared_ptr<OutlineSlot> outline = nullptr);
