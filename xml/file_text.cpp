// The codec between a document file's bytes and the editor's text. The
// Unicode forms and the two common code pages are decoded here, strictly, so
// that each decoding has exactly one way back; other encodings go through
// libxml2 and are kept only when writing the text again gives the same bytes.
#include "xml/file_text.h"

#include <libxml/encoding.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "xml/declaration.h"
#include "xml/file_read.h"
#include "xml/transcode.h"
#include "xml/unencodable_markup.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

using namespace std::string_view_literals;

// The codecs this file knows itself; kOther goes through libxml2.
enum class TForm { kUtf8, kUtf16Le, kUtf16Be, kUtf32Le, kUtf32Be, kLatin1, kWindows1252, kOther };

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string Normalised(std::string_view encoding)
{
    std::string e;
    for (char c : encoding)
        if (std::isalnum(static_cast<unsigned char>(c)))
            e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return e;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

// UTF-16 and UTF-32 named without a byte order are written little-endian
// with a mark, as a document save writes them.
TForm FormOf(std::string_view encoding)
{
    const std::string e = Normalised(encoding);
    if (e.empty() || e == "UTF8")
        return TForm::kUtf8;
    if (e == "UTF16LE" || e == "UTF16")
        return TForm::kUtf16Le;
    if (e == "UTF16BE")
        return TForm::kUtf16Be;
    if (e == "UTF32LE" || e == "UTF32")
        return TForm::kUtf32Le;
    if (e == "UTF32BE")
        return TForm::kUtf32Be;
    if (e == "ISO88591" || e == "LATIN1" || e == "L1" || e == "ISOIR100" || e == "CP819" || e == "IBM819")
        return TForm::kLatin1;
    if (e == "WINDOWS1252" || e == "CP1252" || e == "XCP1252")
        return TForm::kWindows1252;
    return TForm::kOther;
}

bool NamesNoByteOrder(std::string_view encoding)
{
    const std::string e = Normalised(encoding);
    return e == "UTF16" || e == "UTF32";
}

const char *CanonicalName(TForm form)
{
    switch (form) {
    case TForm::kUtf8:
        return "UTF-8";
    case TForm::kUtf16Le:
        return "UTF-16LE";
    case TForm::kUtf16Be:
        return "UTF-16BE";
    case TForm::kUtf32Le:
        return "UTF-32LE";
    case TForm::kUtf32Be:
        return "UTF-32BE";
    case TForm::kLatin1:
        return "ISO-8859-1";
    case TForm::kWindows1252:
        return "windows-1252";
    case TForm::kOther:
        break;
    }
    return "";
}

// Bits per code unit of a Unicode form, by name; 0 for any other encoding.
int UnicodeWidth(std::string_view encoding)
{
    const std::string e = Normalised(encoding);
    if (e == "UTF8")
        return 8;
    if (e.rfind("UTF16", 0) == 0 || e.rfind("UCS2", 0) == 0 || e == "UNICODE")
        return 16;
    if (e.rfind("UTF32", 0) == 0 || e.rfind("UCS4", 0) == 0)
        return 32;
    return 0;
}

size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

// Writes the UTF-8 form of `c` at `to`; returns the end of what it wrote.
char *PutUtf8(char *to, char32_t c)
{
    if (c < 0x80) {
        *to++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *to++ = static_cast<char>(0xC0 | (c >> 6));
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *to++ = static_cast<char>(0xE0 | (c >> 12));
        *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *to++ = static_cast<char>(0xF0 | (c >> 18));
        *to++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return to;
}

// The character whose well-formed UTF-8 sequence starts at text[at], and the
// sequence's length; length 0 when none starts there.
std::pair<char32_t, size_t> NextCharacter(std::string_view text, size_t at)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = b(at);
    if (first < 0x80)
        return {first, 1};
    size_t length;
    char32_t c;
    unsigned char low = 0x80, high = 0xBF;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        c = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        c = first & 0x0F;
        low = first == 0xE0 ? 0xA0 : 0x80;
        high = first == 0xED ? 0x9F : 0xBF;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        c = first & 0x07;
        low = first == 0xF0 ? 0x90 : 0x80;
        high = first == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {0, 0};
    }
    if (at + length > text.size() || b(at + 1) < low || b(at + 1) > high)
        return {0, 0};
    for (size_t i = 1; i < length; ++i) {
        if ((b(at + i) & 0xC0) != 0x80)
            return {0, 0};
        c = (c << 6) | (b(at + i) & 0x3F);
    }
    return {c, length};
}

