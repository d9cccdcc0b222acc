// The main window's live check of the document's form: a short pause after
// typing, libxml2's first well-formedness error is underlined where it is,
// with its message as the hint over it. The check runs off the typing path.
#pragma once

#include "editor/control/background_checker.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The mark of the text's first well-formedness error, none when it is
// well-formed, at the line and column libxml2 found it.
std::vector<tarnwick::TBackgroundChecker::TMark> XmlFormMarks(tarnwick::TTextStream &text,
                                                              const std::atomic<bool> &cancel);
// Widens such a mark to the tag, entity reference or name it was found at in
// its line's text.
void XmlMarkExtent(std::string_view line, int &column, int &length);

std::unique_ptr<tarnwick::TBackgroundChecker> MakeXmlFormChecker();
