// What the Problems dock lists: every error and warning of the last Validate
// (or Validate Against) and of the live form check, one list in the order of
// their places. Each entry follows the edits of its line until the check
// that found it runs again; a new text (Open, New) empties the list.
#pragma once

#include "editor/control/check_worker.h"
#include "editor/document/lines_listener.h"

#include <QObject>
#include <QString>

#include <vector>

#include "app/results_dock.h"

class QMainWindow;

namespace tarnwick {
class REdoDodi;
} // namespace tarnwick

class ProblemsList : public QObject, public tarnwick::TLinesListener {
public:
    // The dock goes into `window`; `owner` owns this list and goes before
    // the editor does.
    ProblemsList(QMainWindow &window, tarnwick::REdoDodi &editor, QObject *owner);
    ~ProblemsList() override;

    ResultsDock &Dock() { return *dock_; }

    // A validation's result in place of the last one's; the dock shows when
    // it lists anything, or always with `show`.
    void SetValidation(const QString &summary, std::vector<ResultRow> rows, bool show);
    // The live check's marks (0-based places) in place of its last ones. The
    // dock shows when problems come after none, unless the user closed it.
    void SetFormCheck(const std::vector<tarnwick::TCheckMark> &marks);
    // View > Problems: opens the dock (in front of the dock it shares a
    // place with), or closes it.
    void ShowOrHide();

    void LinesChanged(tarnwick::REdoDodiStrings &lines, const tarnwick::TLinesChange &change) override;

private:
    void Refresh();

    tarnwick::REdoDodi &editor_;
    ResultsDock *dock_ = nullptr;
    QString validationSummary_;
    std::vector<ResultRow> validation_;
    QString checkSummary_;
    std::vector<ResultRow> check_;
    // The user closed the dock: the live check leaves it closed.
    bool dismissed_ = false;
};

// "1 error", "2 errors and 1 warning", "1 warning", "no problems".
QString CountOfProblems(size_t errors, size_t warnings);
