#include "app/xml_tools.h"

#include "app/document_outline.h"
#include "app/error_guard.h"
#include "app/long_work.h"
#include "app/main_window.h"
#include "app/message_helpers.h"
#include "app/problems_list.h"
#include "app/results_dock.h"
#include "editor/control/redodi.h"
#include "xml/dom_interfaces.h"
#include "xml/grammar_validation.h"
#include "xml/problem_list.h"
#include "xml/verdict.h"
#include "xml/xml_errors.h"
#include "xml/xpath_query.h"
#include "xml/xslt_transform.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

#include <algorithm>
#include <optional>

using namespace tarnwick;
using namespace tarnwick::xml;

namespace {

QString Q(const std::string &s) { return QString::fromStdString(s); }

std::vector<ResultRow> ProblemRows(const std::vector<DocumentProblem> &problems)
{
    std::vector<ResultRow> rows;
    rows.reserve(problems.size());
    for (const DocumentProblem &problem : problems)
        rows.push_back({problem.line, problem.column, problem.column > 0 ? QString::number(problem.column) : QString(),
                        (problem.warning ? QStringLiteral("Warning: ") : QString()) + Q(problem.message)});
    return rows;
}

// "3 errors and 1 warning" and, when not all are listed, how many are.
QString CountAndListed(size_t count, const std::vector<DocumentProblem> &problems, size_t listed)
{
    const size_t warnings = std::count_if(problems.begin(), problems.end(), [](auto &p) { return p.warning; });
    // Of those not listed, the kind is not known: they count as errors.
    QString text = CountOfProblems(count - warnings, warnings);
    if (count > listed)
        text += QStringLiteral("; the first %1 are listed").arg(listed);
    return text;
}

QString DescribeValue(const XPathResult &result)
{
    switch (result.kind) {
    case XPathValueKind::Boolean:
        return QStringLiteral("Boolean: %1").arg(Q(result.value));
    case XPathValueKind::Number:
        return QStringLiteral("Number: %1").arg(Q(result.value));
    case XPathValueKind::String:
        return QStringLiteral("String: \"%1\"%2").arg(Q(result.value), result.valueCut ? QStringLiteral("...") : "");
    case XPathValueKind::NodeSet:
        break;
    }
    if (result.nodeCount == 0)
        return QStringLiteral("No node was selected.");
    if (result.nodeCount == 1)
        return QStringLiteral("1 node.");
    if (result.nodeCount > result.nodes.size())
        return QStringLiteral("%1 nodes; the first %2 are listed.").arg(result.nodeCount).arg(result.nodes.size());
    return QStringLiteral("%1 nodes.").arg(result.nodeCount);
}

} // namespace

XmlTools::XmlTools(TForm1 &window) : QObject(&window), window_(window)
{
    xpathDock_ = new ResultsDock(QStringLiteral("XPath"), QStringLiteral("XPathDock"),
                                 {QStringLiteral("Path"), QStringLiteral("Text")}, &window);
    window.addDockWidget(Qt::BottomDockWidgetArea, xpathDock_);
    xpathDock_->hide();
    xpathDock_->OnActivate = [this](int line, int column) { GoTo(line, column); };
    problems_ = new ProblemsList(window, window.Editor(), this);
    window.tabifyDockWidget(xpathDock_, &problems_->Dock());
    problems_->Dock().OnActivate = [this](int line, int column) { GoTo(line, column); };
    outline_ = new DocumentOutline(window, window.Editor(), this);
    ChooseGrammarFile = [this] {
        return QFileDialog::getOpenFileName(&window_, QStringLiteral("Validate Against"),
                                            QFileInfo(window_.CurrentFileName()).absolutePath(),
                                            QStringLiteral("Grammars (*.dtd *.xsd *.rng);;All files (*)"));
    };
    ChooseStylesheet = [this](const QString &suggested) {
        const QString start = suggested.isEmpty() ? QFileInfo(window_.CurrentFileName()).absolutePath() : suggested;
        return QFileDialog::getOpenFileName(&window_, QStringLiteral("Transform"), start,
                                            QStringLiteral("Stylesheets (*.xsl *.xslt);;All files (*)"));
    };
    AskExpression = [this](const QString &previous) {
        return QInputDialog::getText(&window_, QStringLiteral("Evaluate XPath"), QStringLiteral("XPath expression:"),
                                     QLineEdit::Normal, previous);
    };
}

