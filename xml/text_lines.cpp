#include "xml/text_lines.h"

namespace tarnwick::xml {

SplitLines::SplitLines(std::string_view text) : text_(text)
{
    std::string_view all = text_;
    size_t start = 0;
    while (start < all.size()) {
        const size_t brk = all.find_first_of("\r\n", start);
        if (brk == std::string_view::npos) {
            lines_.push_back(all.substr(start));
            return;
        }
        lines_.push_back(all.substr(start, brk - start));
        start = brk + (all.compare(brk, 2, "\r\n") == 0 ? 2 : 1);
    }
}

} // namespace tarnwick::xml
