// TXMLDocument: activation, loading, the text list's synchronisation with
// the DOM, saving and the XML declaration.
#include "xml/xml_document.h"

#include <istream>

#include "xml/declaration.h"
#include "xml/transcode.h"
#include "xml/vendor_registry.h"
#include "xml/verdict.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

enum DeclItem { kVersion, kEncoding, kStandalone };
const char *const kDeclNames[] = {"version", "encoding", "standalone"};

// The first `count` code points of UTF-8 text.
std::string FirstCharacters(const std::string &text, size_t count)
{
    size_t i = 0;
    while (i < text.size() && count > 0) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
        --count;
    }
    return text.substr(0, i);
}

} // namespace

std::string ParseErrorMessage(IDOMParseError &error)
{
    // As the command line says it: a document whose DTD, entity or schema
    // could not be read is neither valid nor shown to be invalid.
    auto *told = dynamic_cast<IDOMVerdict *>(&error);
    const bool notChecked = told && told->verdict() == Verdict::NotChecked;
    return (notChecked ? "could not be checked: " : "") + error.reason() + "\r\n" + "Line" + ": " +
           std::to_string(error.line()) + "\r\n" + FirstCharacters(error.srcText(), 40);
}

TXMLDocument::TXMLDocument() : link_(std::make_shared<TXMLDocLink>())
{
    link_->document = this;
    textList_.OnChanging = [this] { TextListChanging(); };
}

TXMLDocument::TXMLDocument(const std::string &fileName) : TXMLDocument() { fileName_ = fileName; }

TXMLDocument::~TXMLDocument()
{
    try {
        SetActive(false);
    } catch (...) {
        Release();
    }
    // Wrappers still held elsewhere no longer reach this object.
    link_->document = nullptr;
}

void TXMLDocument::CheckActive() const
{
    if (!Active())
        throw EXMLDocError(SNoActiveDocument);
}

void TXMLDocument::SetActive(bool value)
{
    if (value == Active())
        return;
    if (value)
        Open();
    else
        Close(true);
}

void TXMLDocument::Open()
{
    if (BeforeOpen)
        BeforeOpen(*this);
    if (!implementation_)
        implementation_ = vendor_ ? vendor_->NewImplementation() : VendorImplementation(DefaultVendorName());
    domDocument_ = implementation_->createDocument("", "", nullptr);
    persist_ = QueryInterface<IDOMPersist>(domDocument_);
    domParseOptions_ = QueryInterface<IDOMParseOptions>(domDocument_);
    try {
        Load();
    } catch (...) {
        Release();
        throw;
    }
    if (AfterOpen)
        AfterOpen(*this);
}

void TXMLDocument::ApplyParseOptions()
{
    if (!domParseOptions_) {
        if (!parseOptions_.Empty())
            throw EXMLDocError(SNoParseOptions);
        return;
    }
    domParseOptions_->set_preserveWhiteSpace(parseOptions_.Contains(poPreserveWhiteSpace));
    domParseOptions_->set_resolveExternals(parseOptions_.Contains(poResolveExternals));
    domParseOptions_->set_validate(parseOptions_.Contains(poValidateOnParse));
    domParseOptions_->set_async(parseOptions_.Contains(poAsyncLoad));
    if (OnAsyncLoad && persist_)
        persist_->set_OnAsyncLoad([this](int state) { OnAsyncLoad(*this, state); });
}

void TXMLDocument::Load()
{
    loadSource_ = lsNone;
    textListStamp_ = -1;
    ApplyParseOptions();
    bool ok = true;
    bool any = textList_.Count() > 0 || !xmlString_.empty() || ansiSource_ || sourceStream_ || !fileName_.empty();
    if (any && !persist_)
        throw DOMException(SDOMNotSupported);
    if (persist_)
        persist_->set_baseDirectory(baseDirectory_);
    if (textList_.Count() > 0) {
        ok = persist_->loadxml(textList_.Text());
        loadSource_ = lsTextList;
        textListStamp_ = 0;
    } else if (!xmlString_.empty()) {
        std::string text = DropForeignEncoding(xmlString_, WideEncodings());
        if (text.rfind("\xEF\xBB\xBF", 0) == 0)
            text.erase(0, 3);
        xmlString_.clear();
        ok = persist_->loadxml(text);
        loadSource_ = lsXMLString;
    } else if (ansiSource_) {
        std::string text = std::move(*ansiSource_);
        ansiSource_.reset();
        ok = persist_->loadxml(text);
        loadSource_ = lsStream;
    } else if (sourceStream_) {
        std::istream *stream = sourceStream_;
        sourceStream_ = nullptr;
        stream->clear();
        stream->seekg(0);
        ok = persist_->loadFromStream(*stream);
        loadSource_ = lsStream;
    } else if (!fileName_.empty()) {
        ok = persist_->load(fileName_);
        loadSource_ = lsFile;
    }
    if (!ok) {
        loadSource_ = lsNone;
        IDOMParseErrorPtr error = persist_->parseError();
        throw EDOMParseError(ParseErrorMessage(*error), error);
    }
    changeCount_ = 0;
}

