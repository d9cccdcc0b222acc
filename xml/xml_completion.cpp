#include "xml/xml_completion.h"

#include "xml/names_in_use.h"
#include "xml/xml_grammar.h"

#include <algorithm>
#include <cctype>

namespace tarnwick::xml {

namespace {

bool StartsWithIgnoringCase(const std::string &s, const std::string &prefix)
{
    return s.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::vector<std::string> Without(std::vector<std::string> names, const std::vector<std::string> &present)
{
    std::erase_if(names,
                  [&](const std::string &n) { return std::find(present.begin(), present.end(), n) != present.end(); });
    return names;
}

// The end tag closes the innermost open element; the outer ones follow.
std::vector<std::string> EndTagNames(const CompletionContext &context)
{
    std::vector<std::string> names;
    for (auto it = context.openElements.rbegin(); it != context.openElements.rend(); ++it)
        if (std::find(names.begin(), names.end(), *it) == names.end())
            names.push_back(*it);
    return names;
}

std::vector<std::string> Candidates(const CompletionContext &context, const TextLines &text, int line, size_t byte,
                                    const std::string &baseDirectory)
{
    if (context.place == CompletionPlace::None)
        return {};
    if (context.place == CompletionPlace::EndTagName)
        return EndTagNames(context);
    const std::unique_ptr<XmlGrammar> grammar = LoadGrammar(context, baseDirectory);
    std::optional<std::vector<std::string>> names;
    switch (context.place) {
    case CompletionPlace::ElementName:
        if (grammar)
            names = grammar->Elements(context);
        if (!names)
            names = CollectNamesInUse(text, line, byte).Elements();
        break;
    case CompletionPlace::AttributeName:
        if (grammar)
            names = grammar->Attributes(context);
        if (!names)
            names = CollectNamesInUse(text, line, byte).AttributesOf(context.element);
        return Without(*names, context.presentAttributes);
    case CompletionPlace::AttributeValue:
        if (grammar)
            names = grammar->AttributeValues(context);
        break;
    default:
        break;
    }
    return names.value_or(std::vector<std::string>{});
}

} // namespace

CompletionOffer OfferCompletion(const TextLines &text, int line, size_t byte, const std::string &baseDirectory,
                                ScanCheckpoints *checkpoints)
{
    CompletionOffer offer;
    if (PlainlyInText(text, line, byte))
        return offer;
    offer.context = FindCompletionContext(text, line, byte, checkpoints);
    offer.candidates = Candidates(offer.context, text, line, byte, baseDirectory);
    for (const std::string &entry : offer.candidates)
        if (StartsWithIgnoringCase(entry, offer.context.prefix))
            offer.entries.push_back(entry);
    return offer;
}

std::string CompletionInsertion(const CompletionContext &context, const std::string &entry, std::string_view after)
{
    switch (context.place) {
    case CompletionPlace::EndTagName:
        return after.starts_with(">") ? entry : entry + ">";
    case CompletionPlace::AttributeName:
        return after.starts_with("=") ? entry : entry + "=\"\"";
    default:
        return entry;
    }
}

int CaretBackAfter(const CompletionContext &context, const std::string &insertion)
{
    return context.place == CompletionPlace::AttributeName && insertion.ends_with("=\"\"") ? 1 : 0;
}

} // namespace tarnwick::xml
