// Where the caret is in the document's element tree: the path of its element
// for the status strip (an XPath expression selecting that element), and the
// Outline dock, the tree itself with names and id or name attributes, which
// follows the caret and puts it on an element clicked. The tree is the one
// the live form check built off the interface thread from the text it read;
// until the next check, lines inserted or removed since are mapped over, so
// a keystroke only ever looks the caret up in the tree.
#pragma once

#include "editor/document/lines_listener.h"
#include "xml/element_outline.h"

#include <QDockWidget>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QMainWindow;
class QTreeView;
class OutlineModel;

namespace tarnwick {
class REdoDodi;
} // namespace tarnwick

class DocumentOutline : public QObject, public tarnwick::TLinesListener {
public:
    // The dock goes into `window`; `owner` owns this and goes before the editor does.
    DocumentOutline(QMainWindow &window, tarnwick::REdoDodi &editor, QObject *owner);
    ~DocumentOutline() override;

    // The tree of the text as it is now (the check that built it has just
    // ended); null when there is none.
    void SetOutline(std::shared_ptr<const tarnwick::xml::ElementOutline> outline);
    // The caret moved or the text changed: the path and the dock follow.
    void FollowCaret();

    // "/catalog/book[3]/title", empty outside every element or without a tree.
    const QString &CaretPath() const { return path_; }
    std::function<void(const QString &path)> OnPathChange;

    QDockWidget &Dock() { return *dock_; }
    QTreeView &View() { return *view_; }
    // View > Outline: opens the dock, or closes it.
    void ShowOrHide();
    // The caret to the start of the element at `index` of the tree.
    void GoTo(int element);

    void LinesChanged(tarnwick::REdoDodiStrings &lines, const tarnwick::TLinesChange &change) override;

    // Lines inserted or removed since the tree was built, beyond which it is
    // dropped until the next check.
    static constexpr size_t kMaxChanges = 10000;

private:
    // The element holding the caret, -1 for none.
    int ElementAtCaret() const;
    // The path and the dock to the caret's element; `anew` after the tree changed.
    void Follow(bool anew);
    void SelectInView(int element);

    tarnwick::REdoDodi &editor_;
    QDockWidget *dock_ = nullptr;
    QTreeView *view_ = nullptr;
    OutlineModel *model_ = nullptr;
    std::shared_ptr<const tarnwick::xml::ElementOutline> outline_;
    // Insertions and removals of lines since the tree was built, in order.
    std::vector<tarnwick::TLinesChange> changes_;
    int element_ = -1;
    QString path_;
    bool revealed_ = false;
};
