#include "app/main_styler.h"

#include "editor/highlight/xml_styler.h"

namespace tarnwick {

namespace {

// Every style of the main window is drawn in 8-point Courier New on white.
TElementStyle &AddStyle(TElementStyles &styles, const char *info, TStyleType type, TColor color, TFontStyles fontStyle)
{
    TElementStyle &style = AddElementStyle(styles, info, type, color, fontStyle);
    TFont font = style.Font();
    font.Name = "Courier New";
    font.Height = -11;
    font.Charset = 1;
    style.SetFont(font);
    style.SetBGColor(clWhite);
    return style;
}

} // namespace

void ConfigureMainStyler(TDodiXMLStyler &styler)
{
    styler.SetName("DodiXMLStyler1");
    styler.SetLineComment("//");
    styler.SetMultiCommentLeft("<!--");
    styler.SetMultiCommentRight("-->");
    styler.SetCommentStyle(TCharStyle(clGray, clWhite, {fsItalic}));
    styler.SetNumberStyle(TCharStyle(clBlack, clWhite, {fsBold}));

    TElementStyles &styles = styler.AllStyles();
    styles.Clear();
    AddStyle(styles, "", stKeyword, clNavy, {}).SetKeyWords({"/>", "?>", "<", "<?", ">"});
    AddStyle(styles, "XML Default", stKeyword, clBlue, {}).SetKeyWords({"encoding", "val", "xml version"});
    AddStyle(styles, "Single quote", stBracket, clBlue, {}).SetBrackets(U'\'', U'\'');
    AddStyle(styles, "Double Quote", stBracket, clBlack, {fsBold}).SetBrackets(U'"', U'"');
    AddStyle(styles, "XML delimiters", stSymbol, clBlue, {}).SetSymbols(" =<?/>#\r\n");
    // The text between a tag's ">" and the next "<".
    AddStyle(styles, "", stBracket, clBlack, {}).SetBrackets(U'>', U'<');

    styler.Loaded();
}

} // namespace tarnwick
