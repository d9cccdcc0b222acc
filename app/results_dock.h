// A dock under the editor that lists results pointing into the document
// (XPath's nodes, validation's problems): a summary line, then one row per
// result. A click or Enter on a row hands its line and column to whoever
// listens, which puts the caret there.
#pragma once

#include <QDockWidget>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

struct ResultRow {
    int line = 0;   // 1-based; 0 for a result that stands on no line
    int column = 0; // 1-based; 0 for the start of the line
    QString where;  // the node's path, or the file of a grammar's error
    QString text;
    bool operator==(const ResultRow &) const = default;
};

class ResultsDock : public QDockWidget {
public:
    // `headers` names the columns after "Line": where, then text.
    ResultsDock(const QString &title, const QString &objectName, const QStringList &headers, QWidget *parent);

    // Replaces the rows and shows the dock.
    void ShowResults(const QString &summary, const std::vector<ResultRow> &rows);
    // Replaces the rows, shown or not.
    void SetResults(const QString &summary, const std::vector<ResultRow> &rows);
    // Gives each row the line `lineAfter` makes of its own (an edit moved
    // it); rows on no line stay so.
    void MoveRows(const std::function<int(int line)> &lineAfter);
    const std::vector<ResultRow> &Rows() const { return rows_; }
    QString Summary() const;
    int RowCount() const;
    QTreeWidget &List() { return *list_; }

    std::function<void(int line, int column)> OnActivate;

    // Shows the dock in front of those it shares a place with; the first
    // time a few rows high, so the editor keeps the room.
    void Reveal();
    QSize sizeHint() const override;

private:
    void Activate(int row);

    QLabel *summary_ = nullptr;
    QTreeWidget *list_ = nullptr;
    std::vector<ResultRow> rows_;
    bool revealed_ = false;
};
