// Cutting a line into URL pieces: runs of separator characters (space, double
// quote, single quote, comma) alternating with runs of other characters, so
// that web addresses can be drawn as one run and clicked.
#pragma once

#include "editor/base/text_case.h"

#include <cstdint>
#include <string_view>

namespace tarnwick {

inline bool IsUrlSeparator(char32_t c) { return c == U' ' || c == U'"' || c == U'\'' || c == U','; }

enum class TUrlClass : uint8_t { Unset, Separator, Other };

inline TUrlClass UrlClassOf(char32_t c) { return IsUrlSeparator(c) ? TUrlClass::Separator : TUrlClass::Other; }

// The pieces of `text` one after another, from byte `from` on. `before` is
// the class of the character before `from` when `from` lies inside a piece
// (the first piece then goes on from there), Unset when a piece starts at
// `from`. The escape character (0 = none) keeps the character after it in
// the same piece, whatever its class.
class TUrlPieces {
public:
    TUrlPieces(std::string_view text, char32_t escape, size_t from = 0, TUrlClass before = TUrlClass::Unset)
        : text_(text), escape_(escape), start_(from), i_(from), class_(before)
    {
    }

    // The next piece, as bytes [begin, end) of the text; false past the end.
    bool Next(size_t &begin, size_t &end)
    {
        while (i_ < text_.size()) {
            const size_t at = i_;
            const char32_t c = NextCodePoint(text_, i_);
            if (escape_ != 0 && c == escape_) {
                if (i_ < text_.size())
                    NextCodePoint(text_, i_);
                continue;
            }
            const TUrlClass now = UrlClassOf(c);
            const bool ends = now != class_ && class_ != TUrlClass::Unset && at > start_;
            class_ = now;
            if (ends) {
                begin = start_;
                end = at;
                start_ = at;
                return true;
            }
        }
        if (start_ >= text_.size())
            return false;
        begin = start_;
        end = start_ = text_.size();
        return true;
    }

private:
    std::string_view text_;
    char32_t escape_;
    size_t start_;
    size_t i_;
    TUrlClass class_;
};

// Calls f(piece) for each piece in order; the pieces laid end to end give
// `text`.
template <typename F>
void ForEachUrlPiece(std::string_view text, char32_t escape, F &&f)
{
    TUrlPieces pieces(text, escape);
    for (size_t begin = 0, end = 0; pieces.Next(begin, end);)
        f(text.substr(begin, end - begin));
}

// True when the piece begins, in any case, with a web or mail address prefix.
bool IsUrlPiece(std::string_view piece);

} // namespace tarnwick
