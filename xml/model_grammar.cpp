#include "xml/model_grammar.h"

#include "xml/libxml2_problems.h"

#include <libxml/relaxng.h>

#include <cctype>
#include <memory>

namespace tarnwick::xml::libxml2 {

namespace {

constexpr const char *kRelaxNGNamespace = "http://relaxng.org/ns/structure/1.0";

bool EndsWith(const std::string &s, const char *suffix);

} // namespace

std::string PseudoAttribute(const std::string &text, const std::string &name)
{
    size_t at = 0;
    while ((at = text.find(name, at)) != std::string::npos) {
        const bool startsWord = at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1]));
        size_t next = at + name.size();
        while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
            ++next;
        if (startsWord && next < text.size() && text[next] == '=') {
            ++next;
            while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
                ++next;
            if (next < text.size() && (text[next] == '"' || text[next] == '\'')) {
                const size_t end = text.find(text[next], next + 1);
                if (end != std::string::npos)
                    return text.substr(next + 1, end - next - 1);
            }
        }
        at += name.size();
    }
    return "";
}

namespace {

bool EndsWith(const std::string &s, const char *suffix)
{
    const std::string tail(suffix);
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::string ModelGrammarLocation(xmlDocPtr doc)
{
    for (xmlNodePtr node = doc ? doc->children : nullptr; node && node->type != XML_ELEMENT_NODE; node = node->next) {
        if (node->type != XML_PI_NODE || !xmlStrEqual(node->name, BAD_CAST "xml-model") || !node->content)
            continue;
        const std::string text = reinterpret_cast<const char *>(node->content);
        const std::string href = PseudoAttribute(text, "href");
        const std::string ns = PseudoAttribute(text, "schematypens");
        if (!href.empty() && (ns == kRelaxNGNamespace || (ns.empty() && EndsWith(href, ".rng"))))
            return href;
    }
    return "";
}

bool ValidateAgainstModelGrammar(xmlDocPtr doc, const std::string &baseDirectory, CapturedError &error)
{
    const std::string location = ModelGrammarLocation(doc);
    if (location.empty())
        return true;
    const xmlNodePtr root = xmlDocGetRootElement(doc);
    const int line = root ? static_cast<int>(xmlGetLineNo(root)) : 1;
    const auto notLoaded = [&](const std::string &why) {
        error.Set(XML_IO_LOAD_ERROR, line, 1, "RELAX NG grammar \"" + location + "\" was not loaded: " + why);
        error.verdict = Verdict::NotChecked;
        return false;
    };
    const std::string path = IsNetworkReference(location) ? location : ResolveLocalReference(location, baseDirectory);

    std::unique_ptr<xmlRelaxNG, void (*)(xmlRelaxNGPtr)> grammar(nullptr, xmlRelaxNGFree);
    {
        CapturedError loadError;
        LoaderPolicyScope policy(LoaderPolicy::SchemaDocuments, baseDirectory);
        StructuredErrorScope capture(&loadError);
        xmlRelaxNGParserCtxtPtr parser = xmlRelaxNGNewParserCtxt(path.c_str());
        xmlRelaxNGSetParserStructuredErrors(parser, CaptureStructuredError, &loadError);
        grammar.reset(xmlRelaxNGParse(parser));
        xmlRelaxNGFreeParserCtxt(parser);
        if (!grammar) {
            const LoaderRefusal refused = LoaderPolicyScope::LastRefusal();
            if (refused.outside)
                return NotLoadedFromOutside(location, path, refused, line, error);
            std::string why = refused.reason;
            // The grammar's own text is not quoted, only where its error is.
            if (why.empty() && loadError.HasError())
                why = "it has an error at line " + std::to_string(loadError.line) +
                      (loadError.file.empty() ? std::string() : " of " + NameInMessages(loadError.file));
            return notLoaded(why.empty() ? "it could not be read" : why);
        }
    }
    std::unique_ptr<xmlRelaxNGValidCtxt, void (*)(xmlRelaxNGValidCtxtPtr)> context(
        xmlRelaxNGNewValidCtxt(grammar.get()), xmlRelaxNGFreeValidCtxt);
    ValidatorErrors errors(error);
    xmlRelaxNGSetValidStructuredErrors(context.get(), ValidatorErrors::Handle, &errors);
    int result = 0;
    {
        LoaderPolicyScope nothing(LoaderPolicy::Nothing);
        StructuredErrorScope capture(&errors, ValidatorErrors::Handle);
        result = xmlRelaxNGValidateDoc(context.get(), doc);
    }
    if (result != 0 && !error.HasError())
        error.Set(XML_RELAXNG_ERR_INTERNAL, line, 1, "the document does not match its RELAX NG grammar");
    if (result != 0)
        error.verdict = result < 0 ? Verdict::NotChecked : Verdict::NotValid;
    return result == 0;
}

} // namespace tarnwick::xml::libxml2
