// The command line: `tarnwick [FILE]` starts the editor (opening FILE after the
// start-up document); --help, --version, --format, --validate, --xpath and
// --transform answer
// without creating a window, and read standard input for the file "-".
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Edit, Help, Version, Format, Validate, XPath, Transform, Error };

    Action action = Action::Edit;
    std::vector<std::string> files;
    std::string output;     // --format's and --transform's -o; empty or "-" for standard output
    std::string encoding;   // --format's --encoding; empty for the file's own
    std::string expression; // --xpath's expression
    std::string stylesheet; // --transform's stylesheet
    std::string grammar;    // --validate's --grammar; empty for the grammar each file names
    // --allow-external's folders: external resources are read from them too.
    std::vector<std::string> allowedFolders;
    std::string error; // what was wrong, for Action::Error
};

CommandLine ParseCommandLine(int argc, const char *const *argv);

// Lets the XML layer read external resources from the --allow-external
// folders too, for the commands that answer without a window.
void AllowExternalFolders(const CommandLine &line);

std::string UsageText();
