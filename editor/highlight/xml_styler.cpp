#include "editor/highlight/xml_styler.h"

namespace tarnwick {

TDodiXMLStyler::TDodiXMLStyler()
{
    SetDescription("XML Files (XML)");
    SetFilter("XML Files (*.xml)|*.xml");
    SetDefaultExtension(".xml");
    SetStylerName("XML Files");
    SetExtensions("xml");

    SetMultiCommentLeft("<!--");
    SetMultiCommentRight("-->");
    SetLineComment("//");
    SetMarkupSyntax(true);

    SetCommentStyle(TCharStyle(clNavy, clWhite, {fsItalic}));
    SetNumberStyle(TCharStyle(clFuchsia, clWhite, {fsBold}));

    TElementStyles &styles = AllStyles();
    AddElementStyle(styles, "XML Default", stKeyword, clGreen, {}).SetKeyWords({"val", "encoding", "xml version"});
    AddElementStyle(styles, "Single quote", stBracket, clBlue, {}).SetBrackets(U'\'', U'\'');
    AddElementStyle(styles, "Double Quote", stBracket, clBlack, {fsBold}).SetBrackets(U'"', U'"');
    AddElementStyle(styles, "XML delimiters", stSymbol, clTeal, {}).SetSymbols(" =<?/>#\r\n");
}

} // namespace tarnwick
