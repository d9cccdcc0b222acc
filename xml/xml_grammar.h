// XmlGrammar: what a document's DTD or XML Schema allows at a completion
// context: the elements that may stand there, the attributes of an element,
// and the values an enumerated attribute takes. Grammars are read from local
// files only, through the layer's entity loader; nothing is fetched.
#pragma once

#include "xml/completion_context.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::xml {

class XmlGrammar {
public:
    virtual ~XmlGrammar() = default;
    // Each answers nothing (nullopt) when the grammar does not declare the
    // element in question, and an empty list when it allows nothing there.
    virtual std::optional<std::vector<std::string>> Elements(const CompletionContext &context) const = 0;
    virtual std::optional<std::vector<std::string>> Attributes(const CompletionContext &context) const = 0;
    virtual std::optional<std::vector<std::string>> AttributeValues(const CompletionContext &context) const = 0;
};

// The DTD of "<!DOCTYPE ...>" text: its internal subset and the external
// subset it names, relative to baseDirectory. Null when it declares nothing
// or cannot be read.
std::unique_ptr<XmlGrammar> LoadDtdGrammar(const std::string &documentType, const std::string &baseDirectory);

// The XML Schema at `location` (and the schemas it includes or imports).
// Null when it cannot be read or is no schema.
std::unique_ptr<XmlGrammar> LoadSchemaGrammar(const std::string &location, const std::string &baseDirectory);

// The schema location the root's xsi attributes name, empty when none.
std::string SchemaLocationOf(const CompletionContext &context);

// The grammar the context's document names: its DTD, else its schema.
std::unique_ptr<XmlGrammar> LoadGrammar(const CompletionContext &context, const std::string &baseDirectory);

} // namespace tarnwick::xml
