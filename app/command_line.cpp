#include "app/command_line.h"

#include "xml/external_access.h"

#include <string_view>

namespace {

CommandLine Failure(std::string message)
{
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.error = std::move(message);
    return line;
}

// An XML declaration's EncName: [A-Za-z] ([A-Za-z0-9._] | '-')*; nothing
// else can go into the declaration it is written to.
bool IsEncodingName(std::string_view name)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.empty() || !letter(name.front()))
        return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-')
            return false;
    return true;
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
        } else if (arg == "--xpath") {
            if (!hasValue)
                return Failure("option --xpath needs an expression");
            line.action = CommandLine::Action::XPath;
            line.expression = argv[++i];
        } else if (arg == "--transform") {
            if (!hasValue)
                return Failure("option --transform needs a stylesheet (.xsl)");
            line.action = CommandLine::Action::Transform;
            line.stylesheet = argv[++i];
        } else if (arg == "--grammar") {
            if (!hasValue)
                return Failure("option --grammar needs a grammar file (.dtd, .xsd or .rng)");
            line.grammar = argv[++i];
        } else if (arg == "--allow-external") {
            if (!hasValue)
                return Failure("option --allow-external needs a folder");
            line.allowedFolders.emplace_back(argv[++i]);
        } else if (arg == "-o" || arg == "--output") {
            if (!hasValue)
                return Failure("option " + std::string(arg) + " needs a file name");
            line.output = argv[++i];
        } else if (arg == "--encoding") {
            if (!hasValue)
                return Failure("option --encoding needs an encoding name");
            line.encoding = argv[++i];
            if (!IsEncodingName(line.encoding))
                return Failure("--encoding takes an encoding name such as UTF-8 or ISO-8859-1 (letters, digits, "
                               "'.', '_' and '-', starting with a letter)");
        } else if (arg.rfind("-platform", 0) == 0 || arg.rfind("-style", 0) == 0) {
            // Qt's own options pass through to the application object.
            if (hasValue)
                ++i;
        } else {
            return Failure("unknown option " + std::string(arg));
        }
    }

    const bool formatting = line.action == CommandLine::Action::Format;
    const bool writing = formatting || line.action == CommandLine::Action::Transform;
    if (!line.grammar.empty() && line.action != CommandLine::Action::Validate)
        return Failure("--grammar goes with --validate");
    if (!writing && !line.output.empty())
        return Failure("-o goes with --format and --transform");
    if (!formatting && !line.encoding.empty())
        return Failure("--encoding goes with --format");
    switch (line.action) {
    case CommandLine::Action::Format:
        if (line.files.size() != 1)
            return Failure("--format takes exactly one file");
        break;
    case CommandLine::Action::Validate:
        if (line.files.empty())
            return Failure("--validate needs at least one file");
        break;
    case CommandLine::Action::XPath:
        if (line.files.size() != 1)
            return Failure("--xpath takes an expression and exactly one file");
        break;
    case CommandLine::Action::Transform:
        if (line.files.size() != 1)
            return Failure("--transform takes a stylesheet and exactly one file");
        break;
    case CommandLine::Action::Edit:
        if (line.files.size() > 1)
            return Failure("only one file can be opened");
        if (!line.files.empty() && line.files.front() == "-")
            return Failure("standard input (-) is read by --format, --validate, --xpath and --transform only");
        break;
    default:
        break;
    }
    return line;
}

void AllowExternalFolders(const CommandLine &line)
{
    tarnwick::xml::ExternalAccess access = tarnwick::xml::CurrentExternalAccess();
    access.allowedFolders = line.allowedFolders;
    tarnwick::xml::SetExternalAccess(access);
}

std::string UsageText()
{
    return "Usage: tarnwick [FILE]\n"
           "       tarnwick --format FILE [-o OUT] [--encoding ENC]\n"
           "       tarnwick --validate FILE... [--grammar G]\n"
           "       tarnwick --xpath EXPR FILE\n"
           "       tarnwick --transform XSL FILE [-o OUT]\n"
           "\n"
           "Without options, opens the editor (with FILE opened, if given).\n"
           "\n"
           "  --format FILE      re-indent FILE as the editor's Format (Tidy) does and write\n"
           "                     the result to OUT (standard output when -o is not given)\n"
           "                     in the encoding its declaration names: ENC, by default the\n"
           "                     file's own encoding, else UTF-8\n"
           "  --validate FILE... check each FILE for well-formedness and validity against\n"
           "                     its DTD or schema, one line per file; exit status 0 only\n"
           "                     when all are valid\n"
           "  --grammar G        with --validate: check against the DTD, XML Schema or\n"
           "                     RELAX NG grammar G (.dtd, .xsd, .rng) instead, listing\n"
           "                     every error (up to 10,000, then their count)\n"
           "  --xpath EXPR FILE  evaluate the XPath 1.0 expression EXPR over FILE, with the\n"
           "                     prefixes its root element declares bound: each selected\n"
           "                     node as FILE:LINE: PATH: TEXT (up to 10,000, then their\n"
           "                     count), or the number, string or boolean; exit status 1\n"
           "                     when no node is selected\n"
           "  --transform XSL FILE\n"
           "                     run the XSLT 1.0 stylesheet XSL over FILE and write the\n"
           "                     result to OUT (standard output when -o is not given); the\n"
           "                     stylesheet reads only its own folder and writes nothing\n"
           "  --allow-external PATH\n"
           "                     also read DTDs, entities and schemas from the folder PATH\n"
           "                     and below (by default only from the document's folder\n"
           "                     and the files the system's XML catalog names); repeatable\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "A FILE named - is standard input.\n";
}
