// TXMLDocument: one XML document held as a text list (XML) and as a DOM tree
// created by a registered DOM vendor. Parses, serialises, saves, exposes the
// XML declaration and adds nodes with automatic indentation.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "xml/dom_interfaces.h"
#include "xml/text_list.h"
#include "xml/xml_node.h"
#include "xml/xml_node_list.h"
#include "xml/xml_options.h"

namespace tarnwick::xml {

class TXMLDocument {
public:
    TXMLDocument();
    explicit TXMLDocument(const std::string &fileName);
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument &) = delete;
    TXMLDocument &operator=(const TXMLDocument &) = delete;

    // Events, raised only when assigned.
    std::function<void(TXMLDocument &)> BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    std::function<void(TXMLNode &, TNodeChange)> BeforeNodeChange, AfterNodeChange;
    std::function<void(TXMLDocument &, int asyncLoadState)> OnAsyncLoad;

    bool Active() const { return domDocument_ != nullptr; }
    void SetActive(bool value);

    const std::string &FileName() const { return fileName_; }
    void SetFileName(const std::string &name);

    // Null means the default vendor (FindVendor(DefaultVendorName())).
    TDOMVendor *DOMVendor() const { return vendor_; }
    void SetDOMVendor(TDOMVendor *vendor);

    const std::string &NodeIndentStr() const { return nodeIndentStr_; }
    void SetNodeIndentStr(const std::string &value) { nodeIndentStr_ = value; }
    TXMLDocOptions Options() const { return options_; }
    void SetOptions(TXMLDocOptions value) { options_ = value; }
    TParseOptions ParseOptions() const { return parseOptions_; }
    void SetParseOptions(TParseOptions value) { parseOptions_ = value; }

    // Folder against which relative DTD and schema references of text-list,
    // string and stream loads are resolved (a file load uses its own folder).
    const std::string &BaseDirectory() const { return baseDirectory_; }
    void SetBaseDirectory(const std::string &directory) { baseDirectory_ = directory; }

    // The text list, first regenerated from the DOM when a node changed or the
    // DOM came from elsewhere than the list.
    TXMLStrings &XML();
    void SetXML(const TXMLStrings &lines) { textList_.Assign(lines); }

    // Loads the file (decoded by its declaration); raises EDOMParseError, or
    // EXMLDocError "FileName cannot be blank" without any name.
    void LoadFile(const std::string &name = "");
    // Writes the document in its declared encoding (UTF-8 without one) to name,
    // or to FileName when name is empty, replacing the old file only once the
    // new one is complete. Raises with a readable message on failure.
    void SaveFile(const std::string &name = "");
    // Parses UTF-8 text; an encoding declaration other than a UTF-16 form is
    // dropped first.
    void LoadString(const std::string &xml);
    // The whole document as UTF-8 text, its declaration as it stands.
    void SaveString(std::string &xml);
    std::string SaveString()
    {
        std::string s;
        SaveString(s);
        return s;
    }
    // 8-bit text is UTF-8 here: parsed as such whatever its declaration names;
    // saved as the text list would show it.
    void LoadAnsiString(const std::string &xml);
    void SaveAnsiString(std::string &xml);
    // Bytes decoded by their declaration, read from the start of the stream;
    // saved in the declared encoding.
    void LoadStream(std::istream &stream);
    void SaveStream(std::ostream &stream);
    // Reloads from the text list or the file.
    void Refresh();

    std::string DeclVersion();
    void SetDeclVersion(const std::string &value);
    std::string DeclEncoding();
    void SetDeclEncoding(const std::string &value);
    std::string DeclStandalone();
    void SetDeclStandalone(const std::string &value);

    IXMLNodePtr AddElement(const std::string &tagName);
    IXMLNodePtr NewElement(const std::string &tagName, const std::string &namespaceURI = "");
    IXMLNodePtr NewNode(const std::string &nameOrData, TNodeType type, const std::string &additionalData = "");
    IXMLNodePtr CreateElement(const std::string &tagName, const std::string &namespaceURI)
    {
        return NewElement(tagName, namespaceURI);
    }

    IXMLNodePtr RootElement();
    void SetRootElement(const IXMLNodePtr &node);
    IXMLNodePtr DocNode();
    TXMLNodeList &Children() { return DocNode()->Children(); }
    IDOMDocumentPtr VendorDocument() const { return domDocument_; }
    IDOMDocumentPtr DOMDocument() const { return domDocument_; }
    // The DOM document's persistence interface (raises when inactive).
    std::shared_ptr<IDOMPersist> DOMPersistAccess();
    bool IsEmpty();
    bool IsModified() const { return changeCount_ > 0; }
    TXMLDocLoadSource LoadSource() const { return loadSource_; }
    // A new namespace prefix: "NS" and a counter.
    std::string GeneratePrefix();

private:
    friend class TXMLNode;
    friend class TXMLNodeList;
    void CheckActive() const;
    void Open();
    void Close(bool autoSaveCheck);
    void Release();
    void Load();
    void ApplyParseOptions();
    void TextListChanging();
    void NodeChanged(TXMLNode &node, TNodeChange change, bool before);
    std::string SerialiseToText();
    IXMLNodePtr DeclarationNode();
    void SetDeclarationValue(int which, const std::string &value);

    std::shared_ptr<TXMLDocLink> link_;
    TXMLStrings textList_;
    std::string fileName_;
    std::string baseDirectory_;
    std::string xmlString_;
    std::istream *sourceStream_ = nullptr;
    std::optional<std::string> ansiSource_;
    TDOMVendor *vendor_ = nullptr;
    std::string nodeIndentStr_ = DefaultIndent;
    TXMLDocOptions options_ = kDefaultXMLDocOptions;
    TParseOptions parseOptions_;

    IDOMImplementationPtr implementation_;
    IDOMDocumentPtr domDocument_;
    IXMLNodePtr docNode_;
    std::shared_ptr<IDOMPersist> persist_;
    std::shared_ptr<IDOMParseOptions> domParseOptions_;
    TXMLDocLoadSource loadSource_ = lsNone;
    int changeCount_ = 0;
    int textListStamp_ = -1;
    int prefixCounter_ = 0;
};

} // namespace tarnwick::xml
