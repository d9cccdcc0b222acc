// Validation against a chosen grammar with libxml2's validators: the DTD
// checked over the tree by xmlValidateDtd, schemas and RELAX NG by their
// modules, each error on its way to a list. The document is parsed as
// Validate parses it, without entity substitution or defaulted attributes.
#include "xml/grammar_validation.h"

#include <libxml/relaxng.h>
#include <libxml/valid.h>
#include <libxml/xmlschemas.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "xml/byte_form.h"
#include "xml/file_read.h"
#include "xml/libxml2_dom.h"
#include "xml/libxml2_internal.h"
#include "xml/libxml2_problems.h"
#include "xml/tool_parse.h"
#include "xml/transcode.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

using namespace libxml2;

// Must run while the loader's scope lives, which knows how its files may be
// named. Only the place of the grammar's error is told, never its text: the
// grammar may have read another file.
[[noreturn]] void CannotUse(const std::string &grammar, const CapturedError &loadError)
{
    const LoaderRefusal refused = LoaderPolicyScope::LastRefusal();
    std::string why = refused.reason;
    if (refused.outside)
        why = (refused.reference.empty() ? "a file it names" : refused.reference) + " " + refused.reason;
    if (why.empty() && loadError.HasError())
        why = "it has an error at line " + std::to_string(loadError.line) +
              (loadError.file.empty() ? std::string() : " of " + NameInMessages(loadError.file));
    if (why.empty())
        why = "it is not a grammar of its kind";
    throw EXMLLayerError("The grammar \"" + grammar + "\" cannot be used: " + why);
}

// A grammar that goes on without a part it names (a parameter entity, an
// import) checks against less than it says.
bool Refused() { return !LoaderPolicyScope::LastRefusal().reason.empty(); }

// The user chose the grammar, so its folder is where what it names is read from.
std::string GrammarFolder(const std::string &grammar)
{
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(grammar, ec);
    return (ec ? std::filesystem::path(grammar) : real).parent_path().string();
}

constexpr const char *kGrammarFolder = "the grammar's folder";

void ValidateWithDtd(xmlDocPtr doc, const std::string &grammar, ProblemList &sink)
{
    CapturedError loadError;
    std::unique_ptr<xmlDtd, void (*)(xmlDtdPtr)> dtd(nullptr, xmlFreeDtd);
    {
        // A DTD's parameter entities are part of it.
        LoaderPolicyScope policy(LoaderPolicy::LocalFiles, GrammarFolder(grammar), kGrammarFolder);
        StructuredErrorScope capture(&loadError);
        dtd.reset(xmlParseDTD(nullptr, reinterpret_cast<const xmlChar *>(grammar.c_str())));
        if (!dtd || loadError.HasError() || Refused())
            CannotUse(grammar, loadError);
    }
    std::unique_ptr<xmlValidCtxt, void (*)(xmlValidCtxtPtr)> context(xmlNewValidCtxt(), xmlFreeValidCtxt);
    LoaderPolicyScope nothing(LoaderPolicy::Nothing);
    StructuredErrorScope collecting(&sink, ListProblem);
    xmlValidateDtd(context.get(), doc, dtd.get());
}

void ValidateWithSchema(xmlDocPtr doc, const std::string &grammar, ProblemList &sink)
{
    CapturedError loadError;
    std::unique_ptr<xmlSchema, void (*)(xmlSchemaPtr)> schema(nullptr, xmlSchemaFree);
    {
        LoaderPolicyScope policy(LoaderPolicy::SchemaDocuments, GrammarFolder(grammar), kGrammarFolder);
        StructuredErrorScope capture(&loadError);
        xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(grammar.c_str());
        xmlSchemaSetParserStructuredErrors(parser, CaptureStructuredError, &loadError);
        schema.reset(xmlSchemaParse(parser));
        xmlSchemaFreeParserCtxt(parser);
        if (!schema || Refused())
            CannotUse(grammar, loadError);
    }
    std::unique_ptr<xmlSchemaValidCtxt, void (*)(xmlSchemaValidCtxtPtr)> context(xmlSchemaNewValidCtxt(schema.get()),
                                                                                 xmlSchemaFreeValidCtxt);
    xmlSchemaSetValidStructuredErrors(context.get(), ListProblem, &sink);
    LoaderPolicyScope nothing(LoaderPolicy::Nothing);
    StructuredErrorScope collecting(&sink, ListProblem);
    xmlSchemaValidateDoc(context.get(), doc);
}

