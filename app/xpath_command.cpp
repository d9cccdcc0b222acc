#include "app/xpath_command.h"

#include "app/command_output.h"
#include "xml/xml_errors.h"
#include "xml/xpath_query.h"

#include <new>
#include <optional>
#include <ostream>

namespace tarnwick {

using namespace xml;

int RunXPathCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    const std::string &path = line.files.front();
    // The tree is freed last, after the list: a large block freed or taken
    // after the tree was freed would have the allocator first sweep together
    // every node of the tree, a sixth of the command's time on a large
    // document (main ends the process right after, for the same reason).
    std::optional<XPathDocument> document;
    XPathResult result;
    try {
        XPathLimits limits;
        limits.listedNodes = kCommandLineListedNodes;
        document.emplace(XPathDocument::FromFile(path));
        result = document->Evaluate(line.expression, limits);
    } catch (const EDOMParseError &error) {
        err << (error.ParseError() ? FileReportLine(path, *error.ParseError()) : FileReportLine(path, error.what()))
            << "\n";
        return 2;
    } catch (const std::bad_alloc &) {
        err << FileReportLine(path, "there is not enough memory for this file") << "\n";
        return 2;
    } catch (const std::exception &error) {
        err << FileReportLine(path, error.what()) << "\n";
        return 2;
    }
    if (result.kind != XPathValueKind::NodeSet) {
        out << TerminalSafe(result.value) << (result.valueCut ? "..." : "") << "\n";
        return out.good() ? 0 : 2;
    }
    const std::string file = TerminalSafe(path);
    for (const XPathNodeItem &node : result.nodes) {
        out << file;
        if (node.line > 0)
            out << ":" << node.line;
        out << ": " << TerminalSafe(node.path) << ": " << TerminalSafe(node.text) << "\n";
    }
    if (result.nodeCount == 0)
        err << FileReportLine(path, "no node was selected") << "\n";
    else if (result.nodeCount > result.nodes.size())
        err << FileReportLine(path, std::to_string(result.nodeCount) + " nodes were selected; the first " +
                                        std::to_string(result.nodes.size()) + " are listed")
            << "\n";
    out.flush();
    const int status = !out.good() ? 2 : result.nodeCount == 0 ? 1 : 0;
    result = {};
    return status;
}

} // namespace tarnwick