[[noreturn]] void RaiseNotUtf8(std::string_view encoding)
{
    throw EXMLLayerError("The text cannot be written in encoding \"" + std::string(encoding) +
                         "\": it is not valid UTF-8");
}

// --- UTF-16 and UTF-32 ---------------------------------------------------
// Both directions measure first and then fill a string of the exact size:
// a 100 MB file is never held twice over in a string that grew.

template <size_t kSize, bool kBigEndian>
char32_t UnitAt(const unsigned char *p)
{
    if constexpr (kSize == 2)
        return kBigEndian ? char32_t(p[0]) << 8 | p[1] : char32_t(p[1]) << 8 | p[0];
    else if constexpr (kBigEndian)
        return char32_t(p[0]) << 24 | char32_t(p[1]) << 16 | char32_t(p[2]) << 8 | p[3];
    else
        return char32_t(p[3]) << 24 | char32_t(p[2]) << 16 | char32_t(p[1]) << 8 | p[0];
}

template <size_t kSize, bool kBigEndian>
char *PutUnit(char *to, char32_t unit)
{
    for (size_t i = 0; i < kSize; ++i)
        *to++ = static_cast<char>(unit >> (8 * (kBigEndian ? kSize - 1 - i : i)));
    return to;
}

// Gives each character of the code units to `take`. Only well-formed units
// pass (whole units, paired surrogates, nothing past U+10FFFF), which makes
// encoding their exact inverse; false at the first that is not.
template <size_t kSize, bool kBigEndian, typename Take>
bool ForEachCharacter(std::string_view units, Take take)
{
    if (units.size() % kSize != 0)
        return false;
    const auto *p = reinterpret_cast<const unsigned char *>(units.data());
    const auto *end = p + units.size();
    while (p < end) {
        char32_t c = UnitAt<kSize, kBigEndian>(p);
        p += kSize;
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (kSize == 4 || c >= 0xDC00 || p == end)
                return false;
            const char32_t low = UnitAt<kSize, kBigEndian>(p);
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            p += kSize;
        } else if (c > 0x10FFFF) {
            return false;
        }
        take(c);
    }
    return true;
}

template <size_t kSize, bool kBigEndian>
bool DecodeUnitsAs(std::string_view units, std::string &out)
{
    size_t length = 0;
    if (!ForEachCharacter<kSize, kBigEndian>(units, [&](char32_t c) { length += Utf8Length(c); }))
        return false;
    out.resize(length);
    char *to = out.data();
    ForEachCharacter<kSize, kBigEndian>(units, [&](char32_t c) { to = PutUtf8(to, c); });
    return true;
}

