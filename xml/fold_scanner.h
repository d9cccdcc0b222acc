// FoldScanner: finds the foldable stretches of XML text a line at a time:
// every element whose start and end tags are on different lines, every
// comment and CDATA section over several lines, and a document type
// declaration over several lines (its internal subset). It forgives text that
// is not well-formed, since the text is being typed: an end tag closes the
// open element of its name and those opened inside it, an end tag of no open
// element is passed over, and a "<" where a tag cannot go on ends that tag.
// The state between two lines is small and comparable, so a scan resumed from
// a saved state can stop where it meets the state an earlier scan saved there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick::xml {

// The scanner between two lines, as a checkpoint keeps it: no line numbers
// but distances back from the line it is saved at, so that lines inserted or
// removed above leave it valid.
struct FoldScanState {
    uint8_t Mode = 0;
    char Quote = 0;           // the quote of a value being read, else 0
    bool InSubset = false;    // a comment or instruction returns into the internal subset
    bool SpanInside = false;  // the open comment or section starts on the line of what holds it
    int32_t SpanBack = -1;    // lines back to where the open tag, comment, section... began
    int32_t DoctypeBack = -1; // lines back to "<!DOCTYPE" while it is open
    int32_t Elements = 0;     // the open elements, an id of FoldScanner's tree of them
    int32_t PendingName = -1; // the name of the start tag being read
    bool operator==(const FoldScanState &) const = default;
};

// What a scan found.
struct FoldScanFinds {
    // Stretches wholly found: first and last line.
    std::vector<std::pair<int, int>> Regions;
    // Ends of stretches that began before the scan's first line.
    std::vector<int> EndsOnly;
    // Starts of stretches still open where the scan stopped.
    std::vector<int> StartsOnly;
    void Clear()
    {
        Regions.clear();
        EndsOnly.clear();
        StartsOnly.clear();
    }
};

class FoldScanner {
public:
    FoldScanner();
    ~FoldScanner();
    FoldScanner(const FoldScanner &) = delete;
    FoldScanner &operator=(const FoldScanner &) = delete;

    // Starts at the beginning of the text; states saved before no longer resume.
    void Begin();
    // Resumes at line `line` from a state saved there.
    void Resume(int line, const FoldScanState &state);
    // Reads the next line; lines come one per call, in order.
    void ScanLine(std::string_view text);
    // The line the next call reads.
    int Line() const { return line_; }
    // The state at the start of the next line.
    FoldScanState Save();
    // A stop at the start of the next line could be taken up by the marks an
    // earlier scan left below: nothing open there began since the scan started
    // but what is known to fold (a start tag begun since is not).
    bool CanStopHere() const;
    // Stopping at the start of the next line: what began since the scan started
    // and is still open goes to StartsOnly.
    void Stop();
    // The end of the text: what is still open ends on the last line.
    void Finish();

    FoldScanFinds &Finds() { return finds_; }

private:
    struct Names;
    struct OpenElement {
        int32_t Name;
        int32_t Line; // of its "<"; -1 when it began before the scan
        bool Inside;  // starts on its parent's line: its parent's stretch stands for it
        int32_t Node; // its id in the tree of open elements, -1 until saved
    };

    void Content(std::string_view text, size_t &i);
    void StartTag(std::string_view text, size_t &i);
    void EndTag(std::string_view text, size_t &i);
    void Markup(std::string_view text, size_t &i);
    void Subset(std::string_view text, size_t &i);
    // Skips to just past `closer`; false when the line ends first.
    bool SkipPast(std::string_view text, size_t &i, std::string_view closer);
    void Push(int32_t name, int32_t line);
    // An element closed on `line`.
    void CloseElement(const OpenElement &element, int line);
    // A comment, a section or the document type that began on `start` ended on `line`.
    void CloseSpan(int32_t start, bool inside, int line);
    void OpenSpan(uint8_t mode, bool inside);
    int32_t Intern(std::string_view name);
    int32_t NodeOf(size_t depth);

    std::unique_ptr<Names> names_;
    std::vector<OpenElement> open_;
    FoldScanFinds finds_;
    int line_ = 0;
    int firstLine_ = 0;
    uint8_t mode_ = 0;
    char quote_ = 0;
    bool inSubset_ = false;
    bool spanInside_ = false;
    int32_t spanStart_ = -1;
    int32_t doctypeStart_ = -1;
    int32_t pendingName_ = -1;
};

} // namespace tarnwick::xml
