#include "xml/fold_scanner.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace tarnwick::xml {

namespace {

enum Mode : uint8_t {
    mContent,     // text between tags
    mStartTag,    // after "<name", until ">" or "/>"
    mEndTag,      // after "</name", until ">"
    mComment,     // "<!--" until "-->"
    mCData,       // "<![CDATA[" until "]]>"
    mInstruction, // "<?" until "?>"
    mDoctype,     // "<!DOCTYPE" until "[" or ">"
    mSubset,      // inside the internal subset's "[ ]"
    mSubsetDecl,  // a declaration in the subset, until ">"
    mAfterSubset, // after "]", until ">"
    mDeclaration, // another "<!" in content, until ">"
};

bool IsNameStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

std::string_view ReadName(std::string_view text, size_t &i)
{
    const size_t from = i;
    while (i < text.size() && IsNameChar(static_cast<unsigned char>(text[i])))
        ++i;
    return text.substr(from, i - from);
}

bool At(std::string_view text, size_t i, std::string_view what) { return text.substr(i, what.size()) == what; }

struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

} // namespace

// Names of elements, and the tree of open-element lists: one node per list,
// shared by every state with that list, so two states compare by one id.
struct FoldScanner::Names {
    struct Node {
        int32_t Parent;
        int32_t Name;
        bool Inside;
    };
    std::unordered_map<std::string, int32_t, NameHash, std::equal_to<>> ids;
    std::vector<Node> nodes{{-1, -1, false}};
    std::unordered_map<uint64_t, int32_t> nodeIds;

    int32_t NodeFor(int32_t parent, int32_t name, bool inside)
    {
        const uint64_t key =
            (static_cast<uint64_t>(parent) << 33) | (static_cast<uint64_t>(name) << 1) | (inside ? 1 : 0);
        auto [it, added] = nodeIds.try_emplace(key, static_cast<int32_t>(nodes.size()));
        if (added)
            nodes.push_back({parent, name, inside});
        return it->second;
    }
};

FoldScanner::FoldScanner() : names_(std::make_unique<Names>()) {}

FoldScanner::~FoldScanner() = default;

int32_t FoldScanner::Intern(std::string_view name)
{
    auto it = names_->ids.find(name);
    if (it != names_->ids.end())
        return it->second;
    const auto id = static_cast<int32_t>(names_->ids.size());
    names_->ids.emplace(std::string(name), id);
    return id;
}

int32_t FoldScanner::NodeOf(size_t depth)
{
    size_t k = depth;
    while (k > 0 && open_[k - 1].Node < 0)
        --k;
    int32_t node = k == 0 ? 0 : open_[k - 1].Node;
    for (; k < depth; ++k) {
        node = names_->NodeFor(node, open_[k].Name, open_[k].Inside);
        open_[k].Node = node;
    }
    return node;
}

void FoldScanner::Begin()
{
    names_ = std::make_unique<Names>();
    line_ = firstLine_ = 0;
    mode_ = mContent;
    quote_ = 0;
    inSubset_ = spanInside_ = false;
    spanStart_ = doctypeStart_ = pendingName_ = -1;
    open_.clear();
    finds_.Clear();
}

void FoldScanner::Resume(int line, const FoldScanState &state)
{
    line_ = firstLine_ = line;
    mode_ = state.Mode;
    quote_ = state.Quote;
    inSubset_ = state.InSubset;
    spanInside_ = state.SpanInside;
    spanStart_ = state.SpanBack >= 0 ? line - state.SpanBack : -1;
    doctypeStart_ = state.DoctypeBack >= 0 ? line - state.DoctypeBack : -1;
    pendingName_ = state.PendingName;
    open_.clear();
    for (int32_t node = state.Elements; node > 0; node = names_->nodes[node].Parent) {
        const Names::Node &n = names_->nodes[node];
        open_.push_back({n.Name, -1, n.Inside, node});
    }
    std::reverse(open_.begin(), open_.end());
    finds_.Clear();
}

