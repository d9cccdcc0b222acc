// Oracles for Format's tests, built on libxml2 alone: a document's canonical
// form with its whitespace-only text removed, the layout of libxml2's own
// indenting serialiser (what "xmllint --format" runs), and the content of
// the elements Format has to keep as written.
#pragma once

#include <libxml/c14n.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::xml::testing {

using DocPtr = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

// Parses UTF-8 text (its declared encoding not read), entities substituted
// when asked; relative references are taken against `url`.
inline DocPtr ParseText(const std::string &text, int options = 0, const char *url = "text.xml")
{
    return DocPtr(
        xmlReadMemory(text.data(), static_cast<int>(text.size()), url, "UTF-8",
                      options | XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
}

// Parses a file's bytes, decoded as its declaration says. (The layer's entity
// loader, installed for the process, reads no file on libxml2's own behalf.)
inline DocPtr ParseFile(const std::string &path, int options = 0)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return DocPtr(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), path.c_str(), nullptr,
                                options | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                  xmlFreeDoc);
}

inline bool IsBlankText(xmlNodePtr node)
{
    if (node->type != XML_TEXT_NODE)
        return false;
    for (const xmlChar *c = node->content; c && *c; ++c)
        if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r')
            return false;
    return true;
}

inline void RemoveBlankText(xmlNodePtr parent)
{
    for (xmlNodePtr child = parent->children, next; child; child = next) {
        next = child->next;
        if (IsBlankText(child)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            RemoveBlankText(child);
        }
    }
}

// Canonical XML (with comments) of a document parsed with entities
// substituted, after its whitespace-only text nodes are removed; empty when
// it cannot be made.
inline std::string CanonicalWithoutBlankText(xmlDocPtr doc)
{
    if (doc == nullptr)
        return "";
    RemoveBlankText(reinterpret_cast<xmlNodePtr>(doc));
    xmlChar *out = nullptr;
    int length = xmlC14NDocDumpMemory(doc, nullptr, XML_C14N_1_0, nullptr, 1, &out);
    std::string result = length >= 0 ? std::string(reinterpret_cast<char *>(out), static_cast<size_t>(length)) : "";
    xmlFree(out);
    return result;
}

// What "xmllint --format" writes for UTF-8 text, without the declaration:
// whitespace judged ignorable is dropped at the parse, then libxml2's own
// indenting serialiser writes the tree.
inline std::string XmllintFormat(const std::string &text)
{
    DocPtr doc = ParseText(text, XML_PARSE_NOBLANKS);
    if (!doc)
        return "";
    // Otherwise non-ASCII attribute values come out as character references.
    if (doc->encoding == nullptr)
        doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, "UTF-8", XML_SAVE_FORMAT | XML_SAVE_NO_DECL);
    xmlSaveDoc(save, doc.get());
    xmlSaveClose(save);
    std::string result(reinterpret_cast<const char *>(xmlBufferContent(buffer)),
                       static_cast<size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    return result;
}

// The text after the first line when that is a declaration.
inline std::string WithoutDeclaration(const std::string &text)
{
    return text.rfind("<?xml ", 0) == 0 ? text.substr(text.find('\n') + 1) : text;
}

inline bool HoldsCharacterData(xmlNodePtr element)
{
    for (xmlNodePtr child = element->children; child; child = child->next)
        if (child->type == XML_CDATA_SECTION_NODE || child->type == XML_ENTITY_REF_NODE ||
            (child->type == XML_TEXT_NODE && !IsBlankText(child)))
            return true;
    return false;
}

inline bool HoldsOnlyBlankText(xmlNodePtr element)
{
    for (xmlNodePtr child = element->children; child; child = child->next)
        if (!IsBlankText(child))
            return false;
    return element->children != nullptr;
}

// xml:space of an element: true for "preserve", false for "default", else
// what holds around it.
inline bool SpacePreserved(xmlNodePtr element, bool inherited)
{
    xmlChar *value = xmlGetNsProp(element, BAD_CAST "space", XML_XML_NAMESPACE);
    if (value == nullptr)
        return inherited;
    bool result = xmlStrEqual(value, BAD_CAST "preserve")  ? true
                  : xmlStrEqual(value, BAD_CAST "default") ? false
                                                           : inherited;
    xmlFree(value);
    return result;
}

// The children of an element as libxml2 writes them, unindented.
inline std::string InnerText(xmlDocPtr doc, xmlNodePtr element)
{
    xmlBufferPtr buffer = xmlBufferCreate();
    for (xmlNodePtr child = element->children; child; child = child->next)
        xmlNodeDump(buffer, doc, child, 0, 0);
    std::string result(reinterpret_cast<const char *>(xmlBufferContent(buffer)),
                       static_cast<size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    return result;
}

// The same, each child element standing as its name only: its own content
// is another element's to compare.
inline std::string OwnText(xmlDocPtr doc, xmlNodePtr element)
{
    std::string result;
    for (xmlNodePtr child = element->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) {
            xmlBufferPtr buffer = xmlBufferCreate();
            xmlNodeDump(buffer, doc, child, 0, 0);
            result.append(reinterpret_cast<const char *>(xmlBufferContent(buffer)),
                          static_cast<size_t>(xmlBufferLength(buffer)));
            xmlBufferFree(buffer);
        } else {
            result += "<" + std::string(reinterpret_cast<const char *>(child->name)) + ">";
        }
    }
    return result;
}

inline void CollectKeptContent(xmlDocPtr doc, xmlNodePtr parent, bool insideMixed, bool preserve,
                               std::vector<std::string> &kept)
{
    for (xmlNodePtr element = parent->children; element; element = element->next) {
        if (element->type != XML_ELEMENT_NODE)
            continue;
        const bool space = SpacePreserved(element, preserve);
        const bool mixed = insideMixed || HoldsCharacterData(element);
        if (mixed)
            kept.push_back(InnerText(doc, element));
        else if (space || HoldsOnlyBlankText(element))
            kept.push_back(OwnText(doc, element));
        else
            kept.push_back("");
        CollectKeptContent(doc, element, mixed, space, kept);
    }
}

// The content Format must keep as written, element by element in document
// order (empty for elements it may lay out): all that is inside an element
// holding character data; the own content of an element holding only
// whitespace or inside xml:space="preserve" (a descendant may set it back to
// "default"). The document is to be parsed with whitespace kept and entities
// as references.
inline std::vector<std::string> ContentKeptAsWritten(xmlDocPtr doc)
{
    std::vector<std::string> kept;
    if (doc)
        CollectKeptContent(doc, reinterpret_cast<xmlNodePtr>(doc), false, false, kept);
    return kept;
}

} // namespace tarnwick::xml::testing
