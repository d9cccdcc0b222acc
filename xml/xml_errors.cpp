// Message formatting of the layer's exceptions.
#include "xml/xml_errors.h"

#include <cstdio>
#include <vector>

#include "xml/xml_options.h"

namespace tarnwick::xml {

namespace {

std::string Format(const char *format, const char *a, const char *b)
{
    int n = std::snprintf(nullptr, 0, format, a, b);
    if (n < 0)
        return format;
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, a, b);
    return std::string(buffer.data(), static_cast<size_t>(n));
}

} // namespace

EStringListError::EStringListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")")
{
}

std::string FormatMessage(const char *format, const std::string &a) { return Format(format, a.c_str(), ""); }

std::string FormatMessage(const char *format, const std::string &a, const std::string &b)
{
    return Format(format, a.c_str(), b.c_str());
}

void RaiseNotSupported(const std::string &method, const std::string &vendor)
{
    throw DOMException(FormatMessage(SNotSupportedByVendor, method, vendor));
}

std::string NodeTypeName(TNodeType type)
{
    static const char *const kNames[] = {
        "Element",         "Attribute", "Text",     "CDATASection", "EntityRef",        "Entity",
        "ProcessingInstr", "Comment",   "Document", "DocumentType", "DocumentFragment", "Notation"};
    int i = static_cast<int>(type);
    if (i < 1 || i > 12)
        return "";
    return kNames[i - 1];
}

} // namespace tarnwick::xml
