// Text, comments, CDATA sections and processing instructions are skipped with
// a search for their end; tags are read a character at a time. Malformed
// markup ends where a new "<" begins, so a tag being typed never swallows the
// text after it.
#include "xml/markup_scanner.h"

#include <algorithm>
#include <cstring>

namespace tarnwick::xml {

namespace {

// Values longer than this are cut: only short ones (schema locations, the
// value being typed) are ever read back.
constexpr size_t kMaxValueKept = 64 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Every byte of a multi-byte character counts as a name character.
struct NameTable {
    bool start[256] = {};
    bool part[256] = {};
    constexpr NameTable()
    {
        for (int c = 0; c < 256; ++c) {
            start[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
            part[c] = start[c] || (c >= '0' && c <= '9') || c == '.' || c == '-';
        }
    }
};
constexpr NameTable kNames;

bool IsNameStart(char c) { return kNames.start[static_cast<unsigned char>(c)]; }
bool IsNameChar(char c) { return kNames.part[static_cast<unsigned char>(c)]; }

// The end of the run of name characters from `i`.
size_t NameEnd(std::string_view text, size_t i)
{
    while (i < text.size() && IsNameChar(text[i]))
        ++i;
    return i;
}

} // namespace

MarkupScanner::MarkupScanner(const MarkupScanner &other) { *this = other; }

MarkupScanner &MarkupScanner::operator=(const MarkupScanner &other)
{
    if (this == &other)
        return *this;
    observer_ = other.observer_;
    state_ = other.state_;
    quote_ = other.quote_;
    started_ = other.started_;
    line_ = other.line_;
    tagLine_ = other.tagLine_;
    tagByte_ = other.tagByte_;
    tagName_ = other.tagName_;
    attributeName_ = other.attributeName_;
    attributeValue_ = other.attributeValue_;
    tagAttributes_ = other.tagAttributes_;
    levels_.assign(other.levels_.begin(), other.levels_.begin() + other.depth_ + 1);
    depth_ = other.depth_;
    rootName_ = other.rootName_;
    rootAttributes_ = other.rootAttributes_;
    doctype_ = other.doctype_;
    subsetDepth_ = other.subsetDepth_;
    inSubsetComment_ = other.inSubsetComment_;
    return *this;
}

std::vector<std::string> MarkupScanner::OpenElements() const
{
    std::vector<std::string> names;
    for (int d = 1; d <= depth_; ++d)
        names.push_back(levels_[d].name);
    return names;
}

std::vector<std::string> MarkupScanner::RecentChildren() const
{
    const Level &level = levels_[depth_];
    if (level.seen <= level.recent.size())
        return level.recent;
    std::vector<std::string> ordered;
    const size_t first = level.seen % level.recent.size();
    for (size_t k = 0; k < level.recent.size(); ++k)
        ordered.push_back(level.recent[(first + k) % level.recent.size()]);
    return ordered;
}

void MarkupScanner::Scan(std::string_view text, int line)
{
    if (started_)
        LineBreak();
    started_ = true;
    line_ = line;
    size_t i = 0;
    while (i < text.size()) {
        switch (state_) {
        case State::Text:
            i = StepText(text, i);
            break;
        case State::Open:
            i = StepOpen(text, i);
            break;
        case State::Bang:
            i = StepBang(text, i);
            break;
        case State::Comment:
            i = SkipTo(text, i, "-->");
            break;
        case State::CData:
            i = SkipTo(text, i, "]]>");
            break;
        case State::Instruction:
            i = SkipTo(text, i, "?>");
            break;
        case State::Declaration:
            i = SkipTo(text, i, ">");
            break;
        case State::DocumentType:
            i = StepDocumentType(text, i);
            break;
        default:
            i = StepTag(text, i);
            break;
        }
    }
}

// A line break is white space: it ends a name, and a "<" alone before it was
// no markup.
void MarkupScanner::LineBreak()
{
    switch (state_) {
    case State::Open:
        state_ = State::Text;
        break;
    case State::Bang:
        state_ = State::Declaration;
        break;
    case State::StartName:
    case State::TagSlash:
        state_ = State::TagSpace;
        break;
    case State::EndName:
        state_ = State::EndRest;
        break;
    case State::AttributeName:
        EndAttributeName();
        state_ = State::AfterName;
        break;
    case State::AttributeValue:
        if (attributeValue_.size() < kMaxValueKept)
            attributeValue_ += ' ';
        break;
    case State::DocumentType:
        doctype_ += '\n';
        break;
    default:
        break;
    }
}

size_t MarkupScanner::StepText(std::string_view text, size_t i)
{
    const void *found = std::memchr(text.data() + i, '<', text.size() - i);
    if (!found)
        return text.size();
    const size_t at = static_cast<const char *>(found) - text.data();
    tagLine_ = line_;
    tagByte_ = at;
    state_ = State::Open;
    return at + 1;
}

size_t MarkupScanner::StepOpen(std::string_view text, size_t i)
{
    const char c = text[i];
    if (c == '/') {
        tagName_.clear();
        state_ = State::EndName;
        return i + 1;
    }
    if (c == '!') {
        state_ = State::Bang;
        return i + 1;
    }
    if (c == '?') {
        state_ = State::Instruction;
        return i + 1;
    }
    if (IsNameStart(c)) {
        tagName_.assign(1, c);
        tagAttributes_.clear();
        if (depth_ == 0 && rootName_.empty())
            rootAttributes_.clear();
        state_ = State::StartName;
        return i + 1;
    }
    state_ = State::Text; // a stray "<"; the text step reads c again
    return i;
}

size_t MarkupScanner::StepBang(std::string_view text, size_t i)
{
    const std::string_view rest = text.substr(i);
    struct Opener {
        std::string_view text;
        State state;
    };
    for (const Opener &opener :
         {Opener{"--", State::Comment}, Opener{"[CDATA[", State::CData}, Opener{"DOCTYPE", State::DocumentType}}) {
        if (rest.starts_with(opener.text)) {
            state_ = opener.state;
            if (state_ == State::DocumentType) {
                doctype_ = "<!DOCTYPE";
                subsetDepth_ = 0;
                quote_ = 0;
                inSubsetComment_ = false;
            }
            return i + opener.text.size();
        }
        if (opener.text.starts_with(rest))
            return text.size(); // cut short: not yet known what it opens
    }
    state_ = State::Declaration;
    return i;
}

size_t MarkupScanner::SkipTo(std::string_view text, size_t i, std::string_view terminator)
{
    const size_t found = text.find(terminator, i);
    if (found == std::string_view::npos)
        return text.size();
    state_ = State::Text;
    return found + terminator.size();
}

// Quoted literals, the internal subset's brackets and comments inside it are
// stepped over; the ">" that ends the declaration stands outside all three.
size_t MarkupScanner::StepDocumentType(std::string_view text, size_t i)
{
    for (; i < text.size(); ++i) {
        const char c = text[i];
        doctype_ += c;
        if (inSubsetComment_) {
            if (c == '>' && doctype_.ends_with("-->"))
                inSubsetComment_ = false;
        } else if (quote_) {
            if (c == quote_)
                quote_ = 0;
        } else if (c == '"' || c == '\'') {
            quote_ = c;
        } else if (c == '[') {
            ++subsetDepth_;
        } else if (c == ']') {
            subsetDepth_ = std::max(0, subsetDepth_ - 1);
        } else if (c == '>' && subsetDepth_ == 0) {
            state_ = State::Text;
            return i + 1;
        } else if (c == '-' && subsetDepth_ > 0 && doctype_.ends_with("<!--")) {
            inSubsetComment_ = true;
        }
    }
    return i;
}

size_t MarkupScanner::StepTag(std::string_view text, size_t i)
{
    while (i < text.size()) {
        const char c = text[i];
        if (c == '<' && state_ != State::AttributeValue) {
            // The tag was never finished; what follows is new markup.
            state_ = State::Text;
            return i;
        }
        switch (state_) {
        case State::StartName:
        case State::EndName: {
            const size_t end = NameEnd(text, i);
            tagName_.append(text.substr(i, end - i));
            i = end;
            if (i < text.size())
                state_ = state_ == State::StartName ? State::TagSpace : State::EndRest;
            break;
        }
        case State::EndRest:
            ++i;
            if (c == '>') {
                tagEnd_ = i;
                EndTagDone();
                state_ = State::Text;
                return i;
            }
            break;
        case State::TagSpace:
            ++i;
            if (c == '>') {
                tagEnd_ = i;
                StartTagDone(false);
                state_ = State::Text;
                return i;
            }
            if (c == '/') {
                state_ = State::TagSlash;
            } else if (IsNameStart(c)) {
                attributeName_.assign(1, c);
                state_ = State::AttributeName;
            }
            break;
        case State::TagSlash:
            if (c == '>') {
                tagEnd_ = i + 1;
                StartTagDone(true);
                state_ = State::Text;
                return i + 1;
            }
            state_ = State::TagSpace;
            break;
        case State::AttributeName: {
            const size_t end = NameEnd(text, i);
            attributeName_.append(text.substr(i, end - i));
            i = end;
            if (i < text.size()) {
                EndAttributeName();
                state_ = State::AfterName;
            }
            break;
        }
        case State::AfterName:
        case State::AfterEquals:
            if (IsBlank(c)) {
                ++i;
            } else if (c == '=' && state_ == State::AfterName) {
                state_ = State::AfterEquals;
                ++i;
            } else if ((c == '"' || c == '\'') && state_ == State::AfterEquals) {
                quote_ = c;
                attributeValue_.clear();
                state_ = State::AttributeValue;
                ++i;
            } else {
                state_ = State::TagSpace;
            }
            break;
        case State::AttributeValue: {
            const size_t end = text.find(quote_, i);
            const size_t stop = end == std::string_view::npos ? text.size() : end;
            if (attributeValue_.size() < kMaxValueKept)
                attributeValue_.append(text.substr(i, std::min(stop - i, kMaxValueKept - attributeValue_.size())));
            if (end == std::string_view::npos)
                return text.size();
            if (depth_ == 0 && rootName_.empty())
                rootAttributes_.emplace_back(attributeName_, attributeValue_);
            if (observer_)
                observer_->Attribute(tagName_, depth_, attributeName_, attributeValue_);
            state_ = State::TagSpace;
            i = end + 1;
            break;
        }
        default:
            return i;
        }
    }
    return i;
}

void MarkupScanner::EndAttributeName() { tagAttributes_.push_back(attributeName_); }

void MarkupScanner::StartTagDone(bool empty)
{
    Level &parent = levels_[depth_];
    if (parent.recent.size() < kMaxRecentChildren)
        parent.recent.push_back(tagName_);
    else
        parent.recent[parent.seen % kMaxRecentChildren].assign(tagName_);
    ++parent.seen;
    if (depth_ == 0 && rootName_.empty())
        rootName_ = tagName_;
    if (observer_)
        observer_->StartTag(tagName_, depth_, tagLine_, tagByte_);
    if (empty || depth_ >= kMaxDepth) {
        if (observer_)
            observer_->ElementClosed(depth_);
        return;
    }
    ++depth_;
    if (static_cast<int>(levels_.size()) <= depth_)
        levels_.emplace_back();
    Level &level = levels_[depth_];
    level.name.assign(tagName_);
    level.recent.clear();
    level.seen = 0;
}

// An end tag closes the innermost open element of its name and every element
// opened inside that one; an end tag that matches none is ignored.
void MarkupScanner::EndTagDone()
{
    int match = depth_;
    while (match > 0 && match > depth_ - kMaxDepth && levels_[match].name != tagName_)
        --match;
    if (match == 0 || levels_[match].name != tagName_)
        return;
    while (depth_ >= match) {
        --depth_;
        if (observer_)
            observer_->ElementClosed(depth_);
    }
}

} // namespace tarnwick::xml
