// A forgiving scan of document text that knows where character references
// may stand, and a probe of which characters an encoding holds.
#include "xml/unencodable_markup.h"

#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

std::string Normalised(const std::string &encoding)
{
    std::string e;
    for (char c : encoding)
        if (std::isalnum(static_cast<unsigned char>(c)))
            e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return e;
}

// Which characters an encoding holds, found by writing each one alone in it
// and reading it back: libxml2 writes one it lacks as "&#...;".
class EncodingProbe {
public:
    explicit EncodingProbe(const std::string &encoding) : encoding_(encoding)
    {
        xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
        known_ = handler != nullptr;
        if (handler)
            xmlCharEncCloseFunc(handler);
    }
    bool Known() const { return known_; }

    bool Holds(char32_t character, std::string_view utf8)
    {
        if (character < 0x80)
            return true;
        auto [at, fresh] = holds_.try_emplace(character, false);
        if (fresh)
            at->second = RoundTrips(utf8);
        return at->second;
    }

private:
    // Each probe has handlers of its own, so no shift state of a stateful
    // encoding carries over from one character to the next.
    bool RoundTrips(std::string_view utf8) const
    {
        xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding_.c_str());
        if (handler == nullptr)
            return true;
        xmlBufferPtr in = xmlBufferCreate();
        xmlBufferPtr encoded = xmlBufferCreate();
        xmlBufferPtr back = xmlBufferCreate();
        bool same = false;
        if (in && encoded && back) {
            xmlBufferAdd(in, reinterpret_cast<const xmlChar *>(utf8.data()), static_cast<int>(utf8.size()));
            if (xmlCharEncOutFunc(handler, encoded, in) >= 0 && xmlCharEncInFunc(handler, back, encoded) >= 0)
                same = std::string_view(reinterpret_cast<const char *>(xmlBufferContent(back)),
                                        static_cast<size_t>(xmlBufferLength(back))) == utf8;
        }
        for (xmlBufferPtr buffer : {in, encoded, back})
            if (buffer)
                xmlBufferFree(buffer);
        xmlCharEncCloseFunc(handler);
        return same;
    }

    std::string encoding_;
    bool known_ = false;
    std::unordered_map<char32_t, bool> holds_;
};

