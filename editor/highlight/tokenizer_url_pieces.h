// Cutting a line into URL pieces: runs of separator characters (space, double
// quote, single quote, comma) alternating with runs of other characters, so
// that web addresses can be drawn as one run and clicked.
#pragma once

#include "editor/base/text_case.h"

#include <string_view>

namespace tarnwick {

inline bool IsUrlSeparator(char32_t c) { return c == U' ' || c == U'"' || c == U'\'' || c == U','; }

// Calls f(piece) for each piece in order; the pieces laid end to end give
// `text`. The escape character (0 = none) keeps the character after it in the
// same piece, whatever its class.
template <typename F>
void ForEachUrlPiece(std::string_view text, char32_t escape, F &&f)
{
    enum { Unset, Separator, Other } cls = Unset;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t at = i;
        const char32_t c = NextCodePoint(text, i);
        if (escape != 0 && c == escape) {
            if (i < text.size())
                NextCodePoint(text, i);
            continue;
        }
        const auto now = IsUrlSeparator(c) ? Separator : Other;
        if (now != cls && cls != Unset && at > start) {
            f(text.substr(start, at - start));
            start = at;
        }
        cls = now;
    }
    if (start < text.size())
        f(text.substr(start));
}

// True when the piece begins, in any case, with a web or mail address prefix.
bool IsUrlPiece(std::string_view piece);

} // namespace tarnwick
