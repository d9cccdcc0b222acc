#include "app/command_line.h"

#include <string_view>

namespace {

CommandLine Failure(std::string message)
{
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.error = std::move(message);
    return line;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char *const *argv)
{
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            line.files.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (arg == "--format") {
            line.action = CommandLine::Action::Format;
        } else if (arg == "--validate") {
            line.action = CommandLine::Action::Validate;
        } else if (arg == "-o" || arg == "--output") {
            if (!hasValue)
                return Failure("option " + std::string(arg) + " needs a file name");
            line.output = argv[++i];
        } else if (arg == "--encoding") {
            if (!hasValue)
                return Failure("option --encoding needs an encoding name");
            line.encoding = argv[++i];
        } else if (arg.rfind("-platform", 0) == 0 || arg.rfind("-style", 0) == 0) {
            // Qt's own options pass through to the application object.
            if (hasValue)
                ++i;
        } else {
            return Failure("unknown option " + std::string(arg));
        }
    }

    const bool formatting = line.action == CommandLine::Action::Format;
    if (!formatting && (!line.output.empty() || !line.encoding.empty()))
        return Failure("-o and --encoding go with --format");
    switch (line.action) {
    case CommandLine::Action::Format:
        if (line.files.size() != 1)
            return Failure("--format takes exactly one file");
        break;
    case CommandLine::Action::Validate:
        if (line.files.empty())
            return Failure("--validate needs at least one file");
        break;
    case CommandLine::Action::Edit:
        if (line.files.size() > 1)
            return Failure("only one file can be opened");
        break;
    default:
        break;
    }
    return line;
}

std::string UsageText()
{
    return "Usage: tarnwick [FILE]\n"
           "       tarnwick --format FILE [-o OUT] [--encoding ENC]\n"
           "       tarnwick --validate FILE...\n"
           "\n"
           "Without options, opens the editor (with FILE opened, if given).\n"
           "\n"
           "  --format FILE      re-indent FILE as the editor's Format (Tidy) does and write\n"
           "                     the result to OUT (standard output when -o is not given);\n"
           "                     the declaration names ENC, by default the file's own\n"
           "                     encoding, else UTF-8\n"
           "  --validate FILE... check each FILE for well-formedness and validity against\n"
           "                     its DTD or schema; exit status 0 only when all are valid\n"
           "  --help             show this text\n"
           "  --version          show the version\n";
}