void ValidateWithRelaxNG(xmlDocPtr doc, const std::string &grammar, ProblemList &sink)
{
    CapturedError loadError;
    std::unique_ptr<xmlRelaxNG, void (*)(xmlRelaxNGPtr)> relaxng(nullptr, xmlRelaxNGFree);
    {
        LoaderPolicyScope policy(LoaderPolicy::SchemaDocuments, GrammarFolder(grammar), kGrammarFolder);
        StructuredErrorScope capture(&loadError);
        xmlRelaxNGParserCtxtPtr parser = xmlRelaxNGNewParserCtxt(grammar.c_str());
        xmlRelaxNGSetParserStructuredErrors(parser, CaptureStructuredError, &loadError);
        relaxng.reset(xmlRelaxNGParse(parser));
        xmlRelaxNGFreeParserCtxt(parser);
        if (!relaxng || Refused())
            CannotUse(grammar, loadError);
    }
    std::unique_ptr<xmlRelaxNGValidCtxt, void (*)(xmlRelaxNGValidCtxtPtr)> context(
        xmlRelaxNGNewValidCtxt(relaxng.get()), xmlRelaxNGFreeValidCtxt);
    xmlRelaxNGSetValidStructuredErrors(context.get(), ListProblem, &sink);
    LoaderPolicyScope nothing(LoaderPolicy::Nothing);
    StructuredErrorScope collecting(&sink, ListProblem);
    const int result = xmlRelaxNGValidateDoc(context.get(), doc);
    // The validator may reject without saying where.
    if (result != 0 && sink.ErrorCount() == 0)
        sink.Add({0, 0, "The document does not match the grammar"});
}

} // namespace

std::optional<GrammarKind> GrammarKindOfFile(const std::string &path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".dtd")
        return GrammarKind::Dtd;
    if (extension == ".xsd")
        return GrammarKind::Schema;
    if (extension == ".rng")
        return GrammarKind::RelaxNG;
    return std::nullopt;
}

GrammarReport ValidateAgainstGrammar(std::string_view text, const std::string &grammarPath,
                                     const std::string &baseDirectory, size_t listed)
{
    const std::optional<GrammarKind> kind = GrammarKindOfFile(grammarPath);
    if (!kind)
        throw EXMLLayerError("\"" + grammarPath +
                             "\" is no grammar: a DTD (.dtd), an XML Schema (.xsd) or a "
                             "RELAX NG grammar (.rng) is needed");
    if (IsNetworkReference(grammarPath))
        throw EXMLLayerError("The grammar \"" + grammarPath + "\" cannot be used: network access is disabled");
    const std::string grammar = ResolveLocalReference(grammarPath, "");
    InstallEntityLoader();

    const DocPtr doc = ParseForTools(text, baseDirectory);

    ProblemList sink(listed);
    switch (*kind) {
    case GrammarKind::Dtd:
        ValidateWithDtd(doc.get(), grammar, sink);
        break;
    case GrammarKind::Schema:
        ValidateWithSchema(doc.get(), grammar, sink);
        break;
    case GrammarKind::RelaxNG:
        ValidateWithRelaxNG(doc.get(), grammar, sink);
        break;
    }
    GrammarReport report;
    report.valid = sink.ErrorCount() == 0;
    report.problemCount = sink.Count();
    report.problems = sink.TakeListed();
    return report;
}

GrammarReport ValidateFileAgainstGrammar(const std::string &path, const std::string &grammarPath, size_t listed)
{
    const ToolFile file = ReadToolFile(path);
    return ValidateAgainstGrammar(file.text, grammarPath, file.folder, listed);
}

} // namespace tarnwick::xml
