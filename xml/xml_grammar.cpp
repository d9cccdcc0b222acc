// Which grammar a document names: a DTD through its document type
// declaration, else an XML Schema through its root's xsi attributes.
#include "xml/xml_grammar.h"

#include <sstream>

namespace tarnwick::xml {

namespace {

constexpr const char *kInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";

std::string PrefixOf(const std::string &qname)
{
    const size_t colon = qname.find(':');
    return colon == std::string::npos ? "" : qname.substr(0, colon);
}

// The value of the root attribute `name`, empty when it has none.
std::string RootAttribute(const CompletionContext &context, const std::string &name)
{
    for (const auto &[attribute, value] : context.rootAttributes)
        if (attribute == name)
            return value;
    return "";
}

// The prefix the root binds to `uri` ("" for none found).
std::string PrefixBoundTo(const CompletionContext &context, const std::string &uri)
{
    for (const auto &[attribute, value] : context.rootAttributes)
        if (attribute.starts_with("xmlns:") && value == uri)
            return attribute.substr(6);
    return "";
}

} // namespace

std::string SchemaLocationOf(const CompletionContext &context)
{
    const std::string xsi = PrefixBoundTo(context, kInstanceNamespace);
    if (xsi.empty())
        return "";
    if (std::string plain = RootAttribute(context, xsi + ":noNamespaceSchemaLocation"); !plain.empty())
        return plain;
    // Pairs of namespace and location: the one for the root's namespace, else the first.
    const std::string prefix = PrefixOf(context.rootName);
    const std::string rootNamespace = RootAttribute(context, prefix.empty() ? "xmlns" : "xmlns:" + prefix);
    std::istringstream pairs(RootAttribute(context, xsi + ":schemaLocation"));
    std::string ns, location, first;
    while (pairs >> ns >> location) {
        if (ns == rootNamespace)
            return location;
        if (first.empty())
            first = location;
    }
    return first;
}

std::unique_ptr<XmlGrammar> LoadGrammar(const CompletionContext &context, const std::string &baseDirectory)
{
    if (auto dtd = LoadDtdGrammar(context.documentType, baseDirectory))
        return dtd;
    return LoadSchemaGrammar(SchemaLocationOf(context), baseDirectory);
}

} // namespace tarnwick::xml