void XmlTools::EvaluateXPath()
{
    const QString expression = AskExpression(lastExpression_).trimmed();
    if (!expression.isEmpty())
        EvaluateXPath(expression);
}

void XmlTools::EvaluateXPath(const QString &expression)
{
    lastExpression_ = expression;
    const std::string text = window_.Editor().Lines()->Text();
    const std::string folder = DocumentFolder();
    const std::string query = expression.toStdString();
    std::optional<XPathResult> result;
    {
        BusyCursor busy;
        window_.Work().Run(QStringLiteral("Evaluating XPath"),
                           [&](TWorkProgress &) { result = ::tarnwick::xml::EvaluateXPath(text, query, folder); });
    }
    std::vector<ResultRow> rows;
    rows.reserve(result->nodes.size());
    for (const XPathNodeItem &node : result->nodes)
        rows.push_back({node.line, 0, Q(node.path), Q(node.text)});
    xpathDock_->setWindowTitle(QStringLiteral("XPath: ") + expression);
    xpathDock_->ShowResults(DescribeValue(*result), rows);
}

void XmlTools::ValidateAgainst()
{
    const QString grammar = ChooseGrammarFile();
    if (!grammar.isEmpty())
        ValidateAgainst(grammar);
}

void XmlTools::ValidateAgainst(const QString &grammar)
{
    const std::string text = window_.Editor().Lines()->Text();
    const std::string folder = DocumentFolder();
    const std::string grammarPath = grammar.toStdString();
    std::optional<GrammarReport> report;
    try {
        BusyCursor busy;
        window_.Work().Run(QStringLiteral("Validating"),
                           [&](TWorkProgress &) { report = ValidateAgainstGrammar(text, grammarPath, folder); });
    } catch (const EDOMParseError &error) {
        // The error box says what is wrong; the caret then shows where.
        if (error.ParseError())
            GoTo(error.ParseError()->line(), error.ParseError()->linepos());
        throw;
    }
    const QString name = QFileInfo(grammar).fileName();
    const QString counted = CountAndListed(report->problemCount, report->problems, report->problems.size());
    problems_->SetValidation(QStringLiteral("Against %1: %2.").arg(name, counted), ProblemRows(report->problems), true);
    if (report->valid) {
        ShowInfoMessage(QStringLiteral("XML document is valid."));
        return;
    }
    // The box tells the first error as Validate does; the list has the rest.
    auto firstError =
        std::find_if(report->problems.begin(), report->problems.end(), [](auto &p) { return !p.warning; });
    const GrammarProblem first = firstError != report->problems.end() ? *firstError : GrammarProblem{};
    const size_t count = report->problemCount;
    const int row = first.line - 1;
    const REdoDodiStrings &lines = *window_.Editor().Lines();
    const QString source = row >= 0 && row < lines.Count() ? Q(lines[row]).trimmed() : QString();
    QString message =
        QStringLiteral("Error in %1:%2: %3: %4").arg(first.line).arg(first.column).arg(source, Q(first.message));
    if (count > 1)
        message += QStringLiteral("\n\n%1 errors in all: see the Problems list.").arg(count);
    GoTo(first.line, first.column);
    ShowErrorMessage(message);
}