FoldScanState FoldScanner::Save()
{
    FoldScanState s;
    s.Mode = mode_;
    s.Quote = quote_;
    s.InSubset = inSubset_;
    const bool spans = mode_ == mStartTag || mode_ == mComment || mode_ == mCData;
    s.SpanInside = spans && spanInside_;
    s.SpanBack = spans ? line_ - spanStart_ : -1;
    s.DoctypeBack = doctypeStart_ >= 0 ? line_ - doctypeStart_ : -1;
    s.Elements = NodeOf(open_.size());
    s.PendingName = mode_ == mStartTag ? pendingName_ : -1;
    return s;
}

bool FoldScanner::CanStopHere() const { return !(mode_ == mStartTag && spanStart_ >= firstLine_); }

void FoldScanner::Stop()
{
    for (const OpenElement &e : open_)
        if (e.Line >= 0 && !e.Inside)
            finds_.StartsOnly.push_back(e.Line);
    if ((mode_ == mComment || mode_ == mCData) && spanStart_ >= firstLine_ && !spanInside_)
        finds_.StartsOnly.push_back(spanStart_);
    if (doctypeStart_ >= firstLine_)
        finds_.StartsOnly.push_back(doctypeStart_);
}

void FoldScanner::Finish()
{
    const int last = line_ - 1;
    if (mode_ == mComment || mode_ == mCData)
        CloseSpan(spanStart_, spanInside_, last);
    if (doctypeStart_ >= 0)
        CloseSpan(doctypeStart_, false, last);
    for (size_t k = open_.size(); k-- > 0;)
        CloseElement(open_[k], last);
    open_.clear();
    mode_ = mContent;
    doctypeStart_ = -1;
}

void FoldScanner::CloseElement(const OpenElement &element, int line)
{
    if (element.Inside)
        return;
    if (element.Line < 0)
        finds_.EndsOnly.push_back(line);
    else if (element.Line < line)
        finds_.Regions.push_back({element.Line, line});
}

void FoldScanner::CloseSpan(int32_t start, bool inside, int line)
{
    if (inside || start < 0)
        return;
    if (start < firstLine_)
        finds_.EndsOnly.push_back(line);
    else if (start < line)
        finds_.Regions.push_back({start, line});
}

void FoldScanner::OpenSpan(uint8_t mode, bool inside)
{
    mode_ = mode;
    spanStart_ = line_;
    spanInside_ = inside;
}

void FoldScanner::Push(int32_t name, int32_t line)
{
    const bool inside = !open_.empty() && open_.back().Line == line;
    open_.push_back({name, line, inside, -1});
}

bool FoldScanner::SkipPast(std::string_view text, size_t &i, std::string_view closer)
{
    const size_t at = text.find(closer, i);
    if (at == std::string_view::npos) {
        i = text.size();
        return false;
    }
    i = at + closer.size();
    return true;
}

void FoldScanner::ScanLine(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        switch (mode_) {
        case mContent:
            Content(text, i);
            break;
        case mStartTag:
            StartTag(text, i);
            break;
        case mEndTag:
            EndTag(text, i);
            break;
        case mComment:
            if (SkipPast(text, i, "-->")) {
                CloseSpan(spanStart_, spanInside_, line_);
                mode_ = inSubset_ ? mSubset : mContent;
            }
            break;
        case mCData:
            if (SkipPast(text, i, "]]>")) {
                CloseSpan(spanStart_, spanInside_, line_);
                mode_ = mContent;
            }
            break;
        case mInstruction:
            if (SkipPast(text, i, "?>"))
                mode_ = inSubset_ ? mSubset : mContent;
            break;
        case mSubset:
            Subset(text, i);
            break;
        default:
            Markup(text, i);
            break;
        }
    }
    ++line_;
}

