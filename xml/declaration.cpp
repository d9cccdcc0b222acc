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
    std::string head = text.substr(0, PrefixBytes(text, 50));
    const std::string kName = "encoding";
    size_t at = head.find(kName);
    if (at == std::string::npos)
        return text;
    std::string value = DeclarationValue(kName, head, "");
    for (const std::string &name : allowed)
        if (EqualsIgnoreCase(name, value))
            return text;
    // The blank before the name, the name, '=', two quotes and the value.
    if (at == 0)
        return text;
    std::string result = text;
    result.erase(at - 1, value.size() + 12);
    return result;
}

const std::vector<std::string> &WideEncodings()
{
    static const std::vector<std::string> kNames = {"UTF-16", "UCS-2", "UNICODE"};
    return kNames;
}

} // namespace tarnwick::xml
