// The main window's XML tools beyond Format and Validate: XPath evaluated
// over the editor's text, and validation against a grammar the user picks,
// their results listed in docks under the editor. The window owns one and
// forwards the commands to it.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class TForm1;
class DocumentOutline;
class ProblemsList;
class ResultsDock;

namespace tarnwick::xml {
class IDOMParseError;
class ProblemList;
} // namespace tarnwick::xml

class XmlTools : public QObject {
public:
    explicit XmlTools(TForm1 &window);

    // Replaceable for tests: asks for an expression, empty when cancelled.
    std::function<QString(const QString &previous)> AskExpression;
    // Replaceable for tests: picks a grammar file, empty when cancelled.
    std::function<QString()> ChooseGrammarFile;
    // Replaceable for tests: picks a stylesheet, offering `suggested` (the
    // one the document names); empty when cancelled.
    std::function<QString(const QString &suggested)> ChooseStylesheet;

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

    // Validate's problems into the list: every one collected on the way, and
    // `first`, the error Validate failed with, also when it was collected on
    // no line (a grammar that could not be read); null when it passed.
    void ListValidation(const tarnwick::xml::ProblemList &problems,
                        const std::shared_ptr<tarnwick::xml::IDOMParseError> &first, const QString &failure = {});

    // XML > Transform: runs a stylesheet over the editor's text and opens
    // the result as a new document without a file; the stylesheet's
    // messages go to the Problems list.
    void Transform();
    void Transform(const QString &stylesheet);

    ResultsDock &XPathDock() { return *xpathDock_; }
    ResultsDock &ProblemsDock();
    ProblemsList &Problems() { return *problems_; }
    DocumentOutline &Outline() { return *outline_; }

private:
    // The caret to a result's line (and column, when known), in view.
    void GoTo(int line, int column);
    std::string DocumentFolder() const;

    TForm1 &window_;
    ResultsDock *xpathDock_ = nullptr;
    ProblemsList *problems_ = nullptr;
    DocumentOutline *outline_ = nullptr;
    QString lastExpression_;
};