template <size_t kSize, bool kBigEndian>
std::string EncodeUnitsAs(std::string_view text, bool mark, std::string_view encoding)
{
    size_t units = mark ? 1 : 0;
    for (size_t at = 0; at < text.size();) {
        const auto [c, length] = NextCharacter(text, at);
        if (length == 0)
            RaiseNotUtf8(encoding);
        units += kSize == 2 && c >= 0x10000 ? 2 : 1;
        at += length;
    }
    std::string out(units * kSize, '\0');
    char *to = out.data();
    if (mark)
        to = PutUnit<kSize, kBigEndian>(to, 0xFEFF);
    for (size_t at = 0; at < text.size();) {
        const auto [c, length] = NextCharacter(text, at);
        if (kSize == 2 && c >= 0x10000) {
            to = PutUnit<kSize, kBigEndian>(to, 0xD800 + ((c - 0x10000) >> 10));
            to = PutUnit<kSize, kBigEndian>(to, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            to = PutUnit<kSize, kBigEndian>(to, c);
        }
        at += length;
    }
    return out;
}

bool DecodeUnits(std::string_view units, TForm form, std::string &out)
{
    switch (form) {
    case TForm::kUtf16Le:
        return DecodeUnitsAs<2, false>(units, out);
    case TForm::kUtf16Be:
        return DecodeUnitsAs<2, true>(units, out);
    case TForm::kUtf32Le:
        return DecodeUnitsAs<4, false>(units, out);
    default:
        return DecodeUnitsAs<4, true>(units, out);
    }
}

std::string EncodeUnits(std::string_view text, TForm form, bool mark)
{
    const char *name = CanonicalName(form);
    switch (form) {
    case TForm::kUtf16Le:
        return EncodeUnitsAs<2, false>(text, mark, name);
    case TForm::kUtf16Be:
        return EncodeUnitsAs<2, true>(text, mark, name);
    case TForm::kUtf32Le:
        return EncodeUnitsAs<4, false>(text, mark, name);
    default:
        return EncodeUnitsAs<4, true>(text, mark, name);
    }
}

// --- One byte, one character ---------------------------------------------

// A code page where each of the 256 bytes is a character of its own, in both
// directions. Windows-1252 in this form reads any bytes at all, so it is
// what bytes that are not what they claim fall back to.
class TByteTable {
public:
    explicit TByteTable(char32_t (*character)(unsigned char))
    {
        for (int byte = 0; byte < 256; ++byte) {
            const char32_t c = character(static_cast<unsigned char>(byte));
            length_[byte] = static_cast<unsigned char>(PutUtf8(utf8_[byte].data(), c) - utf8_[byte].data());
            if (byte >= 0x80)
                back_.emplace_back(c, static_cast<unsigned char>(byte));
        }
        std::sort(back_.begin(), back_.end());
    }

    std::string Decode(std::string_view bytes) const
    {
        size_t size = bytes.size();
        for (char b : bytes)
            size += length_[static_cast<unsigned char>(b)] - 1;
        // Three bytes to spare, so that every character is copied as four.
        std::string out(size + 3, '\0');
        char *to = out.data();
        const char *from = bytes.data();
        const char *end = from + bytes.size();
        while (from < end) {
            if (end - from >= 8) {
                uint64_t word;
                std::memcpy(&word, from, 8);
                if ((word & 0x8080808080808080ull) == 0) {
                    std::memcpy(to, from, 8);
                    to += 8;
                    from += 8;
                    continue;
                }
            }
            const auto byte = static_cast<unsigned char>(*from++);
            std::memcpy(to, utf8_[byte].data(), 4);
            to += length_[byte];
        }
        out.resize(size);
        return out;
    }

    // The byte for `c`, or -1 when the code page has none.
    int Byte(char32_t c) const
    {
        if (c < 0x80)
            return static_cast<int>(c);
        const auto at = std::lower_bound(back_.begin(), back_.end(), std::pair<char32_t, unsigned char>(c, 0));
        return at != back_.end() && at->first == c ? at->second : -1;
    }

    // A character the code page lacks becomes a decimal character reference
    // (as libxml2 writes one), unless it stands where no reference can.
    std::string Encode(std::string_view text, const std::string &encoding) const
    {
        std::string out;
        out.reserve(text.size());
        bool referenced = false;
        for (size_t at = 0; at < text.size();) {
            const auto [c, length] = NextCharacter(text, at);
            if (length == 0)
                RaiseNotUtf8(encoding);
            at += length;
            if (const int byte = Byte(c); byte >= 0) {
                out += static_cast<char>(byte);
            } else {
                out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
                referenced = true;
            }
        }
        if (referenced)
            CheckMarkup(text, encoding);
        return out;
    }

private:
    // The markup check asks libxml2 which characters the encoding holds, and
    // its Windows-1252 lacks the five bytes this table gives C1 controls. So
    // it is shown the text with every character the table holds written as a
    // plain letter: lines, columns and markup stay as they are.
    void CheckMarkup(std::string_view text, const std::string &encoding) const
    {
        std::string shown;
        shown.reserve(text.size());
        for (size_t at = 0; at < text.size();) {
            const auto [c, length] = NextCharacter(text, at);
            if (c >= 0x80 && Byte(c) >= 0)
                shown += 'x';
            else
                shown.append(text.substr(at, length));
            at += length;
        }
        CheckEncodableMarkup(shown, encoding);
    }

    std::array<std::array<char, 4>, 256> utf8_{};
    std::array<unsigned char, 256> length_{};
    std::vector<std::pair<char32_t, unsigned char>> back_;
};

char32_t Latin1Character(unsigned char byte) { return byte; }

const TByteTable &TableOf(TForm form)
{
    static const TByteTable latin1(Latin1Character);
    static const TByteTable windows1252(Windows1252Character);
    return form == TForm::kLatin1 ? latin1 : windows1252;
}

// --- Decoding --------------------------------------------------------------

// The Unicode form the first bytes show, by a byte order mark or by "<" or
// "<?" in a wider form, and the length of the mark.
struct TLeadingForm {
    TForm form = TForm::kOther;
    size_t markLength = 0;
};

TLeadingForm ReadLeadingForm(std::string_view bytes)
{
    const auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    if (starts(kUtf8Mark))
        return {TForm::kUtf8, 3};
    if (starts("\xFF\xFE\0\0"sv))
        return {TForm::kUtf32Le, 4};
    if (starts("\0\0\xFE\xFF"sv))
        return {TForm::kUtf32Be, 4};
    if (starts("\xFF\xFE"sv))
        return {TForm::kUtf16Le, 2};
    if (starts("\xFE\xFF"sv))
        return {TForm::kUtf16Be, 2};
    if (starts("<\0\0\0"sv))
        return {TForm::kUtf32Le, 0};
    if (starts("\0\0\0<"sv))
        return {TForm::kUtf32Be, 0};
    if (starts("<\0?\0"sv))
        return {TForm::kUtf16Le, 0};
    if (starts("\0<\0?"sv))
        return {TForm::kUtf16Be, 0};
    return {};
}

bool KnownToLibxml2(const std::string &encoding)
{
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr)
        return false;
    xmlCharEncCloseFunc(handler);
    return true;
}

