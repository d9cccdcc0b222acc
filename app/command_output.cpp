// One-line reports for the command line, escaped for the terminal.
#include "app/command_output.h"

#include "xml/dom_interfaces.h"
#include "xml/verdict.h"

#include <cstdio>

namespace tarnwick {

namespace {

// Length of the well-formed UTF-8 sequence at text[at] and its code point;
// 0 when there is none.
size_t Sequence(std::string_view text, size_t at, char32_t &code)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || code > 0x10FFFF || surrogate ? 0 : length;
}

bool Hidden(char32_t code)
{
    return (code >= 0x80 && code <= 0x9F) || code == 0x2028 || code == 0x2029 || code == 0x061C || code == 0x200E ||
           code == 0x200F || (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

std::string Escape(const char *format, unsigned value)
{
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string_view Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

std::string TerminalSafe(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F)
                out += Escape("\\x%02X", byte);
            else
                out += static_cast<char>(byte);
            ++at;
            continue;
        }
        char32_t code = 0;
        const size_t length = Sequence(text, at, code);
        if (length == 0) {
            out += Escape("\\x%02X", byte);
            ++at;
        } else {
            if (Hidden(code))
                out += Escape("\\u%04X", static_cast<unsigned>(code));
            else
                out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

std::string FileReportLine(const std::string &file, const std::string &message, int line, int column)
{
    std::string position;
    if (line > 0)
        position = ":" + std::to_string(line) + ":" + std::to_string(column);
    return TerminalSafe(file) + position + ": " + TerminalSafe(Trimmed(message));
}

std::string FileReportLine(const std::string &file, xml::IDOMParseError &error)
{
    const bool pointsAtText = !error.srcText().empty() || error.line() > 1;
    // A file whose DTD, entity or schema could not be read is neither valid
    // nor shown to be invalid.
    auto *told = dynamic_cast<xml::IDOMVerdict *>(&error);
    const std::string verdict = told && told->verdict() == xml::Verdict::NotChecked ? "could not be checked: " : "";
    return FileReportLine(file, verdict + error.reason(), pointsAtText ? error.line() : 0, error.linepos());
}

} // namespace tarnwick
