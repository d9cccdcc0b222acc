// What libxml2 says each byte of a document is: inside a comment, text
// content (or CDATA content), inside markup (tags, instructions, the DOCTYPE),
// or none of these (whitespace around the root element, and delimiters).
#pragma once

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

enum class XmlPart : unsigned char { Other, Markup, Comment, Text };

// libxml2's SAX callbacks, with the parser's position after each, mark the
// bytes of a UTF-8 document with LF line breaks. Text content is what lies
// between markup inside the root element. Every span is checked against the
// document's own delimiters, so a misreading of the parser shows as an error
// instead of a weaker test.
class XmlParts {
public:
    // Empty when libxml2 rejects the document or a span does not check out;
    // `why` then says which.
    static std::optional<std::vector<XmlPart>> Of(const std::string &text, std::string &why)
    {
        XmlParts parts(text);
        xmlSAXHandler handler;
        xmlSAXVersion(&handler, 2);
        handler.startElementNs = StartElement;
        handler.endElementNs = EndElement;
        handler.comment = Comment;
        handler.cdataBlock = CData;
        handler.processingInstruction = Instruction;
        handler.internalSubset = InternalSubset;
        handler.externalSubset = ExternalSubset;
        handler.warning = nullptr;
        xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(text.data(), static_cast<int>(text.size()));
        std::memcpy(ctxt->sax, &handler, sizeof handler);
        ctxt->vctxt.error = nullptr;
        ctxt->vctxt.warning = nullptr;
        ctxt->_private = &parts;
        parts.main_ = ctxt;
        xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
        parts.Declaration();
        const bool wellFormed = xmlParseDocument(ctxt) == 0 && ctxt->wellFormed;
        xmlFreeDoc(ctxt->myDoc);
        xmlFreeParserCtxt(ctxt);
        why = !wellFormed ? "not well-formed" : parts.error_;
        if (!why.empty())
            return std::nullopt;
        return std::move(parts.parts_);
    }

private:
    explicit XmlParts(const std::string &text) : text_(text), parts_(text.size(), XmlPart::Other) {}

    // The collector of the main document's own events; entity contents are
    // parsed by other contexts and inputs, whose positions mean nothing here.
    static XmlParts *Main(void *ctx)
    {
        auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
        auto *parts = static_cast<XmlParts *>(ctxt->_private);
        return parts && parts->main_ == ctxt && ctxt->inputNr == 1 ? parts : nullptr;
    }
    size_t Position() const { return static_cast<size_t>(xmlByteConsumed(main_)); }

    void Fail(const std::string &what)
    {
        if (error_.empty())
            error_ = what + " at byte " + std::to_string(Position());
    }
    bool At(size_t at, const char *delimiter) const
    {
        return text_.compare(at, std::strlen(delimiter), delimiter) == 0;
    }
    // Marks bytes not marked yet, so constructs nested in the DOCTYPE keep theirs.
    void Mark(size_t from, size_t to, XmlPart part)
    {
        for (size_t i = from; i < to && i < parts_.size(); ++i)
            if (parts_[i] == XmlPart::Other)
                parts_[i] = part;
    }
    // A construct from `begin` to `end`: text content before it inside the
    // root element, then its own bytes.
    void Construct(size_t begin, size_t end, XmlPart interior, size_t open = 1, size_t close = 1)
    {
        if (begin < next_ || end > text_.size() || begin + open + close > end) {
            Fail("construct out of order");
            return;
        }
        if (depth_ > 0)
            Mark(next_, begin, XmlPart::Text);
        Mark(begin + open, end - close, interior);
        next_ = end;
    }
    size_t NextMarkup() const { return text_.find('<', next_); }

    void Declaration()
    {
        if (!At(0, "<?xml "))
            return;
        const size_t end = text_.find("?>");
        if (end != std::string::npos)
            Construct(0, end + 2, XmlPart::Markup);
    }

    static void StartElement(void *ctx, const xmlChar *name, const xmlChar *prefix, const xmlChar *uri,
                             int nbNamespaces, const xmlChar **namespaces, int nbAttributes, int nbDefaulted,
                             const xmlChar **attributes)
    {
        if (XmlParts *p = Main(ctx)) {
            // Called before the tag's ">" or "/>".
            size_t end = p->Position();
            while (end < p->text_.size() && std::strchr(" \t\n", p->text_[end]))
                ++end;
            end += p->At(end, "/>") ? 2 : p->At(end, ">") ? 1 : 0;
            const size_t begin = p->NextMarkup();
            if (begin == std::string::npos || p->text_[end - 1] != '>' || std::strchr("/!?", p->text_[begin + 1]))
                p->Fail("start tag");
            else
                p->Construct(begin, end, XmlPart::Markup);
            ++p->depth_;
        }
        xmlSAX2StartElementNs(ctx, name, prefix, uri, nbNamespaces, namespaces, nbAttributes, nbDefaulted, attributes);
    }