size_t SequenceLength(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

char32_t DecodeAt(std::string_view text, size_t at, size_t length)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    switch (length) {
    case 2:
        return (char32_t(byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3:
        return (char32_t(byte(0) & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    case 4:
        return (char32_t(byte(0) & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) | (char32_t(byte(2) & 0x3F) << 6) |
               (byte(3) & 0x3F);
    default:
        return byte(0);
    }
}

bool IsNameByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || std::isalnum(b) || c == '_' || c == ':' || c == '-' || c == '.';
}

bool IsNameStartByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || std::isalpha(b) || c == '_' || c == ':';
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The first of the characters `Cs` at or after `from`; a plain loop, which
// string_view::find_first_of (a search of the set for every byte) is not.
template <char... Cs>
size_t FindAnyOf(std::string_view text, size_t from, size_t to = std::string_view::npos)
{
    to = std::min(to, text.size());
    for (size_t i = from; i < to; ++i) {
        const char c = text[i];
        if (((c == Cs) || ...))
            return i;
    }
    return std::string_view::npos;
}

// Eight bytes at a time, stopping at the first byte above 0x7F.
bool IsAscii(std::string_view text)
{
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    size_t at = 0;
    for (uint64_t word; at + sizeof word <= text.size(); at += sizeof word) {
        std::memcpy(&word, text.data() + at, sizeof word);
        if (word & kHighBits)
            return false;
    }
    for (; at < text.size(); ++at)
        if (static_cast<unsigned char>(text[at]) >= 0x80)
            return false;
    return true;
}

// Walks the text once, from markup to markup; every stretch that is not text
// or an attribute value (or an entity value or attribute default of the
// internal subset) is checked.
class MarkupScan {
public:
    MarkupScan(std::string_view text, EncodingProbe &probe) : text_(text), probe_(probe) {}

    std::optional<TUnencodableCharacter> Run()
    {
        while (!found_ && at_ < text_.size()) {
            const size_t next = FindAnyOf<'<', '&'>(text_, at_);
            if (next == std::string_view::npos)
                break;
            at_ = next;
            if (text_[at_] == '&')
                Reference();
            else
                Markup();
        }
        return found_;
    }

private:
    static constexpr size_t npos = std::string_view::npos;

    bool StartsWith(std::string_view prefix) const { return text_.substr(at_, prefix.size()) == prefix; }

    // Checks text_[from, to) as lying in `place`.
    void Check(size_t from, size_t to, const char *place)
    {
        to = std::min(to, text_.size());
        for (size_t i = from; i < to && !found_;) {
            const auto lead = static_cast<unsigned char>(text_[i]);
            if (lead < 0x80) {
                ++i;
                continue;
            }
            const size_t length = std::min(SequenceLength(lead), text_.size() - i);
            const char32_t character = DecodeAt(text_, i, length);
            if (!probe_.Holds(character, text_.substr(i, length)))
                Found(character, i, place);
            i += length;
        }
    }

    void Found(char32_t character, size_t at, const char *place)
    {
        TUnencodableCharacter found;
        found.character = character;
        found.place = place;
        found.line = 1;
        size_t lineStart = 0;
        for (size_t i = 0; i < at; ++i) {
            if (text_[i] == '\n' || (text_[i] == '\r' && text_[i + 1] != '\n')) {
                ++found.line;
                lineStart = i + 1;
            }
        }
        found.column = 1;
        for (size_t i = lineStart; i < at; ++i)
            if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80)
                ++found.column;
        found_ = found;
    }

    // Checks from `at_` over the next `end` (to the end of the text without one).
    void CheckThrough(std::string_view end, const char *place)
    {
        const size_t stop = text_.find(end, at_);
        const size_t to = stop == npos ? text_.size() : stop + end.size();
        Check(at_, to, place);
        at_ = to;
    }

    // &name; &#...; or %name; with `at_` at its first character.
    void Reference()
    {
        size_t end = at_ + 1;
        while (end < text_.size() && (IsNameByte(text_[end]) || text_[end] == '#'))
            ++end;
        Check(at_, end, "an entity reference");
        at_ = end;
    }

    // The next reference in [from, to): '&' ones, and '%' ones too in `refs` "&%".
    size_t FindReference(std::string_view refs, size_t from, size_t to) const
    {
        return refs.size() > 1 ? FindAnyOf<'&', '%'>(text_, from, to) : FindAnyOf<'&'>(text_, from, to);
    }

    // A quoted literal at `at_`. Where references may stand only the
    // references in it (`refs` names their first characters) are checked.
    void Literal(std::string_view refs, const char *place)
    {
        const size_t stop = text_.find(text_[at_], at_ + 1);
        const size_t end = stop == npos ? text_.size() : stop + 1;
        if (refs.empty()) {
            Check(at_, end, place);
        } else {
            ++at_;
            for (size_t next; !found_ && (next = FindReference(refs, at_, end)) < end;) {
                at_ = next;
                Reference();
            }
        }
        at_ = end;
    }

    void Markup()
    {
        if (StartsWith("<!--"))
            return CheckThrough("-->", "a comment");
        if (StartsWith("<?"))
            return CheckThrough("?>", "a processing instruction");
        if (StartsWith("<![CDATA["))
            return CheckThrough("]]>", "a CDATA section");
        if (StartsWith("<!"))
            return DocumentType();
        if (StartsWith("</"))
            return CheckThrough(">", "an end tag");
        if (at_ + 1 < text_.size() && IsNameStartByte(text_[at_ + 1]))
            return StartTag();
        ++at_; // a lone '<' in text that is not well-formed
    }

    void StartTag()
    {
        while (!found_ && at_ < text_.size() && text_[at_] != '>') {
            if (text_[at_] == '"' || text_[at_] == '\'') {
                Literal("&", "");
            } else {
                const size_t end = std::min(FindAnyOf<'"', '\'', '>'>(text_, at_), text_.size());
                Check(at_, end, "a start tag (an element or attribute name)");
                at_ = end;
            }
        }
        if (at_ < text_.size())
            ++at_;
    }

    // <!DOCTYPE ...> with its internal subset (or another <!...>), a token at
    // a time. Entity values and attribute defaults may take references;
    // system and public identifiers, names, comments and processing
    // instructions may not.
    void DocumentType()
    {
        int depth = 0;
        bool valueNext = false; // in an entity or attribute-list declaration, before any external identifier
        while (!found_ && at_ < text_.size()) {
            const char c = text_[at_];
            if (StartsWith("<!--")) {
                CheckThrough("-->", "a comment");
            } else if (StartsWith("<?")) {
                CheckThrough("?>", "a processing instruction");
            } else if (c == '"' || c == '\'') {
                Literal(valueNext ? "&%" : "", "the document type declaration");
            } else if (c == '%' || (c == '&' && depth > 0)) {
                Reference();
            } else if (c == '[' || c == ']' || c == '>' || IsSpace(c)) {
                depth += c == '[' ? 1 : c == ']' ? -1 : 0;
                ++at_;
                if (c == '>') {
                    valueNext = false;
                    if (depth <= 0)
                        return;
                }
            } else {
                size_t end = at_ + 1;
                while (end < text_.size() && !IsSpace(text_[end]) &&
                       std::string_view("\"'[]<>%").find(text_[end]) == npos)
                    ++end;
                const std::string_view token = text_.substr(at_, end - at_);
                if (token == "<!ENTITY" || token == "<!ATTLIST")
                    valueNext = true;
                else if (token == "SYSTEM" || token == "PUBLIC")
                    valueNext = false;
                Check(at_, end, "the document type declaration");
                at_ = end;
            }
        }
    }

    std::string_view text_;
    EncodingProbe &probe_;
    size_t at_ = 0;
    std::optional<TUnencodableCharacter> found_;
};

std::string CodePoint(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

std::string Utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

} // namespace

bool HoldsEveryCharacter(const std::string &encoding)
{
    const std::string e = Normalised(encoding);
    return e.empty() || e.rfind("UTF", 0) == 0 || e.rfind("UCS", 0) == 0 || e == "UNICODE" || e == "GB18030";
}

std::optional<TUnencodableCharacter> FindUnencodableMarkup(std::string_view text, const std::string &encoding)
{
    // Plain ASCII, the common case, is taken as held (as the probe takes it).
    if (HoldsEveryCharacter(encoding) || IsAscii(text))
        return std::nullopt;
    EncodingProbe probe(encoding);
    if (!probe.Known())
        return std::nullopt;
    return MarkupScan(text, probe).Run();
}

void CheckEncodableMarkup(std::string_view text, const std::string &encoding)
{
    const std::optional<TUnencodableCharacter> found = FindUnencodableMarkup(text, encoding);
    if (!found)
        return;
    throw EUnencodableCharacter("The document cannot be written in " + encoding + ": it has no character \"" +
                                Utf8Of(found->character) + "\" (" + CodePoint(found->character) + "), used on line " +
                                std::to_string(found->line) + ", column " + std::to_string(found->column) + " in " +
                                found->place + ", where no character reference can stand for it");
}

} // namespace tarnwick::xml