void TXMLDocument::Close(bool autoSaveCheck)
{
    if (BeforeClose)
        BeforeClose(*this);
    if (autoSaveCheck && options_.Contains(doAutoSave) && IsModified()) {
        if (loadSource_ == lsTextList)
            XML();
        else if (loadSource_ == lsFile)
            SaveFile();
    }
    Release();
    if (AfterClose)
        AfterClose(*this);
}

void TXMLDocument::Release()
{
    docNode_.reset();
    persist_.reset();
    domParseOptions_.reset();
    domDocument_.reset();
    prefixCounter_ = 0;
    changeCount_ = 0;
    if (loadSource_ == lsXMLString || loadSource_ == lsFile || loadSource_ == lsStream)
        textList_.InternalClear();
}

void TXMLDocument::TextListChanging()
{
    SetActive(false);
    fileName_.clear();
}

void TXMLDocument::SetFileName(const std::string &name)
{
    if (name == fileName_)
        return;
    if (Active() && loadSource_ == lsFile)
        SetActive(false);
    else
        textList_.InternalClear();
    fileName_ = name;
}

void TXMLDocument::SetDOMVendor(TDOMVendor *vendor)
{
    if (vendor == vendor_)
        return;
    SetActive(false);
    vendor_ = vendor;
    implementation_.reset();
}

TXMLStrings &TXMLDocument::XML()
{
    if (Active() && textListStamp_ != changeCount_) {
        textList_.InternalSetText(SerialiseToText());
        textListStamp_ = changeCount_;
    }
    return textList_;
}

// The text list holds UTF-8 whatever the declaration names, and text-list
// parses read it as UTF-8, so every serialisation is decoded with its
// declaration kept: a UTF-16 document shows, and is saved back, as UTF-16.
std::string TXMLDocument::SerialiseToText()
{
    if (!domDocument_->hasChildNodes())
        return "";
    std::string encoding = DeclEncoding();
    return DecodeToUtf8(persist_->saveToBytes(), encoding.empty() ? "UTF-8" : encoding);
}

void TXMLDocument::LoadFile(const std::string &name)
{
    SetActive(false);
    if (!name.empty())
        fileName_ = name;
    if (fileName_.empty())
        throw EXMLDocError(SMissingFileName);
    xmlString_.clear();
    textList_.InternalClear();
    SetActive(true);
}

void TXMLDocument::SaveFile(const std::string &name)
{
    CheckActive();
    persist_->save(name.empty() ? fileName_ : name);
    // The text list is regenerated on the next read unless it matched the DOM.
    if (textListStamp_ != changeCount_)
        textListStamp_ = -1;
    changeCount_ = 0;
}

void TXMLDocument::LoadString(const std::string &xml)
{
    SetActive(false);
    textList_.InternalClear();
    xmlString_ = xml;
    SetActive(true);
}

void TXMLDocument::SaveString(std::string &xml)
{
    CheckActive();
    xml = persist_->xml();
}

void TXMLDocument::LoadAnsiString(const std::string &xml)
{
    SetActive(false);
    textList_.InternalClear();
    xmlString_.clear();
    ansiSource_ = xml;
    SetActive(true);
}

void TXMLDocument::SaveAnsiString(std::string &xml)
{
    CheckActive();
    xml = SerialiseToText();
}

void TXMLDocument::LoadStream(std::istream &stream)
{
    SetActive(false);
    textList_.InternalClear();
    xmlString_.clear();
    sourceStream_ = &stream;
    SetActive(true);
}

void TXMLDocument::SaveStream(std::ostream &stream)
{
    CheckActive();
    persist_->saveToStream(stream);
}

void TXMLDocument::Refresh()
{
    if (loadSource_ != lsTextList && loadSource_ != lsFile)
        throw EXMLDocError(SNoRefresh);
    SetActive(false);
    SetActive(true);
}

IXMLNodePtr TXMLDocument::DeclarationNode()
{
    if (!Active())
        return nullptr;
    TXMLNodeList &children = DocNode()->Children();
    if (children.Count() == 0)
        return nullptr;
    IXMLNodePtr first = children.Item(0);
    if (first->Kind() == ntProcessingInstr && first->QualifiedName() == "xml")
        return first;
    return nullptr;
}

std::string TXMLDocument::DeclVersion()
{
    IXMLNodePtr node = DeclarationNode();
    return node ? DeclarationValue(kDeclNames[kVersion], node->Value(), "") : "";
}

