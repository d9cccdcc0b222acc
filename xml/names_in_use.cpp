#include "xml/names_in_use.h"

#include "xml/markup_scanner.h"

namespace tarnwick::xml {

namespace {

class NameCollector : public MarkupObserver {
public:
    explicit NameCollector(NamesInUse &names) : names_(names) {}

    void StartTag(std::string_view name, int, int, size_t) override
    {
        if (names_.elements.find(name) == names_.elements.end())
            names_.elements.emplace(name);
    }
    void Attribute(std::string_view element, int, std::string_view name, std::string_view) override
    {
        auto found = names_.attributes.find(element);
        if (found == names_.attributes.end())
            found = names_.attributes.emplace(std::string(element), std::set<std::string, std::less<>>()).first;
        if (found->second.find(name) == found->second.end())
            found->second.emplace(name);
    }

private:
    NamesInUse &names_;
};

} // namespace

std::vector<std::string> NamesInUse::AttributesOf(const std::string &element) const
{
    auto found = attributes.find(element);
    if (found == attributes.end())
        return {};
    return {found->second.begin(), found->second.end()};
}

NamesInUse CollectNamesInUse(const TextLines &text, int line, size_t byte, size_t budget)
{
    NamesInUse names;
    if (line < 0 || line >= text.Count())
        return names;
    // Half the budget before the position (line breaks count one byte), the
    // rest after it; a window may begin or end inside a line.
    size_t back = budget / 2;
    size_t from = std::min(byte, text.Line(line).size());
    while (back > from && line > 0) {
        back -= from + 1;
        --line;
        from = text.Line(line).size();
    }
    from = from > back ? from - back : 0;

    NameCollector collector(names);
    MarkupScanner scanner(&collector);
    size_t read = 0;
    for (int l = line; l < text.Count() && read < budget; ++l) {
        std::string_view s = text.Line(l).substr(l == line ? from : 0);
        s = s.substr(0, budget - read);
        scanner.Scan(s, l);
        read += s.size() + 1;
    }
    return names;
}

} // namespace tarnwick::xml
