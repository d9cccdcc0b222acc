// The XML Schema grammar: libxml2 has no query for what a schema allows at a
// place, so the schema documents are read as trees and their declarations
// walked: an element's children are those its type's content model names
// (not narrowed to the place among its siblings), its attributes those of its
// type and attribute groups, and an attribute's values the enumerations of
// its simple type.
#include "xml/libxml2_internal.h"
#include "xml/xml_grammar.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace tarnwick::xml {

namespace {

using namespace libxml2;

constexpr const char *kSchemaNamespace = "http://www.w3.org/2001/XMLSchema";
constexpr int kMaxSchemaDocuments = 32;
// Types and groups refer to each other; a walk deeper than this is a cycle.
constexpr int kMaxWalkDepth = 32;

std::string S(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

std::string Prop(xmlNodePtr node, const char *name)
{
    xmlChar *value = xmlGetProp(node, BAD_CAST name);
    std::string result = S(value);
    xmlFree(value);
    return result;
}

std::string LocalPart(const std::string &qname)
{
    const size_t colon = qname.find(':');
    return colon == std::string::npos ? qname : qname.substr(colon + 1);
}

std::string PrefixOf(const std::string &qname)
{
    const size_t colon = qname.find(':');
    return colon == std::string::npos ? "" : qname.substr(0, colon);
}

bool Is(xmlNodePtr node, const char *local)
{
    return node && node->type == XML_ELEMENT_NODE && node->ns && S(node->ns->href) == kSchemaNamespace &&
           S(node->name) == local;
}

void AddOnce(std::vector<std::string> &names, const std::string &name)
{
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

class SchemaGrammar : public XmlGrammar {
public:
    // What the schemas are read from: the document's folder.
    explicit SchemaGrammar(std::string home) : home_(std::move(home)) {}
    ~SchemaGrammar() override
    {
        for (xmlDocPtr doc : docs_)
            xmlFreeDoc(doc);
    }

    // Reads the schema at `path` and, recursively, the local schemas it
    // includes, redefines or imports.
    void Read(const std::string &path);
    bool Empty() const { return elements_.empty(); }

    std::optional<std::vector<std::string>> Elements(const CompletionContext &context) const override;
    std::optional<std::vector<std::string>> Attributes(const CompletionContext &context) const override;
    std::optional<std::vector<std::string>> AttributeValues(const CompletionContext &context) const override;

private:
    using Index = std::map<std::string, xmlNodePtr>;

    void IndexGlobals(xmlNodePtr schema, const std::string &folder);
    static xmlNodePtr Find(const Index &index, const std::string &qname);
    // The declaration of the element at the end of `path`, found from the
    // root down, local declarations first and global ones after.
    xmlNodePtr DeclarationOf(const std::vector<std::string> &path) const;
    // The content model of an element declaration or a type.
    xmlNodePtr TypeOf(xmlNodePtr declaration, const char *kind, const Index &named) const;
    void CollectChildren(xmlNodePtr node, std::vector<xmlNodePtr> &out, bool &any, int depth) const;
    void CollectAttributes(xmlNodePtr node, std::vector<xmlNodePtr> &out, int depth) const;
    void CollectEnumerations(xmlNodePtr simpleType, std::vector<std::string> &out, int depth) const;
    std::vector<xmlNodePtr> ChildDeclarations(xmlNodePtr declaration, bool &any) const;
    std::vector<xmlNodePtr> AttributeDeclarations(xmlNodePtr declaration) const;
    std::string NameOf(xmlNodePtr declaration) const;
    std::vector<std::string> GlobalElements() const;
    // Child names as the document writes them: with the parent's prefix
    // where the schema's names are qualified.
    std::string Qualified(xmlNodePtr declaration, const std::string &prefix) const;

    std::string home_;
    std::vector<xmlDocPtr> docs_;
    std::set<std::string> read_;
    std::vector<xmlNodePtr> elementOrder_;
    Index elements_, complexTypes_, simpleTypes_, groups_, attributeGroups_, attributes_;
    std::multimap<std::string, xmlNodePtr> substitutes_;
    std::set<xmlNodePtr> qualifiedLocals_;
};

void SchemaGrammar::Read(const std::string &path)
{
    if (static_cast<int>(docs_.size()) >= kMaxSchemaDocuments || !read_.insert(path).second)
        return;
    xmlDocPtr doc = nullptr;
    {
        CapturedError ignored;
        LoaderPolicyScope policy(LoaderPolicy::SchemaDocuments, home_);
        StructuredErrorScope quiet(&ignored);
        doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    }
    if (!doc)
        return;
    docs_.push_back(doc);
    xmlNodePtr schema = xmlDocGetRootElement(doc);
    if (Is(schema, "schema"))
        IndexGlobals(schema, std::filesystem::path(path).parent_path().string());
}

void SchemaGrammar::IndexGlobals(xmlNodePtr schema, const std::string &folder)
{
    const bool qualified = Prop(schema, "elementFormDefault") == "qualified";
    for (xmlNodePtr n = schema->children; n; n = n->next) {
        const std::string name = Is(n, "element") || Is(n, "complexType") || Is(n, "simpleType") || Is(n, "group") ||
                                         Is(n, "attributeGroup") || Is(n, "attribute")
                                     ? Prop(n, "name")
                                     : "";
        if (Is(n, "element") && !name.empty() && elements_.emplace(name, n).second) {
            elementOrder_.push_back(n);
            if (const std::string head = Prop(n, "substitutionGroup"); !head.empty())
                substitutes_.emplace(LocalPart(head), n);
        } else if (Is(n, "complexType")) {
            complexTypes_.emplace(name, n);
        } else if (Is(n, "simpleType")) {
            simpleTypes_.emplace(name, n);
        } else if (Is(n, "group")) {
            groups_.emplace(name, n);
        } else if (Is(n, "attributeGroup")) {
            attributeGroups_.emplace(name, n);
        } else if (Is(n, "attribute")) {
            attributes_.emplace(name, n);
        } else if (Is(n, "include") || Is(n, "redefine") || Is(n, "import")) {
            const std::string location = Prop(n, "schemaLocation");
            if (!location.empty() && !IsNetworkReference(location))
                Read(ResolveLocalReference(location, folder));
        }
    }
    if (qualified) {
        // Local declarations of this schema document are written with a prefix.
        std::vector<xmlNodePtr> stack{schema};
        while (!stack.empty()) {
            xmlNodePtr n = stack.back();
            stack.pop_back();
            for (xmlNodePtr c = n->children; c; c = c->next) {
                if (c->type != XML_ELEMENT_NODE)
                    continue;
                if (Is(c, "element") && n != schema)
                    qualifiedLocals_.insert(c);
                stack.push_back(c);
            }
        }
    }
}

xmlNodePtr SchemaGrammar::Find(const Index &index, const std::string &qname)
{
    auto found = index.find(LocalPart(qname));
    return found == index.end() ? nullptr : found->second;
}

xmlNodePtr SchemaGrammar::TypeOf(xmlNodePtr declaration, const char *kind, const Index &named) const
{
    for (xmlNodePtr c = declaration->children; c; c = c->next)
        if (Is(c, kind))
            return c;
    const std::string type = Prop(declaration, "type");
    return type.empty() ? nullptr : Find(named, type);
}

std::string SchemaGrammar::NameOf(xmlNodePtr declaration) const { return Prop(declaration, "name"); }

void SchemaGrammar::CollectChildren(xmlNodePtr node, std::vector<xmlNodePtr> &out, bool &any, int depth) const
{
    if (!node || depth > kMaxWalkDepth)
        return;
    for (xmlNodePtr c = node->children; c; c = c->next) {
        if (Is(c, "element")) {
            const std::string ref = Prop(c, "ref");
            xmlNodePtr declaration = ref.empty() ? c : Find(elements_, ref);
            if (!declaration)
                continue;
            if (Prop(declaration, "abstract") != "true")
                out.push_back(declaration);
            auto [from, to] = substitutes_.equal_range(NameOf(declaration));
            for (auto it = from; it != to; ++it)
                out.push_back(it->second);
        } else if (Is(c, "sequence") || Is(c, "choice") || Is(c, "all") || Is(c, "complexContent") ||
                   Is(c, "restriction")) {
            CollectChildren(c, out, any, depth + 1);
        } else if (Is(c, "group")) {
            CollectChildren(Find(groups_, Prop(c, "ref")), out, any, depth + 1);
        } else if (Is(c, "extension")) {
            CollectChildren(Find(complexTypes_, Prop(c, "base")), out, any, depth + 1);
            CollectChildren(c, out, any, depth + 1);
        } else if (Is(c, "any")) {
            any = true;
        }
    }
}

void SchemaGrammar::CollectAttributes(xmlNodePtr node, std::vector<xmlNodePtr> &out, int depth) const
{
    if (!node || depth > kMaxWalkDepth)
        return;
    for (xmlNodePtr c = node->children; c; c = c->next) {
        if (Is(c, "attribute")) {
            if (Prop(c, "use") == "prohibited")
                continue;
            const std::string ref = Prop(c, "ref");
            if (xmlNodePtr declaration = ref.empty() ? c : Find(attributes_, ref))
                out.push_back(declaration);
        } else if (Is(c, "attributeGroup")) {
            CollectAttributes(Find(attributeGroups_, Prop(c, "ref")), out, depth + 1);
        } else if (Is(c, "complexContent") || Is(c, "simpleContent") || Is(c, "restriction")) {
            CollectAttributes(c, out, depth + 1);
        } else if (Is(c, "extension")) {
            CollectAttributes(Find(complexTypes_, Prop(c, "base")), out, depth + 1);
            CollectAttributes(c, out, depth + 1);
        }
    }
}

void SchemaGrammar::CollectEnumerations(xmlNodePtr simpleType, std::vector<std::string> &out, int depth) const
{
    if (!simpleType || depth > kMaxWalkDepth)
        return;
    for (xmlNodePtr c = simpleType->children; c; c = c->next) {
        if (Is(c, "restriction")) {
            for (xmlNodePtr e = c->children; e; e = e->next)
                if (Is(e, "enumeration"))
                    AddOnce(out, Prop(e, "value"));
            CollectEnumerations(Find(simpleTypes_, Prop(c, "base")), out, depth + 1);
            for (xmlNodePtr e = c->children; e; e = e->next)
                if (Is(e, "simpleType"))
                    CollectEnumerations(e, out, depth + 1);
        } else if (Is(c, "union")) {
            const std::string members = Prop(c, "memberTypes");
            size_t start = 0;
            while (start < members.size()) {
                const size_t end = std::min(members.find(' ', start), members.size());
                if (end > start)
                    CollectEnumerations(Find(simpleTypes_, members.substr(start, end - start)), out, depth + 1);
                start = end + 1;
            }
            for (xmlNodePtr e = c->children; e; e = e->next)
                if (Is(e, "simpleType"))
                    CollectEnumerations(e, out, depth + 1);
        }
    }
}

std::vector<xmlNodePtr> SchemaGrammar::ChildDeclarations(xmlNodePtr declaration, bool &any) const
{
    std::vector<xmlNodePtr> children;
    CollectChildren(TypeOf(declaration, "complexType", complexTypes_), children, any, 0);
    return children;
}

std::vector<xmlNodePtr> SchemaGrammar::AttributeDeclarations(xmlNodePtr declaration) const
{
    std::vector<xmlNodePtr> attributes;
    CollectAttributes(TypeOf(declaration, "complexType", complexTypes_), attributes, 0);
    return attributes;
}

xmlNodePtr SchemaGrammar::DeclarationOf(const std::vector<std::string> &path) const
{
    if (path.empty())
        return nullptr;
    xmlNodePtr declaration = Find(elements_, path[0]);
    for (size_t i = 1; declaration && i < path.size(); ++i) {
        const std::string name = LocalPart(path[i]);
        bool any = false;
        xmlNodePtr next = nullptr;
        for (xmlNodePtr child : ChildDeclarations(declaration, any))
            if (NameOf(child) == name) {
                next = child;
                break;
            }
        declaration = next ? next : Find(elements_, name);
    }
    return declaration;
}

std::vector<std::string> SchemaGrammar::GlobalElements() const
{
    std::vector<std::string> names;
    for (xmlNodePtr n : elementOrder_)
        if (Prop(n, "abstract") != "true")
            AddOnce(names, NameOf(n));
    return names;
}

std::string SchemaGrammar::Qualified(xmlNodePtr declaration, const std::string &prefix) const
{
    const bool qualified =
        declaration->parent && Is(declaration->parent, "schema") ? true : qualifiedLocals_.count(declaration);
    return prefix.empty() || !qualified ? NameOf(declaration) : prefix + ":" + NameOf(declaration);
}

std::optional<std::vector<std::string>> SchemaGrammar::Elements(const CompletionContext &context) const
{
    if (context.openElements.empty())
        return GlobalElements();
    xmlNodePtr declaration = DeclarationOf(context.openElements);
    if (!declaration)
        return std::nullopt;
    const std::string prefix = PrefixOf(context.openElements.back());
    bool any = false;
    std::vector<std::string> names;
    for (xmlNodePtr child : ChildDeclarations(declaration, any))
        AddOnce(names, Qualified(child, prefix));
    if (any)
        for (const std::string &name : GlobalElements())
            AddOnce(names, prefix.empty() ? name : prefix + ":" + name);
    return names;
}

std::optional<std::vector<std::string>> SchemaGrammar::Attributes(const CompletionContext &context) const
{
    std::vector<std::string> path = context.openElements;
    path.push_back(context.element);
    xmlNodePtr declaration = DeclarationOf(path);
    if (!declaration)
        return std::nullopt;
    std::vector<std::string> names;
    for (xmlNodePtr attribute : AttributeDeclarations(declaration))
        AddOnce(names, NameOf(attribute));
    return names;
}

std::optional<std::vector<std::string>> SchemaGrammar::AttributeValues(const CompletionContext &context) const
{
    std::vector<std::string> path = context.openElements;
    path.push_back(context.element);
    xmlNodePtr declaration = DeclarationOf(path);
    if (!declaration)
        return std::nullopt;
    for (xmlNodePtr attribute : AttributeDeclarations(declaration)) {
        if (NameOf(attribute) != LocalPart(context.attribute))
            continue;
        std::vector<std::string> values;
        const std::string type = Prop(attribute, "type");
        if (LocalPart(type) == "boolean" && Find(simpleTypes_, type) == nullptr)
            values = {"true", "false"};
        CollectEnumerations(TypeOf(attribute, "simpleType", simpleTypes_), values, 0);
        if (const std::string fixed = Prop(attribute, "fixed"); !fixed.empty())
            AddOnce(values, fixed);
        return values;
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<XmlGrammar> LoadSchemaGrammar(const std::string &location, const std::string &baseDirectory)
{
    if (location.empty() || IsNetworkReference(location))
        return nullptr;
    InstallEntityLoader();
    auto grammar = std::make_unique<SchemaGrammar>(baseDirectory);
    grammar->Read(ResolveLocalReference(location, baseDirectory));
    if (grammar->Empty())
        return nullptr;
    return grammar;
}

} // namespace tarnwick::xml