// True when bytes read as a one-byte encoding hold well-formed UTF-8 beyond
// ASCII: most likely a UTF-8 file whose declaration was never updated.
bool LooksLikeUtf8(std::string_view bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; }) &&
           IsValidUtf8(bytes);
}

size_t CharacterCount(std::string_view utf8)
{
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char b) { return (static_cast<unsigned char>(b) & 0xC0) != 0x80; }));
}

TFileText Decoded(std::string text, std::string encoding, bool mark = false, std::string mismatch = {})
{
    TFileText result;
    result.text = std::move(text);
    result.format.encoding = std::move(encoding);
    result.format.byteOrderMark = mark;
    result.format.mismatch = std::move(mismatch);
    return result;
}

// Every byte as its Windows-1252 character: nothing is lost, and saving
// writes the same bytes.
TFileText ReadAsWindows1252(std::string_view bytes, const std::string &why)
{
    return Decoded(TableOf(TForm::kWindows1252).Decode(bytes), CanonicalName(TForm::kWindows1252), false,
                   why + "; it was read as Windows-1252 and is saved the same way.");
}

std::string NotValid(std::string_view encoding) { return "The file is not valid " + std::string(encoding); }

TFileText DecodeUnicode(std::string bytes, TLeadingForm lead)
{
    const char *name = CanonicalName(lead.form);
    std::string text;
    if (lead.form == TForm::kUtf8) {
        if (!IsValidUtf8(std::string_view(bytes).substr(lead.markLength)))
            return ReadAsWindows1252(bytes, NotValid(name));
        bytes.erase(0, lead.markLength);
        text = std::move(bytes);
    } else if (!DecodeUnits(std::string_view(bytes).substr(lead.markLength), lead.form, text)) {
        return ReadAsWindows1252(bytes, NotValid(name));
    }
    std::string mismatch;
    const std::string declared = DeclaredEncoding(text);
    if (!declared.empty() && UnicodeWidth(declared) != UnicodeWidth(name))
        mismatch = "The file's declaration names " + declared + ", but its " +
                   (lead.markLength > 0 ? "byte order mark says " : "bytes are ") + name + "; it is shown as " + name +
                   " and saved the same way.";
    return Decoded(std::move(text), name, lead.markLength > 0, std::move(mismatch));
}

TFileText DecodeUtf8(std::string bytes, const std::string &declared)
{
    if (!IsValidUtf8(bytes))
        return ReadAsWindows1252(bytes, NotValid("UTF-8"));
    // The declaration itself was read as one byte a character, so the file
    // cannot be in the wider form it names.
    std::string mismatch;
    if (UnicodeWidth(declared) > 8)
        mismatch = "The file's declaration names " + declared + ", but its bytes are not " + declared +
                   "; it was read as UTF-8 and is saved the same way.";
    return Decoded(std::move(bytes), "UTF-8", false, std::move(mismatch));
}