void XmlTools::ListValidation(const ProblemList &problems, const IDOMParseErrorPtr &first, const QString &failure)
{
    std::vector<ResultRow> rows = ProblemRows(problems.Listed());
    size_t count = problems.Count();
    if (first && first->errorCode() != 0) {
        // The error the box tells heads the list unless it was collected at
        // its place; one in another file (the DTD) stands on no line here.
        const bool elsewhere = ErrorInAnotherFile(first);
        const int line = elsewhere ? 0 : first->line();
        const int column = elsewhere ? 0 : first->linepos();
        const bool collected = std::any_of(problems.Listed().begin(), problems.Listed().end(),
                                           [&](auto &p) { return !p.warning && p.line == line && p.column == column; });
        if (!collected) {
            rows.insert(rows.begin(),
                        {line, column, column > 0 ? QString::number(column) : QString(), Q(first->reason())});
            ++count;
        }
    } else if (!failure.isEmpty() && problems.ErrorCount() == 0) {
        rows.insert(rows.begin(), {0, 0, QString(), failure});
        ++count;
    }
    const QString counted = CountAndListed(count, problems.Listed(), rows.size());
    QString summary = QStringLiteral("XML document is valid.");
    if ((first && first->errorCode() != 0) || !failure.isEmpty() || problems.ErrorCount() > 0)
        summary = QStringLiteral("Validate: %1.").arg(counted);
    else if (problems.Count() > 0)
        summary = QStringLiteral("XML document is valid; %1.").arg(counted);
    problems_->SetValidation(summary, std::move(rows), false);
}

void XmlTools::Transform()
{
    const std::string text = window_.Editor().Lines()->Text();
    QString suggested;
    if (const std::string named = NamedStylesheet(text.substr(0, 64 << 10)); !named.empty()) {
        const QString folder = QFileInfo(window_.CurrentFileName()).absolutePath();
        suggested = QFileInfo(QDir(folder), Q(named)).absoluteFilePath();
    }
    const QString stylesheet = ChooseStylesheet(suggested);
    if (!stylesheet.isEmpty())
        Transform(stylesheet);
}

void XmlTools::Transform(const QString &stylesheet)
{
    const std::string text = window_.Editor().Lines()->Text();
    const std::string folder = DocumentFolder();
    const std::string path = stylesheet.toStdString();
    std::optional<TransformResult> result;
    const QString name = QFileInfo(stylesheet).fileName();
    // Its messages at their file and line, which are the stylesheet's, not
    // the document's: they stand on no line of it.
    const auto list = [&](const std::vector<StylesheetMessage> &messages, const QString &summary) {
        std::vector<ResultRow> rows;
        for (const StylesheetMessage &m : messages) {
            const QString where = m.file.empty() ? name : QFileInfo(Q(m.file)).fileName();
            rows.push_back(
                {0, 0, QString(),
                 (m.line > 0 ? QStringLiteral("%1:%2: ").arg(where).arg(m.line) : where + ": ") + Q(m.message)});
        }
        problems_->SetValidation(summary, std::move(rows), false);
    };
    try {
        BusyCursor busy;
        window_.Work().Run(QStringLiteral("Transforming"),
                           [&](TWorkProgress &) { result = TransformText(text, path, folder); });
    } catch (const ETransformError &error) {
        list(error.Messages(), QStringLiteral("Transform with %1 failed.").arg(name));
        throw;
    }
    list(result->messages, QStringLiteral("Transform with %1: %2 message(s).").arg(name).arg(result->messages.size()));
    window_.OpenUnnamed(std::move(result->bytes));
}

ResultsDock &XmlTools::ProblemsDock() { return problems_->Dock(); }

void XmlTools::GoTo(int line, int column)
{
    REdoDodi &editor = window_.Editor();
    const int count = editor.Lines()->Count();
    if (count == 0)
        return;
    const int row = std::clamp(line - 1, 0, count - 1);
    editor.CollapseSelection();
    editor.SetCaretLine(row);
    editor.SetCaretCol(std::min(std::max(column - 1, 0), editor.Lines()->LineLength(row)));
    editor.CollapseSelection();
    editor.MakeCaretVisible();
}

std::string XmlTools::DocumentFolder() const
{
    const QString &file = window_.CurrentFileName();
    return file.isEmpty() ? std::string() : QFileInfo(file).absolutePath().toStdString();
}
