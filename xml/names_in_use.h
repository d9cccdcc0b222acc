// NamesInUse: the element names a document already uses, and the attribute
// names each element is written with: what completion offers when the
// document names no grammar.
#pragma once

#include "xml/text_lines.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarnwick::xml {

struct NamesInUse {
    std::set<std::string, std::less<>> elements;
    std::map<std::string, std::set<std::string, std::less<>>, std::less<>> attributes;

    std::vector<std::string> Elements() const { return {elements.begin(), elements.end()}; }
    std::vector<std::string> AttributesOf(const std::string &element) const;
};

// The names in the text, or, in a text longer than `budget` bytes, in that
// many bytes around byte `byte` of line `line`: a long document repeats its
// names, and the scan is to cost a small fraction of a second.
NamesInUse CollectNamesInUse(const TextLines &text, int line, size_t byte, size_t budget = 4 << 20);

} // namespace tarnwick::xml