std::string LooksLikeUtf8Mismatch(const std::string &declared)
{
    return "The file's declaration names " + declared +
           ", but its bytes look like UTF-8; it is shown as the declaration says.";
}

// An encoding only libxml2 knows is kept when the text goes back to the very
// same bytes; the check costs a second pass, but such files are rare.
TFileText DecodeByLibxml2(std::string bytes, const std::string &declared)
{
    if (!KnownToLibxml2(declared))
        return ReadAsWindows1252(bytes, "The file's declaration names " + declared +
                                            ", an encoding this program does not know");
    std::string text = DecodeToUtf8(std::string_view(bytes), declared);
    bool same = false;
    try {
        same = EncodeFromUtf8(text, declared) == bytes;
    } catch (const EXMLLayerError &) {
    }
    if (!same)
        return ReadAsWindows1252(bytes, NotValid(declared));
    std::string mismatch;
    if (CharacterCount(text) == bytes.size() && LooksLikeUtf8(bytes))
        mismatch = LooksLikeUtf8Mismatch(declared);
    return Decoded(std::move(text), declared, false, std::move(mismatch));
}

} // namespace

TFileText DecodeFileText(std::string bytes)
{
    TFileText result;
    if (const TLeadingForm lead = ReadLeadingForm(bytes); lead.form != TForm::kOther) {
        result = DecodeUnicode(std::move(bytes), lead);
    } else {
        const std::string declared = DeclaredEncoding(bytes);
        const TForm form = UnicodeWidth(declared) != 0 ? TForm::kUtf8 : FormOf(declared);
        switch (form) {
        case TForm::kUtf8:
        case TForm::kUtf16Le:
        case TForm::kUtf16Be:
        case TForm::kUtf32Le:
        case TForm::kUtf32Be:
            result = DecodeUtf8(std::move(bytes), declared);
            break;
        case TForm::kLatin1:
        case TForm::kWindows1252:
            result = Decoded(TableOf(form).Decode(bytes), CanonicalName(form), false,
                             LooksLikeUtf8(bytes) ? LooksLikeUtf8Mismatch(declared) : std::string());
            break;
        case TForm::kOther:
            result = DecodeByLibxml2(std::move(bytes), declared);
            break;
        }
    }
    // Read from the text, as FormatForSave reads it, so that a text whose
    // declaration is untouched always keeps its format.
    result.format.declared = DeclaredEncoding(result.text);
    return result;
}

TFileText ReadFileText(const std::string &path)
{
    std::string bytes;
    if (const std::string why = ReadDocumentBytes(path, bytes); !why.empty())
        throw EXMLLayerError("The file \"" + path + "\" cannot be read: " + why);
    return DecodeFileText(std::move(bytes));
}

TFileFormat FormatForSave(std::string_view text, const TFileFormat &opened)
{
    TFileFormat result;
    result.declared = DeclaredEncoding(text);
    if (EqualsIgnoringCase(result.declared, opened.declared)) {
        result = opened;
        result.mismatch.clear();
        return result;
    }
    const std::string named = result.declared.empty() ? "UTF-8" : result.declared;
    const bool sameForm = UnicodeWidth(named) != 0 && UnicodeWidth(named) == UnicodeWidth(opened.encoding);
    TForm form = FormOf(named);
    if (NamesNoByteOrder(named) && sameForm && FormOf(opened.encoding) != TForm::kOther)
        form = FormOf(opened.encoding);
    result.encoding = form == TForm::kOther ? named : CanonicalName(form);
    result.byteOrderMark = NamesNoByteOrder(named) || (sameForm && opened.byteOrderMark);
    return result;
}

std::string EncodeFileText(std::string_view text, const TFileFormat &format)
{
    switch (const TForm form = FormOf(format.encoding)) {
    case TForm::kUtf8: {
        std::string out;
        out.reserve(text.size() + 3);
        if (format.byteOrderMark)
            out += kUtf8Mark;
        out += text;
        return out;
    }
    case TForm::kUtf16Le:
    case TForm::kUtf16Be:
    case TForm::kUtf32Le:
    case TForm::kUtf32Be:
        return EncodeUnits(text, form, format.byteOrderMark);
    case TForm::kLatin1:
    case TForm::kWindows1252:
        return TableOf(form).Encode(text, format.encoding);
    case TForm::kOther:
        break;
    }
    return EncodeFromUtf8(text, format.encoding);
}

} // namespace tarnwick::xml