std::string TXMLDocument::DeclEncoding()
{
    IXMLNodePtr node = DeclarationNode();
    return node ? DeclarationValue(kDeclNames[kEncoding], node->Value(), "") : "";
}

std::string TXMLDocument::DeclStandalone()
{
    IXMLNodePtr node = DeclarationNode();
    return node ? DeclarationValue(kDeclNames[kStandalone], node->Value(), "") : "";
}

void TXMLDocument::SetDeclVersion(const std::string &value) { SetDeclarationValue(kVersion, value); }
void TXMLDocument::SetDeclEncoding(const std::string &value) { SetDeclarationValue(kEncoding, value); }
void TXMLDocument::SetDeclStandalone(const std::string &value) { SetDeclarationValue(kStandalone, value); }

void TXMLDocument::SetDeclarationValue(int which, const std::string &value)
{
    CheckActive();
    IXMLNodePtr node = DeclarationNode();
    std::string text = node ? node->Value() : "";
    std::string values[3] = {node ? DeclarationValue(kDeclNames[kVersion], text, "1.0") : "1.0",
                             node ? DeclarationValue(kDeclNames[kEncoding], text, "") : "",
                             node ? DeclarationValue(kDeclNames[kStandalone], text, "") : ""};
    values[which] = value;
    std::string data;
    for (int i = 0; i < 3; ++i)
        AppendDeclarationItem(data, kDeclNames[i], values[i]);
    IXMLNodePtr declaration = NewNode("xml", ntProcessingInstr, data);
    TXMLNodeList &children = DocNode()->Children();
    if (node)
        children.ReplaceWith(node, declaration);
    else
        children.InsertAt(0, declaration);
}

IXMLNodePtr TXMLDocument::AddElement(const std::string &tagName) { return DocNode()->AddElement(tagName, -1); }

IXMLNodePtr TXMLDocument::NewElement(const std::string &tagName, const std::string &namespaceURI)
{
    return NewNode(tagName, ntElement, namespaceURI);
}

IXMLNodePtr TXMLDocument::NewNode(const std::string &nameOrData, TNodeType type, const std::string &additionalData)
{
    CheckActive();
    IDOMDocument &dom = *domDocument_;
    IDOMNodePtr node;
    switch (type) {
    case ntElement:
        node = additionalData.empty() ? dom.createElement(nameOrData) : dom.createElementNS(additionalData, nameOrData);
        break;
    case ntAttribute:
        node = additionalData.empty() ? dom.createAttribute(nameOrData)
                                      : dom.createAttributeNS(additionalData, nameOrData);
        break;
    case ntText:
        node = dom.createTextNode(nameOrData);
        break;
    case ntCData:
        node = dom.createCDATASection(nameOrData);
        break;
    case ntComment:
        node = dom.createComment(nameOrData);
        break;
    case ntEntityRef:
        node = dom.createEntityReference(nameOrData);
        break;
    case ntProcessingInstr:
        node = dom.createProcessingInstruction(nameOrData, additionalData);
        break;
    case ntDocFragment:
        node = dom.createDocumentFragment();
        break;
    default:
        throw EXMLDocError(SInvalidNodeType);
    }
    return std::make_shared<TXMLNode>(node, nullptr, link_);
}

IXMLNodePtr TXMLDocument::RootElement()
{
    if (!Active())
        return nullptr;
    TXMLNodeList &children = DocNode()->Children();
    for (int i = children.Count() - 1; i >= 0; --i)
        if (children.Item(i)->Kind() == ntElement)
            return children.Item(i);
    return nullptr;
}

void TXMLDocument::SetRootElement(const IXMLNodePtr &node)
{
    CheckActive();
    if (IXMLNodePtr old = RootElement())
        DocNode()->Children().ReplaceWith(old, node);
    else
        DocNode()->Children().Append(node);
}

IXMLNodePtr TXMLDocument::DocNode()
{
    CheckActive();
    if (!docNode_)
        docNode_ = std::make_shared<TXMLNode>(domDocument_, nullptr, link_);
    return docNode_;
}

std::shared_ptr<IDOMPersist> TXMLDocument::DOMPersistAccess()
{
    CheckActive();
    return persist_;
}

bool TXMLDocument::IsEmpty() { return !Active() || DocNode()->Children().Count() == 0; }

std::string TXMLDocument::GeneratePrefix() { return "NS" + std::to_string(++prefixCounter_); }

void TXMLDocument::NodeChanged(TXMLNode &node, TNodeChange change, bool before)
{
    ++changeCount_;
    if (before) {
        if (BeforeNodeChange)
            BeforeNodeChange(node, change);
    } else if (AfterNodeChange) {
        AfterNodeChange(node, change);
    }
}

} // namespace tarnwick::xml
