// The main window's live check of the document's form: a short pause after
// typing, libxml2's first well-formedness error is underlined where it is,
// with its message as the hint over it. The check runs off the typing path.
#pragma once

#include "editor/control/background_checker.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// The mark of the text's first well-formedness error, none when it is
// well-formed: the tag, entity reference or name the error was found at.
std::vector<tarnwick::TBackgroundChecker::TMark> XmlFormMarks(const std::string &text, const std::atomic<bool> &cancel);

std::unique_ptr<tarnwick::TBackgroundChecker> MakeXmlFormChecker();
