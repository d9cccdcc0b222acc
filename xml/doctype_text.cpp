// Finding the document type declaration in the prolog: the scan steps over
// the declaration, comments and processing instructions before it, and
// inside it over quoted literals, comments and processing instructions,
// where a "]" or ">" does not end anything.
#include "xml/doctype_text.h"

namespace tarnwick::xml {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Position just after `terminator` at or after `at`, or the end of the text.
size_t After(std::string_view text, size_t at, std::string_view terminator)
{
    size_t found = text.find(terminator, at);
    return found == std::string_view::npos ? text.size() : found + terminator.size();
}

// Position after the quoted literal opening at `at`.
size_t AfterLiteral(std::string_view text, size_t at) { return After(text, at + 1, text.substr(at, 1)); }

// Position after a markup declaration ("<!ELEMENT ...>") opening at `at`.
size_t AfterDeclaration(std::string_view text, size_t at)
{
    for (size_t i = at + 2; i < text.size();) {
        char c = text[i];
        if (c == '"' || c == '\'')
            i = AfterLiteral(text, i);
        else if (c == '>')
            return i + 1;
        else
            ++i;
    }
    return text.size();
}

// Position after the "]" that closes the internal subset opening at `at`.
size_t AfterInternalSubset(std::string_view text, size_t at)
{
    for (size_t i = at + 1; i < text.size();) {
        std::string_view rest = text.substr(i);
        if (rest.starts_with("<!--"))
            i = After(text, i + 4, "-->");
        else if (rest.starts_with("<?"))
            i = After(text, i + 2, "?>");
        else if (rest.starts_with("<!"))
            i = AfterDeclaration(text, i);
        else if (text[i] == ']')
            return i + 1;
        else
            ++i;
    }
    return text.size();
}

size_t AfterDocumentType(std::string_view text, size_t at)
{
    for (size_t i = at + 9; i < text.size();) {
        char c = text[i];
        if (c == '"' || c == '\'')
            i = AfterLiteral(text, i);
        else if (c == '[')
            i = AfterInternalSubset(text, i);
        else if (c == '>')
            return i + 1;
        else
            ++i;
    }
    return text.size();
}

} // namespace

std::string_view DocumentTypeText(std::string_view text)
{
    size_t i = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (i < text.size()) {
        std::string_view rest = text.substr(i);
        if (IsBlank(text[i]))
            ++i;
        else if (rest.starts_with("<?"))
            i = After(text, i + 2, "?>");
        else if (rest.starts_with("<!--"))
            i = After(text, i + 4, "-->");
        else if (rest.starts_with("<!DOCTYPE"))
            return text.substr(i, AfterDocumentType(text, i) - i);
        else
            break;
    }
    return {};
}

} // namespace tarnwick::xml
