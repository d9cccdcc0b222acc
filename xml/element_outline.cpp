#include "xml/element_outline.h"

#include <algorithm>

namespace tarnwick::xml {

namespace {

constexpr size_t kMaxLabelBytes = 200;

} // namespace

std::string_view ElementOutline::Label(int element) const
{
    const int32_t at = elements_[element].label;
    if (at < 0)
        return {};
    return std::string_view(labels_.c_str() + at);
}

const std::vector<int32_t> &ElementOutline::Children(int element) const
{
    auto found = children_.find(element);
    if (found != children_.end())
        return found->second;
    std::vector<int32_t> &children = children_[element];
    const int end = element < 0 ? Count() : elements_[element].end;
    for (int child = element + 1; child < end; child = elements_[child].end)
        children.push_back(child);
    return children;
}

int ElementOutline::ChildCount(int element) const
{
    if (element >= 0 && elements_[element].end == element + 1)
        return 0;
    return static_cast<int>(Children(element).size());
}

int ElementOutline::Child(int element, int row) const
{
    const std::vector<int32_t> &children = Children(element);
    return row >= 0 && row < static_cast<int>(children.size()) ? children[row] : -1;
}

int ElementOutline::ElementAt(OutlinePlace place) const
{
    // The last element starting at or before the place, then out through its
    // ancestors to the first that has not ended before it.
    auto after = std::upper_bound(elements_.begin(), elements_.end(), place,
                                  [](const OutlinePlace &p, const OutlineElement &e) { return p < e.start; });
    int element = static_cast<int>(after - elements_.begin()) - 1;
    while (element >= 0 && elements_[element].stop <= place)
        element = elements_[element].parent;
    return element;
}

std::string ElementOutline::PathOf(int element) const
{
    std::vector<int> chain;
    for (int e = element; e >= 0; e = elements_[e].parent)
        chain.push_back(e);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += '/';
        path += Name(*it);
        if (elements_[*it].namesakes)
            path += "[" + std::to_string(elements_[*it].index) + "]";
    }
    return path;
}

OutlineBuilder::OutlineBuilder() : scanner_(this), outline_(std::make_shared<ElementOutline>()), levels_(1) {}

void OutlineBuilder::Text(std::string_view text)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            held_.append(text);
            if (held_.size() > kPartBytes) {
                // Up to the last "<": a line break there is a break between
                // two pieces of text, which the scanner reads alike.
                const size_t cut = held_.rfind('<');
                const size_t part = cut == std::string::npos || cut == 0 ? held_.size() : cut;
                Scan(std::string_view(held_).substr(0, part));
                offset_ += part;
                held_.erase(0, part);
            }
            return;
        }
        if (held_.empty()) {
            Scan(text.substr(0, end));
        } else {
            held_.append(text.substr(0, end));
            Scan(held_);
            held_.clear();
        }
        text.remove_prefix(end + 1);
        ++line_;
        offset_ = 0;
    }
}

void OutlineBuilder::Scan(std::string_view part) { scanner_.Scan(part, line_); }

// The scanner counts bytes from the start of the part it was given; a tag
// begun on an earlier line was begun in a whole line, or in a part of a long
// one whose start is not kept.
OutlinePlace OutlineBuilder::Place(int line, size_t byte) const
{
    return {line, static_cast<int32_t>(line == line_ ? offset_ + byte : byte)};
}

std::shared_ptr<ElementOutline> OutlineBuilder::Finish()
{
    if (!held_.empty()) {
        Scan(held_);
        offset_ += held_.size();
        held_.clear();
    }
    // What is still open ends where the text ends.
    std::vector<OutlineElement> &elements = outline_->elements_;
    const int32_t count = static_cast<int32_t>(elements.size());
    for (size_t level = levels_.size() - 1; level > 0; --level) {
        const int32_t open = levels_[level].element;
        if (open >= 0) {
            elements[open].end = count;
            elements[open].stop = {line_, static_cast<int32_t>(offset_)};
        }
    }
    levels_.resize(1);
    // The tree is kept as long as the text goes unchanged: no room to spare.
    elements.shrink_to_fit();
    outline_->labels_.shrink_to_fit();
    return std::move(outline_);
}

int32_t OutlineBuilder::Intern(std::string_view name)
{
    auto found = nameIds_.find(std::string(name));
    if (found != nameIds_.end())
        return found->second;
    const auto id = static_cast<int32_t>(outline_->names_.size());
    outline_->names_.emplace_back(name);
    nameIds_.emplace(std::string(name), id);
    return id;
}

void OutlineBuilder::Attribute(std::string_view, int, std::string_view name, std::string_view value)
{
    const OutlinePlace tag = Place(scanner_.TagLine(), scanner_.TagByte());
    if (tag != pendingAt_) {
        pendingAt_ = tag;
        pendingLabel_.clear();
        pendingIsId_ = false;
    }
    const bool id = name == "id" || name == "xml:id";
    if (id || (name == "name" && !pendingIsId_)) {
        pendingLabel_.assign(value.substr(0, kMaxLabelBytes));
        pendingIsId_ = id;
    }
}

void OutlineBuilder::StartTag(std::string_view name, int depth, int line, size_t byte)
{
    std::vector<OutlineElement> &elements = outline_->elements_;
    const auto index = static_cast<int32_t>(elements.size());
    if (static_cast<int>(levels_.size()) <= depth)
        levels_.resize(depth + 1); // the scanner went deeper than was told
    Level &parent = levels_[depth];
    OutlineElement element;
    element.parent = parent.element;
    element.name = Intern(name);
    element.row = parent.rows++;
    element.start = Place(line, byte);
    element.end = index + 1;
    element.stop = element.start;
    auto &[count, first] = parent.names[element.name];
    element.index = ++count;
    if (count == 1) {
        first = index;
    } else {
        element.namesakes = true;
        elements[first].namesakes = true;
    }
    if (!pendingLabel_.empty() && pendingAt_ == element.start) {
        element.label = static_cast<int32_t>(outline_->labels_.size());
        outline_->labels_.append(pendingLabel_);
        outline_->labels_.push_back('\0');
        element.labelIsName = !pendingIsId_;
    }
    pendingLabel_.clear();
    pendingIsId_ = false;
    elements.push_back(element);
    levels_.resize(depth + 2);
    levels_[depth + 1] = Level{index, 0, {}};
}

void OutlineBuilder::ElementClosed(int depth)
{
    if (depth + 1 >= static_cast<int>(levels_.size()))
        return;
    std::vector<OutlineElement> &elements = outline_->elements_;
    const int32_t closed = levels_[depth + 1].element;
    if (closed >= 0) {
        elements[closed].end = static_cast<int32_t>(elements.size());
        elements[closed].stop = Place(line_, scanner_.TagEndByte());
    }
    levels_.resize(depth + 1);
}

} // namespace tarnwick::xml
