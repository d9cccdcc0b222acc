#include "editor/highlight/tokenizer_url_pieces.h"

namespace tarnwick {

bool IsUrlPiece(std::string_view piece)
{
    static constexpr std::string_view prefixes[] = {"http://", "mailto:", "www.", "https://", "ftp://", "nntp://"};
    if (piece.size() < 4)
        return false;
    const char first = static_cast<char>(piece[0] | 0x20);
    if (first != 'h' && first != 'm' && first != 'w' && first != 'f' && first != 'n')
        return false;
    for (std::string_view prefix : prefixes) {
        if (piece.size() < prefix.size())
            continue;
        bool match = true;
        for (size_t i = 0; i < prefix.size() && match; ++i) {
            char c = piece[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
            match = c == prefix[i];
        }
        if (match)
            return true;
    }
    return false;
}

} // namespace tarnwick
