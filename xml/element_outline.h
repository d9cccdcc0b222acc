// ElementOutline: the element tree of XML text as the markup scanner reads
// it (forgiving text that is not well-formed), compact enough for documents
// of millions of elements: each element's name, its id or name attribute,
// where it starts and ends, and its place among its siblings. Built a line at
// a time by OutlineBuilder, off the interface thread; read-only once built.
#pragma once

#include "xml/markup_scanner.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwick::xml {

// A place in the text: a line (0-based) and a byte in it.
struct OutlinePlace {
    int32_t line = 0;
    int32_t byte = 0;
    auto operator<=>(const OutlinePlace &) const = default;
};

struct OutlineElement {
    int32_t parent = -1;
    int32_t end = 0;          // the index after its last descendant (elements are in document order)
    int32_t name = 0;         // into the outline's names
    int32_t label = -1;       // its id (else name) attribute's value, into the outline's labels; -1 for none
    int32_t row = 0;          // among its parent's element children, from 0
    int32_t index = 1;        // among its parent's children of its name, from 1
    bool namesakes = false;   // siblings of its name come before or after it
    bool labelIsName = false; // the label is its name attribute, not its id
    OutlinePlace start;       // its "<"
    OutlinePlace stop;        // just past its end tag (or where the text closed it)
};

class ElementOutline {
public:
    const std::vector<OutlineElement> &Elements() const { return elements_; }
    int Count() const { return static_cast<int>(elements_.size()); }
    std::string_view Name(int element) const { return names_[elements_[element].name]; }
    // Empty when it has neither attribute.
    std::string_view Label(int element) const;
    // Element children of `element` (of the document for -1), in order;
    // the list of an element asked for is kept (one may have millions).
    int ChildCount(int element) const;
    int Child(int element, int row) const;
    const std::vector<int32_t> &Children(int element) const;

    // The innermost element holding the place (from its "<" up to the end of
    // its end tag), -1 when none does.
    int ElementAt(OutlinePlace place) const;
    // "/catalog/book[3]/title": each step's position among its namesakes,
    // where it has any; an XPath expression selecting that element.
    std::string PathOf(int element) const;

private:
    friend class OutlineBuilder;
    std::vector<OutlineElement> elements_;
    std::vector<std::string> names_;
    std::string labels_; // each value ended by '\0', which XML text cannot hold
    // Read on one thread only, as the interface reads an outline.
    mutable std::unordered_map<int, std::vector<int32_t>> children_;
};

class OutlineBuilder : private MarkupObserver {
public:
    OutlineBuilder();
    // Reads the next of the text, lines parted by LF, in pieces of any size.
    // A line held back for its end is read in parts once it grows past
    // kPartBytes, each part ending before a "<", so a text of one long line
    // is never held whole.
    void Text(std::string_view text);
    // Elements still open end at the end of the text.
    std::shared_ptr<ElementOutline> Finish();

    static constexpr size_t kPartBytes = 1 << 20;

private:
    struct Level {
        int32_t element = -1;
        int32_t rows = 0;
        // Children by name: how many, and the first of them.
        std::unordered_map<int32_t, std::pair<int32_t, int32_t>> names;
    };
    void StartTag(std::string_view name, int depth, int line, size_t byte) override;
    void Attribute(std::string_view element, int depth, std::string_view name, std::string_view value) override;
    void ElementClosed(int depth) override;
    int32_t Intern(std::string_view name);

    // Scans the next part of the current line.
    void Scan(std::string_view part);
    OutlinePlace Place(int line, size_t byte) const;

    MarkupScanner scanner_;
    std::shared_ptr<ElementOutline> outline_;
    std::unordered_map<std::string, int32_t> nameIds_;
    std::vector<Level> levels_;
    // The line being read, its part held back, and the bytes of it read before.
    int line_ = 0;
    std::string held_;
    size_t offset_ = 0;
    // The id or name of the start tag being read, and where that tag begins.
    std::string pendingLabel_;
    bool pendingIsId_ = false;
    OutlinePlace pendingAt_;
};

} // namespace tarnwick::xml
