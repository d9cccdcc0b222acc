// The "Add Node" dialog: adds an element under the document's root element,
// and lists the document's first top-level node with its children.
#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace tarnwick {
class TCustomDodi;
namespace xml {
class TXMLDocument;
}
} // namespace tarnwick

class TfrmAddNode : public QDialog {
public:
    TfrmAddNode(tarnwick::TCustomDodi &editor, tarnwick::xml::TXMLDocument &document, QWidget *parent = nullptr);

    QLineEdit *Edit1;
    QListWidget *ListBox1;

    // Add: the element named in Edit1, appended under the root element.
    void Button2Click();
    // List: the first top-level node and its children, appended to ListBox1.
    void Button1Click();

private:
    tarnwick::TCustomDodi &editor_;
    tarnwick::xml::TXMLDocument &document_;
};
