// The scan runs to the start of the position's line, a copy of the scanner
// then reads the rest of that line up to the position (what is typed there),
// and the other copy reads on past it for the siblings that follow and the
// attributes of the tag the position is in.
#include "xml/completion_context.h"

#include "xml/scan_checkpoints.h"

#include <algorithm>

namespace tarnwick::xml {

namespace {

constexpr size_t kFollowingBudget = 1 << 20;
constexpr int kPlainTextLines = 8;

using State = MarkupScanner::State;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads past the position: the innermost element's later children, the rest
// of the tag the position is in.
class FollowingObserver : public MarkupObserver {
public:
    FollowingObserver(CompletionContext &context, const MarkupScanner &scanner, int depth, int line, size_t byte)
        : context_(context), scanner_(scanner), depth_(depth), line_(line), byte_(byte)
    {
    }
    void StartTag(std::string_view name, int depth, int line, size_t byte) override
    {
        if (depth != depth_ || (line == line_ && byte < byte_))
            return;
        context_.followingSiblings.emplace_back(name);
        if (context_.followingSiblings.size() >= MarkupScanner::kMaxRecentChildren)
            done = true;
    }
    void Attribute(std::string_view element, int depth, std::string_view name, std::string_view value) override
    {
        if (watching_ && scanner_.TagLine() == tagLine_ && scanner_.TagByte() == tagByte_ &&
            name != context_.attribute &&
            std::find(context_.presentAttributes.begin(), context_.presentAttributes.end(), name) ==
                context_.presentAttributes.end())
            context_.presentAttributes.emplace_back(name);
    }
    void ElementClosed(int depth) override
    {
        const bool beforePosition = scanner_.TagLine() == line_ && scanner_.TagByte() < byte_;
        if (depth < depth_ && !beforePosition)
            done = true;
    }
    // The position is in the start tag whose "<" is at (tagLine, tagByte).
    void WatchTag(int tagLine, size_t tagByte)
    {
        watching_ = true;
        tagLine_ = tagLine;
        tagByte_ = tagByte;
    }

    bool done = false;

private:
    CompletionContext &context_;
    const MarkupScanner &scanner_;
    int depth_;
    int line_;
    size_t byte_;
    bool watching_ = false;
    int tagLine_ = 0;
    size_t tagByte_ = 0;
};

void PlaceFromState(const MarkupScanner &scanner, std::string_view before, CompletionContext &context)
{
    switch (scanner.CurrentState()) {
    case State::Open:
        context.place = CompletionPlace::ElementName;
        break;
    case State::StartName:
        context.place = CompletionPlace::ElementName;
        context.prefix = scanner.TagName();
        break;
    case State::EndName:
        context.place = CompletionPlace::EndTagName;
        context.prefix = scanner.TagName();
        break;
    case State::TagSpace:
        // Right after a value's closing quote a name cannot start yet.
        if (before.empty() || IsBlank(before.back()))
            context.place = CompletionPlace::AttributeName;
        break;
    case State::AttributeName:
        context.place = CompletionPlace::AttributeName;
        context.prefix = scanner.AttributeNameText();
        break;
    case State::AttributeValue:
        context.place = CompletionPlace::AttributeValue;
        context.attribute = scanner.AttributeNameText();
        context.prefix = scanner.AttributeValueText();
        break;
    default:
        break;
    }
    if (context.place == CompletionPlace::AttributeName || context.place == CompletionPlace::AttributeValue) {
        context.element = scanner.TagName();
        context.presentAttributes = scanner.TagAttributes();
    }
}

} // namespace

CompletionContext FindCompletionContext(const TextLines &text, int line, size_t byte, ScanCheckpoints *checkpoints)
{
    CompletionContext context;
    if (line < 0 || line >= text.Count())
        return context;
    MarkupScanner scanner = ScanLinesBefore(text, line, checkpoints);

    MarkupScanner following = scanner;
    const std::string_view lineText = text.Line(line);
    const std::string_view before = lineText.substr(0, std::min(byte, lineText.size()));
    scanner.Scan(before, line);
    PlaceFromState(scanner, before, context);
    context.openElements = scanner.OpenElements();
    context.precedingSiblings = scanner.RecentChildren();
    context.documentType = scanner.DocumentTypeText();
    context.rootName = scanner.RootName();
    context.rootAttributes = scanner.RootAttributes();
    const bool rootKnown = !context.rootName.empty();

    FollowingObserver observer(context, following, scanner.Depth(), line, before.size());
    if (context.place == CompletionPlace::AttributeName || context.place == CompletionPlace::AttributeValue)
        observer.WatchTag(scanner.TagLine(), scanner.TagByte());
    following.SetObserver(&observer);
    size_t read = 0;
    for (int l = line; l < text.Count() && !observer.done && read < kFollowingBudget; ++l) {
        following.Scan(text.Line(l), l);
        read += text.Line(l).size() + 1;
    }
    if (!rootKnown) {
        context.rootName = following.RootName();
        context.rootAttributes = following.RootAttributes();
        if (context.documentType.empty())
            context.documentType = following.DocumentTypeText();
    }
    return context;
}

bool PlainlyInText(const TextLines &text, int line, size_t byte)
{
    for (int l = line; l >= 0 && l > line - kPlainTextLines; --l) {
        std::string_view s = text.Line(l);
        if (l == line)
            s = s.substr(0, std::min(byte, s.size()));
        const size_t mark = s.find_last_of("<>");
        if (mark != std::string_view::npos)
            return s[mark] == '>';
    }
    return false;
}

} // namespace tarnwick::xml
