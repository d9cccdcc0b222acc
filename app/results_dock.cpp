#include "app/results_dock.h"

#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QTreeWidget>
#include <QVBoxLayout>

ResultsDock::ResultsDock(const QString &title, const QString &objectName, const QStringList &headers, QWidget *parent)
    : QDockWidget(title, parent)
{
    setObjectName(objectName);
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    summary_ = new QLabel(body);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    list_ = new QTreeWidget(body);
    list_->setObjectName(objectName + QStringLiteral("List"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels(QStringList{QStringLiteral("Line")} + headers);
    list_->header()->setStretchLastSection(true);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    setWidget(body);
    // itemActivated is Enter (and a double click, by the style); a single
    // click goes to the result too.
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { Activate(list_->indexOfTopLevelItem(item)); });
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { Activate(list_->indexOfTopLevelItem(item)); });
}

void ResultsDock::ShowResults(const QString &summary, const std::vector<ResultRow> &rows)
{
    SetResults(summary, rows);
    Reveal();
}

void ResultsDock::Reveal()
{
    show();
    raise();
    if (revealed_)
        return;
    revealed_ = true;
    if (auto *window = qobject_cast<QMainWindow *>(parentWidget()))
        window->resizeDocks({this}, {sizeHint().height()}, Qt::Vertical);
}

void ResultsDock::SetResults(const QString &summary, const std::vector<ResultRow> &rows)
{
    rows_ = rows;
    summary_->setText(summary);
    list_->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const ResultRow &row : rows) {
        auto *item = new QTreeWidgetItem;
        if (row.line > 0)
            item->setText(0, QString::number(row.line));
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(1, row.where);
        item->setText(2, row.text);
        items.push_back(item);
    }
    // One insertion lays the list out once, not once per row.
    list_->addTopLevelItems(items);
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
}

void ResultsDock::MoveRows(const std::function<int(int line)> &lineAfter)
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        ResultRow &row = rows_[i];
        if (row.line <= 0)
            continue;
        const int line = lineAfter(row.line);
        if (line == row.line)
            continue;
        row.line = line;
        if (QTreeWidgetItem *item = list_->topLevelItem(static_cast<int>(i)))
            item->setText(0, QString::number(line));
    }
}

QSize ResultsDock::sizeHint() const
{
    const int rows = 5;
    return {QDockWidget::sizeHint().width(),
            summary_->sizeHint().height() + list_->header()->sizeHint().height() + rows * fontMetrics().height() + 24};
}

QString ResultsDock::Summary() const { return summary_->text(); }

int ResultsDock::RowCount() const { return list_->topLevelItemCount(); }

void ResultsDock::Activate(int row)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()) || rows_[row].line <= 0 || !OnActivate)
        return;
    OnActivate(rows_[row].line, rows_[row].column);
}
