// XML completion: what completing at a position of XML text offers, best
// first (the names the grammar allows there, or those the document already
// uses), and what choosing an entry inserts.
#pragma once

#include "xml/completion_context.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

struct CompletionOffer {
    CompletionContext context;
    // Everything the place allows, and of those the entries whose start
    // matches what is typed there, ignoring case.
    std::vector<std::string> candidates;
    std::vector<std::string> entries;
};

// The grammar is read afresh each time (relative references from
// baseDirectory), so an edited DTD or schema counts at once. Checkpoints, when
// given, spare reading a long text from its start each time.
CompletionOffer OfferCompletion(const TextLines &text, int line, size_t byte, const std::string &baseDirectory,
                                ScanCheckpoints *checkpoints = nullptr);

// What choosing `entry` puts in place of what is typed: an end tag's name
// with its ">", an attribute's name with `=""`, unless the text after the
// name (`after`) already has them.
std::string CompletionInsertion(const CompletionContext &context, const std::string &entry, std::string_view after);
// How far back from the end of an insertion the caret belongs: between the
// quotes of an attribute's new value, else at the end.
int CaretBackAfter(const CompletionContext &context, const std::string &insertion);

} // namespace tarnwick::xml
