// MarkupScanner: reads XML text forward, a line at a time, far enough to know
// where a position stands (in text, in a tag's name, among its attributes, in
// a quoted value, in a comment, ...) and which elements are open there. It
// forgives text that is not well-formed, since the text is being typed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick::xml {

// What a scan reports while it goes; every name is valid during the call only.
class MarkupObserver {
public:
    virtual ~MarkupObserver() = default;
    // A start tag is complete; `depth` is the number of elements open around
    // it. `line` and `byte` locate its "<".
    virtual void StartTag(std::string_view name, int depth, int line, size_t byte) {}
    // An attribute with its quoted value, inside the start tag of `element`.
    virtual void Attribute(std::string_view element, int depth, std::string_view name, std::string_view value) {}
    // An end tag or an empty-element tag closed the element at `depth`.
    virtual void ElementClosed(int depth) {}
};

class MarkupScanner {
public:
    enum class State : uint8_t {
        Text,
        Open,           // "<" and nothing more yet
        StartName,      // "<" and part of a name
        EndName,        // "</" and part of a name
        EndRest,        // after an end tag's name
        TagSpace,       // in a start tag where an attribute, "/>" or ">" may come
        TagSlash,       // "/" in a start tag
        AttributeName,  // part of an attribute's name
        AfterName,      // after an attribute's name
        AfterEquals,    // after "="
        AttributeValue, // inside a quoted value
        Bang,           // "<!" not yet known to be a comment, CDATA or declaration
        Comment,        // in "<!-- -->"
        CData,          // in "<![CDATA[ ]]>"
        Instruction,    // in "<? ?>"
        DocumentType,   // in "<!DOCTYPE ...>"
        Declaration,    // in another "<!...>"
    };

    explicit MarkupScanner(MarkupObserver *observer = nullptr) : observer_(observer) {}
    // A copy takes the open elements only, not the levels kept for reuse.
    MarkupScanner(const MarkupScanner &other);
    MarkupScanner &operator=(const MarkupScanner &other);
    MarkupScanner(MarkupScanner &&) = default;
    MarkupScanner &operator=(MarkupScanner &&) = default;
    void SetObserver(MarkupObserver *observer) { observer_ = observer; }

    // Scans line `line`, all of it or its part before a position. Each call
    // is one line: a line break stands between two calls, and a delimiter is
    // found only within one call.
    void Scan(std::string_view text, int line);

    State CurrentState() const { return state_; }
    // Open elements, outermost first.
    int Depth() const { return depth_; }
    std::vector<std::string> OpenElements() const;
    // The innermost open element, empty at the document's top level.
    std::string_view InnermostElement() const { return levels_[depth_].name; }
    // Element children of the innermost open element (of the document at
    // depth 0) seen so far, the last kMaxRecentChildren of them, in order.
    std::vector<std::string> RecentChildren() const;
    // The tag being read: its name, and the attribute and value being read.
    const std::string &TagName() const { return tagName_; }
    const std::string &AttributeNameText() const { return attributeName_; }
    const std::string &AttributeValueText() const { return attributeValue_; }
    // Attribute names of the start tag being read.
    const std::vector<std::string> &TagAttributes() const { return tagAttributes_; }
    // Where the markup being read (or read last) begins: the line and byte of its "<".
    int TagLine() const { return tagLine_; }
    size_t TagByte() const { return tagByte_; }
    // Just past the ">" of the tag read last, in the line being read.
    size_t TagEndByte() const { return tagEnd_; }
    // The first element of the document, once its start tag is complete, and
    // the attributes its start tag has (so far).
    const std::string &RootName() const { return rootName_; }
    const std::vector<std::pair<std::string, std::string>> &RootAttributes() const { return rootAttributes_; }
    // "<!DOCTYPE ...>" as written, once the scan passed it.
    const std::string &DocumentTypeText() const { return doctype_; }

    static constexpr int kMaxRecentChildren = 64;
    // Elements nested deeper than this are read but not tracked, and an end
    // tag looks this far down for its start tag: a text that never closes
    // its elements must not make each end tag cost the whole depth.
    static constexpr int kMaxDepth = 256;

private:
    struct Level {
        std::string name;
        std::vector<std::string> recent; // a ring of the last children
        size_t seen = 0;
    };

    void LineBreak();
    size_t StepText(std::string_view text, size_t i);
    size_t StepOpen(std::string_view text, size_t i);
    size_t StepBang(std::string_view text, size_t i);
    size_t StepDocumentType(std::string_view text, size_t i);
    size_t StepTag(std::string_view text, size_t i);
    size_t SkipTo(std::string_view text, size_t i, std::string_view terminator);
    void EndAttributeName();
    void StartTagDone(bool empty);
    void EndTagDone();

    MarkupObserver *observer_;
    State state_ = State::Text;
    char quote_ = 0;
    bool started_ = false;
    int line_ = 0;
    int tagLine_ = 0;
    size_t tagByte_ = 0;
    size_t tagEnd_ = 0;
    std::string tagName_;
    std::string attributeName_;
    std::string attributeValue_;
    std::vector<std::string> tagAttributes_;
    // levels_[0] is the document; levels_[1..depth_] the open elements.
    std::vector<Level> levels_{1};
    int depth_ = 0;
    std::string rootName_;
    std::vector<std::pair<std::string, std::string>> rootAttributes_;
    std::string doctype_;
    int subsetDepth_ = 0;
    bool inSubsetComment_ = false;
};

} // namespace tarnwick::xml