    static void EndElement(void *ctx, const xmlChar *name, const xmlChar *prefix, const xmlChar *uri)
    {
        if (XmlParts *p = Main(ctx)) {
            // After an empty element's "/>" nothing is left to mark.
            const size_t end = p->Position();
            if (end > p->next_) {
                const size_t begin = p->NextMarkup();
                if (begin == std::string::npos || !p->At(begin, "</"))
                    p->Fail("end tag");
                else
                    p->Construct(begin, end, XmlPart::Markup);
            }
            --p->depth_;
        }
        xmlSAX2EndElementNs(ctx, name, prefix, uri);
    }

    static void Comment(void *ctx, const xmlChar *value)
    {
        if (XmlParts *p = Main(ctx)) {
            const size_t end = p->Position();
            const size_t begin = end - 7 - std::strlen(reinterpret_cast<const char *>(value));
            if (end < 7 || !p->At(begin, "<!--") || !p->At(end - 3, "-->"))
                p->Fail("comment");
            else
                p->Construct(begin, end, XmlPart::Comment, 0, 0);
        }
        xmlSAX2Comment(ctx, value);
    }

    static void CData(void *ctx, const xmlChar *value, int len)
    {
        if (XmlParts *p = Main(ctx)) {
            const size_t end = p->Position();
            const size_t begin = end - 12 - static_cast<size_t>(len);
            if (end < 12 || !p->At(begin, "<![CDATA[") || !p->At(end - 3, "]]>")) {
                p->Fail("CDATA section");
            } else {
                p->Construct(begin, end, XmlPart::Text, 9, 3);
                p->Mark(begin + 1, begin + 9, XmlPart::Markup);
                p->Mark(end - 3, end - 1, XmlPart::Markup);
            }
        }
        xmlSAX2CDataBlock(ctx, value, len);
    }

    // "<?" target, blanks, data, "?>": counted back from the end.
    static void Instruction(void *ctx, const xmlChar *target, const xmlChar *data)
    {
        if (XmlParts *p = Main(ctx)) {
            const size_t end = p->Position();
            size_t at = end - 2 - (data ? std::strlen(reinterpret_cast<const char *>(data)) : 0);
            while (at > 0 && std::strchr(" \t\n", p->text_[at - 1]))
                --at;
            const std::string open = "<?" + std::string(reinterpret_cast<const char *>(target));
            const size_t begin = at - open.size();
            if (at < open.size() || !p->At(begin, open.c_str()) || !p->At(end - 2, "?>"))
                p->Fail("processing instruction");
            else
                p->Construct(begin, end, XmlPart::Markup);
        }
        xmlSAX2ProcessingInstruction(ctx, target, data);
    }

    // Called after the DOCTYPE's name and identifiers; the external subset
    // call comes after its closing ">".
    static void InternalSubset(void *ctx, const xmlChar *name, const xmlChar *externalId, const xmlChar *systemId)
    {
        if (XmlParts *p = Main(ctx)) {
            p->doctype_ = p->NextMarkup();
            if (p->doctype_ == std::string::npos || !p->At(p->doctype_, "<!DOCTYPE"))
                p->Fail("DOCTYPE");
        }
        xmlSAX2InternalSubset(ctx, name, externalId, systemId);
    }

    static void ExternalSubset(void *ctx, const xmlChar *name, const xmlChar *externalId, const xmlChar *systemId)
    {
        if (XmlParts *p = Main(ctx); p && p->doctype_ != std::string::npos) {
            const size_t end = p->Position();
            if (end <= p->doctype_ + 1 || p->text_[end - 1] != '>') {
                p->Fail("DOCTYPE end");
            } else {
                p->Mark(p->doctype_ + 1, end - 1, XmlPart::Markup);
                p->next_ = end;
            }
        }
        xmlSAX2ExternalSubset(ctx, name, externalId, systemId);
    }

    const std::string &text_;
    std::vector<XmlPart> parts_;
    xmlParserCtxtPtr main_ = nullptr;
    // Where the last construct ended, and the root element's depth there.
    size_t next_ = 0;
    int depth_ = 0;
    size_t doctype_ = std::string::npos;
    std::string error_;
};

} // namespace tarnwick
