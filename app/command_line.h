// The command line: `tarnwick [FILE]` starts the editor (opening FILE after the
// start-up document); --help, --version, --format, --validate and --xpath answer
// without creating a window, and read standard input for the file "-".
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Edit, Help, Version, Format, Validate, XPath, Error };

    Action action = Action::Edit;
    std::vector<std::string> files;
    std::string output;     // --format's -o; empty or "-" for standard output
    std::string encoding;   // --format's --encoding; empty for the file's own
    std::string expression; // --xpath's expression
    std::string grammar;    // --validate's --grammar; empty for the grammar each file names
    std::string error;      // what was wrong, for Action::Error
};

CommandLine ParseCommandLine(int argc, const char *const *argv);

std::string UsageText();
