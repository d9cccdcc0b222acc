#include "app/grammar_command.h"

#include "app/command_output.h"
#include "xml/grammar_validation.h"
#include "xml/xml_errors.h"

#include <new>
#include <ostream>

namespace tarnwick {

using namespace xml;

namespace {

// One file: true when it is valid.
bool ValidateOne(const std::string &path, const std::string &grammar, std::ostream &out, std::ostream &err)
{
    GrammarReport report;
    try {
        report = ValidateFileAgainstGrammar(path, grammar, kCommandLineListedProblems);
    } catch (const EDOMParseError &error) {
        err << (error.ParseError() ? FileReportLine(path, *error.ParseError()) : FileReportLine(path, error.what()))
            << "\n";
        return false;
    } catch (const std::bad_alloc &) {
        err << FileReportLine(path, "there is not enough memory for this file") << "\n";
        return false;
    } catch (const std::exception &error) {
        err << FileReportLine(path, error.what()) << "\n";
        return false;
    }
    for (const GrammarProblem &problem : report.problems)
        err << FileReportLine(path, (problem.warning ? "warning: " : "") + problem.message, problem.line,
                              problem.column)
            << "\n";
    if (report.problemCount > report.problems.size())
        err << FileReportLine(path, std::to_string(report.problemCount) + " problems were found; the first " +
                                        std::to_string(report.problems.size()) + " are listed")
            << "\n";
    if (report.valid)
        out << FileReportLine(path, "XML document is valid.") << "\n";
    return report.valid;
}

} // namespace

int RunGrammarValidateCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    int status = 0;
    for (const std::string &path : line.files)
        if (!ValidateOne(path, line.grammar, out, err))
            status = 1;
    return status;
}

} // namespace tarnwick
