// The first well-formedness error of XML text, as libxml2 reports it. The
// check builds no tree and reads nothing but the text (no DTD, no entity), so
// it can run on a copy of the editor's text in a thread of its own.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::xml {

struct WellFormednessError {
    int line = 1;   // 1-based
    int column = 1; // 1-based, in characters
    std::string message;
};

// `text` is UTF-8 whatever its declaration says. When `cancel` turns true
// the check stops early and answers nothing.
std::optional<WellFormednessError> FirstWellFormednessError(std::string_view text,
                                                            const std::atomic<bool> *cancel = nullptr);

} // namespace tarnwick::xml
