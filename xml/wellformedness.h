// The first well-formedness error of XML text, as libxml2 reports it. The
// check builds no tree and reads nothing but the text (no DTD, no entity), so
// it can run on a copy of the editor's text in a thread of its own.
#pragma once

#include "xml/problem_list.h"

#include <atomic>
#include <functional>
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

// Fills up to `length` bytes of `buffer` with the next of the text and says
// how many; 0 at its end.
using TextReader = std::function<size_t(char *buffer, size_t length)>;
// The same for a text read as the check goes.
std::optional<WellFormednessError> FirstWellFormednessError(const TextReader &read,
                                                            const std::atomic<bool> *cancel = nullptr);
// Every error and warning the check meets, in the order found (the parser
// goes on after many errors); none when cancelled.
std::optional<ProblemList> WellFormednessProblems(const TextReader &read, const std::atomic<bool> *cancel = nullptr,
                                                  size_t listed = kListedProblems);

} // namespace tarnwick::xml