void FoldScanner::Content(std::string_view text, size_t &i)
{
    const void *lt = std::memchr(text.data() + i, '<', text.size() - i);
    if (!lt) {
        i = text.size();
        return;
    }
    i = static_cast<size_t>(static_cast<const char *>(lt) - text.data()) + 1;
    if (i >= text.size())
        return;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '/') {
        ++i;
        const std::string_view name = ReadName(text, i);
        if (name.empty())
            return;
        const int32_t id = Intern(name);
        for (size_t k = open_.size(); k-- > 0;) {
            if (open_[k].Name != id)
                continue;
            for (size_t j = open_.size(); j-- > k;)
                CloseElement(open_[j], line_);
            open_.resize(k);
            break;
        }
        mode_ = mEndTag;
    } else if (c == '!') {
        const bool inside = !open_.empty() && open_.back().Line == line_;
        if (At(text, i, "!--")) {
            i += 3;
            OpenSpan(mComment, inside);
        } else if (At(text, i, "![CDATA[")) {
            i += 8;
            OpenSpan(mCData, inside);
        } else if (At(text, i, "!DOCTYPE")) {
            i += 8;
            doctypeStart_ = line_;
            mode_ = mDoctype;
        } else {
            ++i;
            mode_ = mDeclaration;
        }
    } else if (c == '?') {
        ++i;
        mode_ = mInstruction;
    } else if (IsNameStart(c)) {
        pendingName_ = Intern(ReadName(text, i));
        spanStart_ = line_;
        mode_ = mStartTag;
    }
}

void FoldScanner::StartTag(std::string_view text, size_t &i)
{
    while (i < text.size()) {
        const char c = text[i];
        if (quote_) {
            // A value cannot hold "<": one that meets it was left open.
            const size_t end = text.find_first_of(quote_ == '"' ? "\"<" : "'<", i);
            if (end == std::string_view::npos) {
                i = text.size();
                return;
            }
            quote_ = 0;
            if (text[end] == '<') {
                mode_ = mContent;
                i = end;
                return;
            }
            i = end + 1;
        } else if (c == '"' || c == '\'') {
            quote_ = c;
            ++i;
        } else if (c == '>') {
            ++i;
            Push(pendingName_, spanStart_);
            mode_ = mContent;
            return;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '>') {
            i += 2;
            mode_ = mContent;
            return;
        } else if (c == '<') {
            // A tag left unfinished: the "<" starts what comes next.
            mode_ = mContent;
            return;
        } else {
            ++i;
        }
    }
}

void FoldScanner::EndTag(std::string_view text, size_t &i)
{
    const size_t end = text.find_first_of("><", i);
    if (end == std::string_view::npos) {
        i = text.size();
        return;
    }
    mode_ = mContent;
    i = text[end] == '>' ? end + 1 : end;
}

void FoldScanner::Markup(std::string_view text, size_t &i)
{
    while (i < text.size()) {
        const char c = text[i];
        if (quote_) {
            const void *q = std::memchr(text.data() + i, quote_, text.size() - i);
            if (!q) {
                i = text.size();
                return;
            }
            quote_ = 0;
            i = static_cast<size_t>(static_cast<const char *>(q) - text.data()) + 1;
            continue;
        }
        ++i;
        if (c == '"' || c == '\'') {
            quote_ = c;
        } else if (c == '[' && mode_ == mDoctype) {
            mode_ = mSubset;
            inSubset_ = true;
            return;
        } else if (c == '>') {
            if (mode_ == mSubsetDecl) {
                mode_ = mSubset;
            } else {
                if (mode_ == mDoctype || mode_ == mAfterSubset) {
                    CloseSpan(doctypeStart_, false, line_);
                    doctypeStart_ = -1;
                }
                mode_ = mContent;
            }
            return;
        }
    }
}

void FoldScanner::Subset(std::string_view text, size_t &i)
{
    while (i < text.size()) {
        const char c = text[i];
        if (c == ']') {
            ++i;
            mode_ = mAfterSubset;
            inSubset_ = false;
            return;
        }
        if (c == '<' && At(text, i, "<!--")) {
            i += 4;
            OpenSpan(mComment, doctypeStart_ == line_);
            return;
        }
        if (c == '<' && At(text, i, "<?")) {
            i += 2;
            mode_ = mInstruction;
            return;
        }
        if (c == '<' && At(text, i, "<!")) {
            i += 2;
            mode_ = mSubsetDecl;
            return;
        }
        ++i;
    }
}

} // namespace tarnwick::xml
