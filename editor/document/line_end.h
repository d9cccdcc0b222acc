// How a line of the store ends in the file: each line keeps the break it was
// read with, so a file saves with the breaks it had, mixed ones included.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarnwick {

enum TLineEnd : uint8_t { leLF, leCRLF, leCR };

constexpr std::string_view LineEndText(TLineEnd end)
{
    switch (end) {
    case leCRLF:
        return "\r\n";
    case leCR:
        return "\r";
    default:
        return "\n";
    }
}

// The name the status strip gives a style.
constexpr std::string_view LineEndName(TLineEnd end)
{
    switch (end) {
    case leCRLF:
        return "CRLF";
    case leCR:
        return "CR";
    default:
        return "LF";
    }
}

} // namespace tarnwick
