#include "xml/node_description.h"

namespace tarnwick::xml::libxml2 {

namespace {

const char *C(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

// In a node-set a namespace node is a copy of the declaration whose `next`
// is the element it belongs to.
xmlNodePtr NamespaceOwner(xmlNodePtr node)
{
    return reinterpret_cast<xmlNodePtr>(reinterpret_cast<xmlNsPtr>(node)->next);
}

xmlNodePtr ParentOf(xmlNodePtr node) { return node->type == XML_NAMESPACE_DECL ? NamespaceOwner(node) : node->parent; }

bool IsText(xmlNodePtr node) { return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE; }

// Siblings a step counts among: elements of the same name and namespace,
// text (CDATA sections are text to XPath), comments, processing
// instructions of the same target.
bool Namesakes(xmlNodePtr a, xmlNodePtr b)
{
    if (IsText(a))
        return IsText(b);
    if (a->type != b->type)
        return false;
    switch (a->type) {
    case XML_ELEMENT_NODE: {
        const xmlChar *na = a->ns ? a->ns->href : nullptr;
        const xmlChar *nb = b->ns ? b->ns->href : nullptr;
        return xmlStrEqual(a->name, b->name) && xmlStrEqual(na, nb);
    }
    case XML_PI_NODE:
        return xmlStrEqual(a->name, b->name);
    default:
        return true;
    }
}

std::string QName(xmlNodePtr node)
{
    if (node->ns && node->ns->prefix)
        return std::string(C(node->ns->prefix)) + ":" + C(node->name);
    return C(node->name);
}

size_t Utf8Lead(unsigned char c) { return (c & 0xC0) != 0x80; }

// Gathers text on one line up to a number of characters.
class BoundedText {
public:
    explicit BoundedText(size_t length) : left_(length) {}

    // False once the text is full.
    bool Add(const char *s)
    {
        for (; s && *s; ++s) {
            const unsigned char c = static_cast<unsigned char>(*s);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                space_ = !out_.empty();
                continue;
            }
            if (Utf8Lead(c)) {
                if (left_ == 0) {
                    full_ = true;
                    return false;
                }
                if (space_) {
                    out_ += ' ';
                    space_ = false;
                    if (--left_ == 0) {
                        full_ = true;
                        return false;
                    }
                }
                --left_;
            }
            out_ += static_cast<char>(c);
        }
        return true;
    }

    std::string Take() { return full_ ? out_ + "..." : out_; }

private:
    std::string out_;
    size_t left_;
    bool space_ = false;
    bool full_ = false;
};

// The text of every text node under `top`, in document order; an entity
// reference stands as written, since its content is not in the tree.
void AddDescendantText(xmlNodePtr top, BoundedText &text)
{
    xmlNodePtr node = top->children;
    while (node != nullptr) {
        if (IsText(node)) {
            if (!text.Add(C(node->content)))
                return;
        } else if (node->type == XML_ENTITY_REF_NODE) {
            if (!text.Add(("&" + std::string(C(node->name)) + ";").c_str()))
                return;
        } else if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
            node = node->children;
            continue;
        }
        while (node != top && node->next == nullptr)
            node = node->parent;
        node = node == top ? nullptr : node->next;
    }
}

} // namespace

std::string NodePaths::Of(xmlNodePtr node)
{
    if (node == nullptr || node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE)
        return "/";
    if (auto found = paths_.find(node); found != paths_.end())
        return found->second;
    xmlNodePtr parent = ParentOf(node);
    std::string path = parent == nullptr || parent->type == XML_DOCUMENT_NODE ? "" : Of(parent);
    path += "/" + Step(node);
    // Only elements are ancestors of other nodes; only their paths come back.
    if (node->type == XML_ELEMENT_NODE)
        paths_.emplace(node, path);
    return path;
}

std::string NodePaths::Step(xmlNodePtr node)
{
    std::string step;
    switch (node->type) {
    case XML_ATTRIBUTE_NODE:
        return "@" + QName(node);
    case XML_NAMESPACE_DECL: {
        const xmlNsPtr ns = reinterpret_cast<xmlNsPtr>(node);
        return "namespace::" + std::string(C(ns->prefix));
    }
    case XML_ELEMENT_NODE:
        step = QName(node);
        break;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        step = "text()";
        break;
    case XML_COMMENT_NODE:
        step = "comment()";
        break;
    case XML_PI_NODE:
        step = "processing-instruction('" + std::string(C(node->name)) + "')";
        break;
    default:
        step = "node()";
        break;
    }
    const size_t position = Position(node);
    if (position > 1 || HasLaterNamesake(node))
        step += "[" + std::to_string(position) + "]";
    return step;
}

size_t NodePaths::Position(xmlNodePtr node)
{
    if (auto found = positions_.find(node); found != positions_.end())
        return found->second;
    size_t position = 1;
    for (xmlNodePtr before = node->prev; before != nullptr; before = before->prev) {
        if (!Namesakes(node, before))
            continue;
        if (auto found = positions_.find(before); found != positions_.end()) {
            position += found->second;
            break;
        }
        ++position;
    }
    positions_.emplace(node, position);
    return position;
}

bool NodePaths::HasLaterNamesake(xmlNodePtr node) const
{
    for (xmlNodePtr after = node->next; after != nullptr; after = after->next)
        if (Namesakes(node, after))
            return true;
    return false;
}

int NodeLine(xmlNodePtr node)
{
    if (node == nullptr)
        return 0;
    if (node->type == XML_NAMESPACE_DECL)
        node = NamespaceOwner(node);
    else if (node->type == XML_ATTRIBUTE_NODE)
        node = node->parent;
    if (node == nullptr || node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE)
        return 0;
    const long line = xmlGetLineNo(node);
    return line > 0 ? static_cast<int>(line) : 0;
}

std::string NodeText(xmlNodePtr node, size_t length)
{
    BoundedText text(length);
    if (node == nullptr)
        return "";
    switch (node->type) {
    case XML_NAMESPACE_DECL:
        text.Add(C(reinterpret_cast<xmlNsPtr>(node)->href));
        break;
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        AddDescendantText(node, text);
        break;
    default:
        text.Add(C(node->content));
        break;
    }
    return text.Take();
}

} // namespace tarnwick::xml::libxml2
