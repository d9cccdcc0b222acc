// The window's Validate and the command line's --validate give every file the
// same verdict in the same words, files the parser alone misjudges included;
// the window still opens those files whole.
#include "shell_fixture.h"

#include "app/command_line.h"
#include "app/xml_commands.h"
#include "xml/transcode.h"

#include <sstream>

using namespace std::string_literals;

namespace {

using ValidateAgreement = ShellTest;

// What `tarnwick --validate path` prints, without the file's name and place.
std::string CommandLineVerdict(const std::string &path)
{
    const char *argv[] = {"tarnwick", "--validate", path.c_str()};
    const CommandLine line = ParseCommandLine(3, argv);
    std::ostringstream out, err;
    tarnwick::RunValidateCommand(line, out, err);
    const std::string said = out.str() + err.str();
    const size_t space = said.find(": ", path.size());
    return said.substr(space + 2, said.size() - space - 3);
}

TEST_F(ValidateAgreement, TheWindowsValidateSaysWhatTheCommandLineSays)
{
    const std::string declared = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r>x</r>\n";
    WriteFile("r.dtd", "<!ELEMENT r EMPTY>");
    const std::vector<std::pair<QString, QByteArray>> files = {
        {"valid.xml", "<!DOCTYPE r SYSTEM \"r.dtd\">\n<r/>\n"},
        {"invalid.xml", "<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>x</r>\n"},
        {"no-dtd.xml", "<!DOCTYPE r SYSTEM \"gone.dtd\">\n<r/>\n"},
        {"outside.xml", "<!DOCTYPE r SYSTEM \"/etc/xml/catalog\">\n<r/>\n"},
        {"mark-utf8.xml", QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<r>\xC3\xA9</r>\n")},
        {"mark-utf16.xml",
         QByteArray::fromStdString("\xFF\xFE"s + tarnwick::xml::EncodeFromUtf8(declared, "UTF-16LE"))},
    };
    for (const auto &[name, bytes] : files) {
        const QString path = WriteFile(name, bytes);
        const std::string verdict = CommandLineVerdict(path.toStdString());
        answer = MessageAnswer::Discard;
        Open(path);
        // Nothing of the file is lost to the window.
        ASSERT_FALSE(EditorText().empty()) << name.toStdString();
        messages.clear();
        window->Run(CommandId::Validate);
        const QString shown = Last(verdict == "XML document is valid." ? MessageKind::Information : MessageKind::Error);
        EXPECT_EQ(shown.split(QStringLiteral("\r\n")).front().toStdString(), verdict) << name.toStdString();
    }
    // Files whose text holds a NUL character the window does not open, and
    // the command line finds them not well-formed.
    const std::vector<std::pair<QString, QByteArray>> refused = {
        {"odd-utf16.xml",
         QByteArray::fromStdString("\xFF\xFE"s + tarnwick::xml::EncodeFromUtf8("<r/>\n", "UTF-16LE") + "A")},
        {"nul.xml", QByteArray("<r/>\n\0<x>", 9)},
    };
    for (const auto &[name, bytes] : refused) {
        const QString path = WriteFile(name, bytes);
        EXPECT_NE(CommandLineVerdict(path.toStdString()), "XML document is valid.");
        messages.clear();
        Open(path);
        EXPECT_TRUE(Last(MessageKind::Error).contains("NUL")) << name.toStdString();
    }
}

} // namespace
