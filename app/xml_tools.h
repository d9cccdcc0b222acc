// The main window's XML tools beyond Format and Validate: XPath evaluated
// over the editor's text, and validation against a grammar the user picks,
// their results listed in docks under the editor. The window owns one and
// forwards the commands to it.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class TForm1;
class ResultsDock;

class XmlTools : public QObject {
public:
    explicit XmlTools(TForm1 &window);

    // Replaceable for tests: asks for an expression, empty when cancelled.
    std::function<QString(const QString &previous)> AskExpression;
    // Replaceable for tests: picks a grammar file, empty when cancelled.
    std::function<QString()> ChooseGrammarFile;

    // XML > Evaluate XPath: asks for an expression, evaluates it over the
    // editor's text and lists the result.
    void EvaluateXPath();
    // Evaluates `expression` without asking.
    void EvaluateXPath(const QString &expression);

    // XML > Validate Against: picks a DTD, XML Schema or RELAX NG grammar,
    // validates the editor's text against it and lists every error; the
    // message box and the caret tell the first, as Validate does.
    void ValidateAgainst();
    void ValidateAgainst(const QString &grammar);

    ResultsDock &XPathDock() { return *xpathDock_; }
    ResultsDock &ProblemsDock() { return *problemsDock_; }

private:
    // The caret to a result's line (and column, when known), in view.
    void GoTo(int line, int column);
    std::string DocumentFolder() const;

    TForm1 &window_;
    ResultsDock *xpathDock_ = nullptr;
    ResultsDock *problemsDock_ = nullptr;
    QString lastExpression_;
};
