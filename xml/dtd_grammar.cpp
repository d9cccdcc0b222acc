// The DTD grammar: the document type declaration parsed on its own, its
// external subset loaded from a local file, and libxml2's content-model
// automaton (the one its validator runs) asked which elements may come at a
// place among the siblings around it.
#include "xml/libxml2_internal.h"
#include "xml/xml_grammar.h"

#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xmlregexp.h>

#include <algorithm>

namespace tarnwick::xml {

namespace {

using namespace libxml2;

const xmlChar *X(const std::string &s) { return reinterpret_cast<const xmlChar *>(s.c_str()); }
std::string S(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

void AddOnce(std::vector<std::string> &names, std::string name)
{
    if (!name.empty() && name[0] != '#' && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(std::move(name));
}

class DtdGrammar : public XmlGrammar {
public:
    explicit DtdGrammar(xmlDocPtr doc) : doc_(doc) {}
    ~DtdGrammar() override { xmlFreeDoc(doc_); }

    std::optional<std::vector<std::string>> Elements(const CompletionContext &context) const override;
    std::optional<std::vector<std::string>> Attributes(const CompletionContext &context) const override;
    std::optional<std::vector<std::string>> AttributeValues(const CompletionContext &context) const override;

private:
    xmlElementPtr ElementDecl(const std::string &name) const;
    // Declarations of the element's attributes, internal subset first.
    std::vector<xmlAttributePtr> AttributeDecls(const std::string &element) const;
    std::vector<std::string> DeclaredElements() const;
    std::vector<std::string> NextAllowed(xmlElementPtr decl, const CompletionContext &context) const;
    std::vector<std::string> PotentialChildren(xmlElementPtr decl) const;

    xmlDocPtr doc_;
};

xmlElementPtr DtdGrammar::ElementDecl(const std::string &name) const
{
    for (xmlDtdPtr dtd : {doc_->intSubset, doc_->extSubset}) {
        if (!dtd)
            continue;
        xmlElementPtr decl = xmlGetDtdElementDesc(dtd, X(name));
        if (decl && decl->etype != XML_ELEMENT_TYPE_UNDEFINED)
            return decl;
    }
    return nullptr;
}

std::vector<xmlAttributePtr> DtdGrammar::AttributeDecls(const std::string &element) const
{
    // The subsets' declaration lists keep the order they were written in.
    std::vector<xmlAttributePtr> decls;
    for (xmlDtdPtr dtd : {doc_->intSubset, doc_->extSubset}) {
        for (xmlNodePtr n = dtd ? dtd->children : nullptr; n; n = n->next) {
            if (n->type != XML_ATTRIBUTE_DECL)
                continue;
            auto *a = reinterpret_cast<xmlAttributePtr>(n);
            const bool seen = std::any_of(decls.begin(), decls.end(),
                                          [&](xmlAttributePtr d) { return xmlStrEqual(d->name, a->name); });
            if (S(a->elem) == element && !seen)
                decls.push_back(a);
        }
    }
    return decls;
}

std::vector<std::string> DtdGrammar::DeclaredElements() const
{
    std::vector<std::string> names;
    for (xmlDtdPtr dtd : {doc_->intSubset, doc_->extSubset})
        for (xmlNodePtr n = dtd ? dtd->children : nullptr; n; n = n->next)
            if (n->type == XML_ELEMENT_DECL && reinterpret_cast<xmlElementPtr>(n)->etype != XML_ELEMENT_TYPE_UNDEFINED)
                AddOnce(names, S(n->name));
    return names;
}

std::vector<std::string> DtdGrammar::PotentialChildren(xmlElementPtr decl) const
{
    const xmlChar *found[256];
    int count = 0;
    std::vector<std::string> names;
    if (decl->content && xmlValidGetPotentialChildren(decl->content, found, &count, 256) >= 0)
        for (int i = 0; i < count; ++i)
            AddOnce(names, S(found[i]));
    return names;
}

// Runs the content model over `names`; false when it rejects one of them.
bool Accepts(xmlRegExecCtxtPtr exec, const std::vector<std::string> &names)
{
    for (const std::string &name : names)
        if (xmlRegExecPushString(exec, X(name), nullptr) < 0)
            return false;
    return true;
}

// The children the content model lets come after the preceding siblings,
// kept to those after which the following siblings still fit. Empty when
// the preceding siblings already break the model.
std::vector<std::string> DtdGrammar::NextAllowed(xmlElementPtr decl, const CompletionContext &context) const
{
    if (!decl->contModel) {
        xmlValidCtxt vctxt{};
        CapturedError ignored;
        StructuredErrorScope quiet(&ignored);
        xmlValidBuildContentModel(&vctxt, decl);
    }
    if (!decl->contModel)
        return {};
    std::vector<std::string> next;
    xmlRegExecCtxtPtr exec = xmlRegNewExecCtxt(decl->contModel, nullptr, nullptr);
    if (Accepts(exec, context.precedingSiblings)) {
        xmlChar *values[256];
        int count = 256, negated = 0, terminal = 0;
        if (xmlRegExecNextValues(exec, &count, &negated, values, &terminal) == 0)
            for (int i = 0; i < count; ++i)
                AddOnce(next, S(values[i]));
    }
    xmlRegFreeExecCtxt(exec);

    std::vector<std::string> fitting;
    for (const std::string &name : next) {
        std::vector<std::string> sequence = context.precedingSiblings;
        sequence.push_back(name);
        sequence.insert(sequence.end(), context.followingSiblings.begin(), context.followingSiblings.end());
        xmlRegExecCtxtPtr trial = xmlRegNewExecCtxt(decl->contModel, nullptr, nullptr);
        if (Accepts(trial, sequence))
            fitting.push_back(name);
        xmlRegFreeExecCtxt(trial);
    }
    return fitting.empty() ? next : fitting;
}

std::optional<std::vector<std::string>> DtdGrammar::Elements(const CompletionContext &context) const
{
    if (context.openElements.empty()) {
        const std::string root = doc_->intSubset ? S(doc_->intSubset->name) : "";
        if (ElementDecl(root))
            return std::vector<std::string>{root};
        return DeclaredElements();
    }
    xmlElementPtr decl = ElementDecl(context.openElements.back());
    if (!decl)
        return std::nullopt;
    switch (decl->etype) {
    case XML_ELEMENT_TYPE_EMPTY:
        return std::vector<std::string>{};
    case XML_ELEMENT_TYPE_ANY:
        return DeclaredElements();
    case XML_ELEMENT_TYPE_MIXED:
        return PotentialChildren(decl);
    default:
        break;
    }
    std::vector<std::string> names = NextAllowed(decl, context);
    // Nothing fits between these siblings (the content is complete, or
    // broken while it is being typed): the children the model names at all.
    if (names.empty())
        names = PotentialChildren(decl);
    return names;
}

std::optional<std::vector<std::string>> DtdGrammar::Attributes(const CompletionContext &context) const
{
    const std::vector<xmlAttributePtr> decls = AttributeDecls(context.element);
    if (decls.empty() && !ElementDecl(context.element))
        return std::nullopt;
    std::vector<std::string> names;
    for (xmlAttributePtr a : decls)
        AddOnce(names, S(a->name));
    return names;
}

std::optional<std::vector<std::string>> DtdGrammar::AttributeValues(const CompletionContext &context) const
{
    for (xmlAttributePtr a : AttributeDecls(context.element)) {
        if (S(a->name) != context.attribute)
            continue;
        std::vector<std::string> values;
        for (xmlEnumerationPtr e = a->tree; e; e = e->next)
            AddOnce(values, S(e->name));
        if (values.empty() && a->def == XML_ATTRIBUTE_FIXED)
            AddOnce(values, S(a->defaultValue));
        return values;
    }
    return std::nullopt;
}

bool DeclaresSomething(xmlDtdPtr dtd) { return dtd && dtd->children; }

} // namespace

std::unique_ptr<XmlGrammar> LoadDtdGrammar(const std::string &documentType, const std::string &baseDirectory)
{
    if (documentType.empty())
        return nullptr;
    InstallEntityLoader();
    // The declaration with a stand-in root: enough for libxml2 to read the
    // internal subset without reading anything else.
    const std::string text = documentType + "<x/>";
    CapturedError ignored;
    xmlDocPtr doc = nullptr;
    {
        LoaderPolicyScope policy(LoaderPolicy::Nothing);
        StructuredErrorScope quiet(&ignored);
        doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
                            XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    }
    if (!doc || !doc->intSubset) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    const std::string systemId = S(doc->intSubset->SystemID);
    const std::string publicId = S(doc->intSubset->ExternalID);
    if (!systemId.empty()) {
        // A network address is the catalog's to map, else the loader refuses it.
        const std::string path =
            IsNetworkReference(systemId) ? systemId : ResolveLocalReference(systemId, baseDirectory);
        LoaderPolicyScope policy(LoaderPolicy::LocalFiles, baseDirectory);
        StructuredErrorScope quiet(&ignored);
        doc->extSubset = xmlParseDTD(publicId.empty() ? nullptr : X(publicId), X(path));
    }
    if (!DeclaresSomething(doc->intSubset) && !DeclaresSomething(doc->extSubset)) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    return std::make_unique<DtdGrammar>(doc);
}

} // namespace tarnwick::xml
