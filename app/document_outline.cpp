#include "app/document_outline.h"

#include "editor/base/utf8.h"
#include "editor/control/redodi.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QHeaderView>
#include <QMainWindow>
#include <QTreeView>

#include <algorithm>

using namespace tarnwick;
using tarnwick::xml::ElementOutline;
using tarnwick::xml::OutlineElement;
using tarnwick::xml::OutlinePlace;

// The tree as the view asks for it, a level at a time: an index's internal id
// is its element's place in the outline plus one.
class OutlineModel : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

    void SetOutline(std::shared_ptr<const ElementOutline> outline)
    {
        beginResetModel();
        outline_ = std::move(outline);
        endResetModel();
    }
    static int ElementOf(const QModelIndex &index) { return index.isValid() ? int(index.internalId()) - 1 : -1; }
    QModelIndex IndexOf(int element) const
    {
        if (!outline_ || element < 0)
            return {};
        return createIndex(outline_->Elements()[element].row, 0, quintptr(element + 1));
    }

    QModelIndex index(int row, int column, const QModelIndex &parent) const override
    {
        if (!outline_ || column != 0)
            return {};
        const int child = outline_->Child(ElementOf(parent), row);
        return child < 0 ? QModelIndex() : createIndex(row, 0, quintptr(child + 1));
    }
    QModelIndex parent(const QModelIndex &index) const override
    {
        const int element = ElementOf(index);
        return element < 0 ? QModelIndex() : IndexOf(outline_->Elements()[element].parent);
    }
    int rowCount(const QModelIndex &parent) const override
    {
        return outline_ ? outline_->ChildCount(ElementOf(parent)) : 0;
    }
    bool hasChildren(const QModelIndex &parent) const override
    {
        if (!outline_)
            return false;
        const int element = ElementOf(parent);
        return element < 0 ? outline_->Count() > 0 : outline_->Elements()[element].end > element + 1;
    }
    int columnCount(const QModelIndex &) const override { return 1; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const int element = ElementOf(index);
        if (element < 0 || role != Qt::DisplayRole)
            return {};
        QString text = QString::fromUtf8(outline_->Name(element));
        const std::string_view label = outline_->Label(element);
        if (!label.empty())
            text += QStringLiteral(" %1=\"%2\"")
                        .arg(outline_->Elements()[element].labelIsName ? QStringLiteral("name") : QStringLiteral("id"),
                             QString::fromUtf8(label.data(), qsizetype(label.size())));
        return text;
    }

private:
    std::shared_ptr<const ElementOutline> outline_;
};

DocumentOutline::DocumentOutline(QMainWindow &window, REdoDodi &editor, QObject *owner)
    : QObject(owner), editor_(editor)
{
    dock_ = new QDockWidget(QStringLiteral("Outline"), &window);
    dock_->setObjectName(QStringLiteral("OutlineDock"));
    view_ = new QTreeView(dock_);
    view_->setObjectName(QStringLiteral("OutlineTree"));
    view_->setHeaderHidden(true);
    view_->setUniformRowHeights(true);
    model_ = new OutlineModel(view_);
    view_->setModel(model_);
    dock_->setWidget(view_);
    window.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    connect(view_, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { GoTo(OutlineModel::ElementOf(index)); });
    connect(view_, &QTreeView::activated, this,
            [this](const QModelIndex &index) { GoTo(OutlineModel::ElementOf(index)); });
    // Opened, it shows where the caret is.
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            SelectInView(element_);
    });
    editor_.Lines()->AddListener(this);
}

DocumentOutline::~DocumentOutline() { editor_.Lines()->RemoveListener(this); }

void DocumentOutline::SetOutline(std::shared_ptr<const ElementOutline> outline)
{
    outline_ = std::move(outline);
    changes_.clear();
    element_ = -1;
    model_->SetOutline(outline_);
    Follow(true);
}

void DocumentOutline::LinesChanged(REdoDodiStrings &, const TLinesChange &change)
{
    if (!outline_)
        return;
    if (change.Wholesale() || changes_.size() >= kMaxChanges) {
        // Nothing to say until the next check brings the new text's tree.
        SetOutline(nullptr);
        return;
    }
    if (change.Kind == TLinesChange::lcInsert || change.Kind == TLinesChange::lcRemove)
        changes_.push_back(change);
}

int DocumentOutline::ElementAtCaret() const
{
    if (!outline_ || editor_.Lines()->Count() == 0)
        return -1;
    // The caret's line as it was when the tree was built.
    int line = editor_.CaretLine();
    int byte = -1;
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
        if (line < it->Line)
            continue;
        if (it->Kind == TLinesChange::lcRemove) {
            line += it->Count;
        } else if (line >= it->Line + it->Count) {
            line -= it->Count;
        } else {
            line = it->Line; // a line typed since: its start
            byte = 0;
        }
    }
    if (byte < 0) {
        const std::string_view text = editor_.Lines()->Get(editor_.CaretLine());
        byte = int(utf8::ByteOffset(text, std::min(editor_.CaretCol(), utf8::Length(text))));
    }
    return outline_->ElementAt({line, byte});
}

void DocumentOutline::FollowCaret() { Follow(false); }

void DocumentOutline::Follow(bool anew)
{
    const int element = ElementAtCaret();
    if (element == element_ && !anew)
        return;
    element_ = element;
    path_ = element < 0 ? QString() : QString::fromStdString(outline_->PathOf(element));
    if (OnPathChange)
        OnPathChange(path_);
    if (dock_->isVisible())
        SelectInView(element);
}

void DocumentOutline::SelectInView(int element)
{
    const QModelIndex index = model_->IndexOf(element);
    if (!index.isValid()) {
        view_->clearSelection();
        return;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        view_->expand(up);
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view_->scrollTo(index);
}

void DocumentOutline::GoTo(int element)
{
    if (!outline_ || element < 0 || element >= outline_->Count())
        return;
    const OutlinePlace start = outline_->Elements()[element].start;
    int line = start.line;
    for (const TLinesChange &change : changes_)
        line = LineAfterChange(line, change, lrToAbove);
    const int count = editor_.Lines()->Count();
    if (count == 0)
        return;
    line = std::clamp(line, 0, count - 1);
    const std::string_view text = editor_.Lines()->Get(line);
    const int column = utf8::Length(text.substr(0, std::min<size_t>(start.byte, text.size())));
    editor_.CollapseSelection();
    editor_.SetCaretLine(line);
    editor_.SetCaretCol(column);
    editor_.CollapseSelection();
    editor_.MakeCaretVisible();
}

void DocumentOutline::ShowOrHide()
{
    if (dock_->isHidden()) {
        dock_->show();
        dock_->raise();
        // The first time wide enough for a name and its id.
        if (!revealed_)
            if (auto *window = qobject_cast<QMainWindow *>(dock_->parentWidget()))
                window->resizeDocks({dock_}, {dock_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 32},
                                    Qt::Horizontal);
        revealed_ = true;
    } else {
        dock_->hide();
    }
}
