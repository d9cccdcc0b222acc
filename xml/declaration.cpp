// Reading, composing and trimming the XML declaration's pseudo-attributes.
#include "xml/declaration.h"

#include <algorithm>
#include <cctype>

namespace tarnwick::xml {

namespace {

bool EqualsIgnoreCase(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Byte length of the first `count` code points of UTF-8 text.
size_t PrefixBytes(const std::string &text, size_t count)
{
    size_t i = 0;
    while (i < text.size() && count > 0) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
        --count;
    }
    return i;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t SkipBlanks(const std::string &text, size_t i, size_t end)
{
    while (i < end && IsBlank(text[i]))
        ++i;
    return i;
}

} // namespace

std::string DeclarationValue(const std::string &name, const std::string &text, const std::string &defaultValue)
{
    size_t at = text.find(name);
    if (at == std::string::npos)
        return defaultValue;
    size_t open = text.find_first_of("\"'", at + name.size());
    if (open == std::string::npos)
        return "";
    size_t close = text.find_first_of("\"'", open + 1);
    if (close == std::string::npos)
        return text.substr(open + 1);
    return text.substr(open + 1, close - open - 1);
}

std::string DeclaredEncoding(std::string_view text)
{
    if (text.substr(0, 5) != "<?xml" || text.size() < 6)
        return "";
    const char blank = text[5];
    if (blank != ' ' && blank != '\t' && blank != '\r' && blank != '\n')
        return "";
    const size_t end = text.substr(0, 256).find("?>");
    if (end == std::string_view::npos)
        return "";
    return DeclarationValue("encoding", std::string(text.substr(0, end)), "");
}

void AppendDeclarationItem(std::string &text, const std::string &name, const std::string &value)
{
    if (value.empty())
        return;
    if (!text.empty())
        text += ' ';
    text += name + "=\"" + value + "\"";
}

std::string DropForeignEncoding(const std::string &text, const std::vector<std::string> &allowed)
{
    // Only the declaration that opens the text names the encoding: the same
    // words in an attribute, a comment or a processing instruction are content.
    const size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (text.compare(start, 5, "<?xml") != 0 || text.size() <= start + 5 || !IsBlank(text[start + 5]))
        return text;
    const size_t end = text.find("?>", start);
    if (end == std::string::npos)
        return text;
    // The pseudo-attribute's name starts within the first 50 characters.
    const size_t limit = std::min(end, PrefixBytes(text, 50));
    const std::string kName = "encoding";
    size_t at = text.find(kName, start + 5);
    while (at != std::string::npos && at < limit && !IsBlank(text[at - 1]))
        at = text.find(kName, at + 1);
    if (at == std::string::npos || at >= limit)
        return text;
    // encoding S? = S? quote value quote
    size_t i = SkipBlanks(text, at + kName.size(), end);
    if (i >= end || text[i] != '=')
        return text;
    i = SkipBlanks(text, i + 1, end);
    if (i >= end || (text[i] != '"' && text[i] != '\''))
        return text;
    const size_t close = text.find(text[i], i + 1);
    if (close == std::string::npos || close > end)
        return text;
    const std::string value = text.substr(i + 1, close - i - 1);
    for (const std::string &name : allowed)
        if (EqualsIgnoreCase(name, value))
            return text;
    // The blank before the name, up to and including the closing quote.
    std::string result = text;
    result.erase(at - 1, close + 1 - (at - 1));
    return result;
}

const std::vector<std::string> &WideEncodings()
{
    static const std::vector<std::string> kNames = {"UTF-16", "UCS-2", "UNICODE"};
    return kNames;
}

} // namespace tarnwick::xml
