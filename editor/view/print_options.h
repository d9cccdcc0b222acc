// TPrintOptions: what a print job looks like (name, title, margins, page
// numbers, line numbers). Plain values; the printer reads them.
#pragma once

#include <string>

namespace tarnwick {

struct TPrintOptions {
    std::string JobName;
    std::string Title;
    int MarginLeft = 0;
    int MarginRight = 0;
    int MarginTop = 0;
    int MarginBottom = 0;
    bool PageNr = false;
    std::string PagePrefix;
    bool PrintLineNumbers = false;

    void Assign(const TPrintOptions &other) { *this = other; }
    bool operator==(const TPrintOptions &) const = default;
};

} // namespace tarnwick
