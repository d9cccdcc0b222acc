// Decoding a serialisation to UTF-8 with libxml2's encoding handlers, and
// the way back; reading a document's encoding from its first bytes.
#include "xml/transcode.h"

#include <libxml/encoding.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "xml/declaration.h"
#include "xml/libxml2_internal.h"

namespace tarnwick::xml {

namespace {

bool IsUtf8Name(const std::string &encoding)
{
    std::string e;
    for (char c : encoding)
        e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return e.empty() || e == "UTF-8" || e == "UTF8";
}

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

// Length of the well-formed UTF-8 sequence at bytes[at], 0 when there is none
// (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
size_t Utf8SequenceLength(std::string_view bytes, size_t at)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char c = b(at);
    if (c < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    if (b(at + 1) < low || b(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if ((b(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

std::string DecodeToUtf8(std::string &&bytes, const std::string &encoding)
{
    if (!IsUtf8Name(encoding))
        return DecodeToUtf8(std::string_view(bytes), encoding);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    return std::move(bytes);
}

std::string DecodeToUtf8(std::string_view bytes, const std::string &encoding)
{
    if (IsUtf8Name(encoding)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        return std::string(bytes);
    }
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr)
        return std::string(bytes);
    xmlBufferPtr in = xmlBufferCreateStatic(const_cast<char *>(bytes.data()), bytes.size());
    xmlBufferPtr out = xmlBufferCreateSize(bytes.size() + bytes.size() / 2 + 16);
    std::string result;
    if (in && out) {
        libxml2::CapturedError ignored;
        libxml2::StructuredErrorScope quiet(&ignored);
        xmlCharEncInFunc(handler, out, in);
        result.assign(reinterpret_cast<const char *>(xmlBufferContent(out)), static_cast<size_t>(xmlBufferLength(out)));
    }
    if (in)
        xmlBufferFree(in);
    if (out)
        xmlBufferFree(out);
    xmlCharEncCloseFunc(handler);
    if (result.substr(0, 3) == "\xEF\xBB\xBF")
        result.erase(0, 3);
    return result;
}

std::string DetectDocumentEncoding(std::string_view bytes)
{
    using namespace std::string_view_literals;
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return "UTF-8";
    if (StartsWith(bytes, "\xFF\xFE\0\0"sv) || StartsWith(bytes, "<\0\0\0"sv))
        return "UTF-32LE";
    if (StartsWith(bytes, "\0\0\xFE\xFF"sv) || StartsWith(bytes, "\0\0\0<"sv))
        return "UTF-32BE";
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "<\0?\0"sv))
        return "UTF-16LE";
    if (StartsWith(bytes, "\xFE\xFF") || StartsWith(bytes, "\0<\0?"sv))
        return "UTF-16BE";
    const std::string declared = DeclaredEncoding(bytes);
    return declared.empty() ? "UTF-8" : declared;
}

std::string EncodeFromUtf8(std::string_view text, const std::string &encoding)
{
    return libxml2::EncodeText(text, encoding);
}

bool IsUtf8Encoding(const std::string &encoding) { return IsUtf8Name(encoding); }

bool IsValidUtf8(std::string_view bytes)
{
    const size_t size = bytes.size();
    size_t at = 0;
    while (at < size) {
        // ASCII runs, the bulk of most documents, are passed eight bytes at a time.
        while (at + 8 <= size) {
            uint64_t word;
            std::memcpy(&word, bytes.data() + at, 8);
            if (word & 0x8080808080808080ull)
                break;
            at += 8;
        }
        if (at >= size)
            break;
        const size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

char32_t Windows1252Character(unsigned char byte)
{
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

} // namespace tarnwick::xml
