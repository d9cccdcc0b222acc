// PrettyPrintXML: parse without whitespace-only text, copy node by node into
// an auto-indenting document, serialise.
#include "xml/pretty_printer.h"

#include "xml/xml_document.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

IXMLNodePtr CopyNode(TXMLNode& node, TXMLDocument& target, bool deep);

void CopyChildren(TXMLNode& source, TXMLNode& target, TXMLDocument& document) {
  TXMLNodeList& from = source.Children();
  TXMLNodeList& to = target.Children();
  int count = from.Count();
  for (int i = 0; i < count; ++i) {
    IXMLNodePtr child = from.Item(i);
    IXMLNodePtr clone = CopyNode(*child, document, false);
    to.Append(clone);
    if (child->HasChildren()) CopyChildren(*child, *clone, document);
  }
}

IXMLNodePtr CopyNode(TXMLNode& node, TXMLDocument& target, bool deep) {
  IXMLNodePtr copy;
  switch (node.Kind()) {
    case ntElement: {
      copy = target.NewElement(node.QualifiedName(), node.Namespace());
      TXMLNodeList& attributes = node.Attributes();
      TXMLNodeList& copies = copy->Attributes();
      for (int i = 0, n = attributes.Count(); i < n; ++i) copies.Append(CopyNode(*attributes.Item(i), target, false));
      if (deep) CopyChildren(node, *copy, target);
      break;
    }
    case ntAttribute:
      copy = target.NewNode(node.QualifiedName(), ntAttribute, node.Namespace());
      copy->SetValue(node.Value());
      break;
    case ntText:
    case ntCData:
    case ntComment:
      copy = target.NewNode(node.Value(), node.Kind());
      break;
    case ntEntityRef:
      copy = target.NewNode(node.QualifiedName(), ntEntityRef);
      break;
    case ntProcessingInstr:
      copy = target.NewNode(node.QualifiedName(), ntProcessingInstr, node.Value());
      break;
    case ntDocFragment:
      copy = target.NewNode("", ntDocFragment);
      if (deep) CopyChildren(node, *copy, target);
      break;
    default:
      throw EXMLDocError(SInvalidNodeType);
  }
  return copy;
}

// The source's declaration must not be copied a second time.
void DropDeclaration(TXMLDocument& source) {
  TXMLNodeList& children = source.DocNode()->Children();
  if (children.Count() == 0) return;
  std::string name = children.Item(0)->QualifiedName();
  if (name == "xml" || name == "#xmldecl") children.DeleteAt(0);
}

std::string PrettyPrint(const std::string& text, bool allowVendorIndent) {
  TXMLDocument source;
  source.LoadString(text);
  auto inPlace = allowVendorIndent ? QueryInterface<IDOMIndentInPlace>(source.VendorDocument()) : nullptr;
  if (inPlace) {
    // The source is dropped after this call: give it the declaration the
    // target would get (version, standalone, encoding, each when not empty;
    // version "1.0" when only the others are) and the target's indentation.
    std::string version = source.DeclVersion();
    if (!version.empty() || !source.DeclStandalone().empty() || !source.DeclEncoding().empty())
      source.SetDeclVersion(version.empty() ? "1.0" : version);
    inPlace->indentInPlace(DefaultIndent);
    return source.SaveString();
  }
  TXMLDocument target;
  target.SetActive(true);
  if (std::string v = source.DeclVersion(); !v.empty()) target.SetDeclVersion(v);
  if (std::string v = source.DeclStandalone(); !v.empty()) target.SetDeclStandalone(v);
  if (std::string v = source.DeclEncoding(); !v.empty()) target.SetDeclEncoding(v);
  if (source.DocNode()->Children().Count() > 1) DropDeclaration(source);
  target.SetOptions(target.Options() + doNodeAutoIndent);
  CopyChildren(*source.DocNode(), *target.DocNode(), target);
  return target.SaveString();
}

}  // namespace

std::string PrettyPrintXML(const std::string& text) { return PrettyPrint(text, true); }

std::string PrettyPrintXMLNodeByNode(const std::string& text) { return PrettyPrint(text, false); }

}  // namespace tarnwick::xml
