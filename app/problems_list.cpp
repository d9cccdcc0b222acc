#include "app/problems_list.h"

#include "app/xml_form_checker.h"
#include "editor/control/redodi.h"

#include <QAction>
#include <QMainWindow>

#include <algorithm>

using namespace tarnwick;

namespace {

int LineAfter(int line, const TLinesChange &change)
{
    // Rows count from 1; a row on a removed line goes to the line above.
    return std::max(0, LineAfterChange(line - 1, change, lrToAbove)) + 1;
}

} // namespace

QString CountOfProblems(size_t errors, size_t warnings)
{
    const auto count = [](size_t n, const char *one, const char *many) {
        return n == 1 ? QString::fromLatin1(one) : QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(many));
    };
    if (errors == 0 && warnings == 0)
        return QStringLiteral("no problems");
    if (warnings == 0)
        return count(errors, "1 error", "errors");
    if (errors == 0)
        return count(warnings, "1 warning", "warnings");
    return count(errors, "1 error", "errors") + QStringLiteral(" and ") + count(warnings, "1 warning", "warnings");
}

ProblemsList::ProblemsList(QMainWindow &window, REdoDodi &editor, QObject *owner) : QObject(owner), editor_(editor)
{
    dock_ = new ResultsDock(QStringLiteral("Problems"), QStringLiteral("ProblemsDock"),
                            {QStringLiteral("Column"), QStringLiteral("Message")}, &window);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock_);
    dock_->hide();
    // Checked while the dock is meant to be open, also when another dock's
    // tab covers it.
    connect(dock_->toggleViewAction(), &QAction::toggled, this, [this](bool open) { dismissed_ = !open; });
    editor_.Lines()->AddListener(this);
}

ProblemsList::~ProblemsList() { editor_.Lines()->RemoveListener(this); }

void ProblemsList::SetValidation(const QString &summary, std::vector<ResultRow> rows, bool show)
{
    validationSummary_ = summary;
    validation_ = std::move(rows);
    Refresh();
    if (show || !validation_.empty()) {
        dock_->Reveal();
    }
}

void ProblemsList::SetFormCheck(const std::vector<TCheckMark> &marks)
{
    std::vector<ResultRow> rows;
    rows.reserve(marks.size());
    size_t warnings = 0;
    for (const TCheckMark &mark : marks) {
        warnings += std::string_view(mark.Message).starts_with(kWarningPrefix);
        rows.push_back(
            {mark.Line + 1, mark.Column + 1, QString::number(mark.Column + 1), QString::fromStdString(mark.Message)});
    }
    // The same text checked again: the list, its selection and scrolling
    // stay as they are.
    if (rows == check_)
        return;
    const bool before = !check_.empty();
    check_ = std::move(rows);
    checkSummary_ = check_.empty()
                        ? QString()
                        : QStringLiteral("Form check: %1.").arg(CountOfProblems(check_.size() - warnings, warnings));
    Refresh();
    if (!before && !check_.empty() && !dismissed_ && dock_->isHidden()) {
        dock_->Reveal();
    }
}

void ProblemsList::ShowOrHide()
{
    if (dock_->isHidden()) {
        dock_->Reveal();
    } else {
        dock_->hide();
    }
}

void ProblemsList::Refresh()
{
    std::vector<ResultRow> rows;
    rows.reserve(validation_.size() + check_.size());
    rows.insert(rows.end(), validation_.begin(), validation_.end());
    for (const ResultRow &row : check_) {
        // What Validate found too is listed once.
        const bool listed = std::any_of(validation_.begin(), validation_.end(), [&](const ResultRow &other) {
            return other.line == row.line && other.column == row.column && other.text == row.text;
        });
        if (!listed)
            rows.push_back(row);
    }
    // Rows on no line first, then by place; Validate's before the check's at
    // one place.
    std::stable_sort(rows.begin(), rows.end(), [](const ResultRow &a, const ResultRow &b) {
        return std::make_pair(a.line, a.column) < std::make_pair(b.line, b.column);
    });
    QString summary = validationSummary_;
    if (!checkSummary_.isEmpty())
        summary += (summary.isEmpty() ? QString() : QStringLiteral(" ")) + checkSummary_;
    dock_->SetResults(summary, rows);
}

void ProblemsList::LinesChanged(REdoDodiStrings &, const TLinesChange &change)
{
    if (change.Wholesale()) {
        if (validation_.empty() && check_.empty() && validationSummary_.isEmpty())
            return;
        validationSummary_.clear();
        validation_.clear();
        checkSummary_.clear();
        check_.clear();
        Refresh();
        return;
    }
    if (change.Kind != TLinesChange::lcInsert && change.Kind != TLinesChange::lcRemove)
        return;
    for (std::vector<ResultRow> *group : {&validation_, &check_})
        for (ResultRow &row : *group)
            if (row.line > 0)
                row.line = LineAfter(row.line, change);
    dock_->MoveRows([&](int line) { return LineAfter(line, change); });
}
