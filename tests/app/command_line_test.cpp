// The command line as a terminal user meets it: --format writes the bytes its
// declaration names, refuses what the encoding cannot hold, takes encoding
// names only; every file gets one line, with nothing a terminal would act on;
// "-" is standard input.
#include "app/command_line.h"
#include "app/command_output.h"
#include "app/xml_commands.h"
#include "xml/libxml2_vendor.h"
#include "xml/xml_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace std::string_literals;

class CommandLineUse : public testing::Test {
protected:
    void SetUp() override { tarnwick::xml::RegisterLibxml2Vendor(); }

    std::string Write(const std::string &name, const std::string &bytes)
    {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    static std::string Read(const std::string &path)
    {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    // Runs `tarnwick args...`; standard input from `input` when given.
    int Run(std::vector<std::string> args, const std::string &input = "")
    {
        args.insert(args.begin(), "tarnwick");
        std::vector<const char *> argv;
        for (const std::string &arg : args)
            argv.push_back(arg.c_str());
        const CommandLine line = ParseCommandLine(int(argv.size()), argv.data());
        AllowExternalFolders(line);
        out.str({});
        err.str({});
        const int saved = input.empty() ? -1 : ::dup(0);
        if (!input.empty()) {
            const int fd = ::open(input.c_str(), O_RDONLY);
            ::dup2(fd, 0);
            ::close(fd);
        }
        int status = -1;
        if (line.action == CommandLine::Action::Format)
            status = tarnwick::RunFormatCommand(line, out, err);
        else if (line.action == CommandLine::Action::Validate)
            status = tarnwick::RunValidateCommand(line, out, err);
        if (saved >= 0) {
            ::dup2(saved, 0);
            ::close(saved);
        }
        return status;
    }

    static int Lines(const std::string &text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

    QTemporaryDir folder;
    std::ostringstream out;
    std::ostringstream err;
};

const std::string kJapanese = "\xE6\x97\xA5"; // U+65E5

TEST_F(CommandLineUse, FormatWritesTheBytesItsDeclarationNamesToStandardOutputAndToAFile)
{
    const std::string latin1 = Write("in.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><p>caf\xe9</p>");
    EXPECT_EQ(Run({"--format", latin1}), 0) << err.str();
    EXPECT_EQ(out.str(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<p>caf\xe9</p>\n");

    // Whatever the encoding, the bytes read back as the same document, and
    // -o writes the same bytes as standard output.
    for (const std::string encoding : {"UTF-8", "ISO-8859-1", "UTF-16", "UTF-16BE", "UTF-32", "windows-1252"}) {
        ASSERT_EQ(Run({"--format", latin1, "--encoding", encoding}), 0) << err.str();
        const std::string written = out.str();
        std::istringstream in(written);
        tarnwick::xml::TXMLDocument back;
        back.LoadStream(in);
        EXPECT_EQ(back.RootElement()->TextValue(), "caf\xC3\xA9") << encoding;
        EXPECT_EQ(back.DeclEncoding(), encoding);
        const std::string output = folder.filePath("out.xml").toStdString();
        ASSERT_EQ(Run({"--format", latin1, "--encoding", encoding, "-o", output}), 0) << err.str();
        EXPECT_EQ(Read(output), written) << encoding;
    }
    EXPECT_EQ(Read(latin1).substr(0, 2), "<?");
}

TEST_F(CommandLineUse, FormatRefusesACharacterTheEncodingCannotHoldWhereNoReferenceCanStand)
{
    const std::string path = Write("u.xml", "<r>\n  <a/>\n  <!-- " + kJapanese + " -->\n</r>\n");
    const std::string output = Write("out.xml", "old");
    for (const std::string &target : {std::string("-"), output}) {
        EXPECT_EQ(Run({"--format", path, "--encoding", "ISO-8859-1", "-o", target}), 1);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(Lines(err.str()), 1) << err.str();
        EXPECT_NE(err.str().find("(U+65E5), used on line 3, column 8 in a comment"), std::string::npos) << err.str();
    }
    EXPECT_EQ(Read(output), "old");

    // In text the character becomes a reference.
    const std::string text = Write("t.xml", "<r>" + kJapanese + "</r>");
    EXPECT_EQ(Run({"--format", text, "--encoding", "ISO-8859-1"}), 0) << err.str();
    EXPECT_NE(out.str().find("<r>&#26085;</r>"), std::string::npos) << out.str();
}

TEST_F(CommandLineUse, EncodingTakesOnlyEncodingNames)
{
    auto action = [](const char *encoding) {
        const char *argv[] = {"tarnwick", "--format", "a.xml", "--encoding", encoding};
        return ParseCommandLine(5, argv).action;
    };
    for (const char *name : {"UTF-8", "ISO-8859-1", "Shift_JIS", "x.y"})
        EXPECT_EQ(action(name), CommandLine::Action::Format) << name;
    for (const char *name : {"UTF-8\"?><evil/><?x y=\"", "", " UTF-8", "8859-1", "UTF 8", "UTF-8\n"})
        EXPECT_EQ(action(name), CommandLine::Action::Error) << name;
}

TEST_F(CommandLineUse, EveryFileGetsOneLineWithoutRawControlCharacters)
{
    const std::vector<std::string> files = {
        Write("good.xml", "<r/>"),
        Write("bad.xml", "<r>\n<a></r>"),
        Write("control.xml", "<r>\n<!-- \x1b[2J\x07 -->\n</r>"),
        Write("name\x1b[31m.xml", "<r/"),
        Write("empty.xml", ""),
        folder.filePath("missing.xml").toStdString(),
        folder.path().toStdString(),
        "/dev/zero",
    };
    std::vector<std::string> args = {"--validate"};
    args.insert(args.end(), files.begin(), files.end());
    EXPECT_EQ(Run(args), 1);
    EXPECT_EQ(Lines(out.str()), 1) << out.str();
    EXPECT_EQ(Lines(err.str()), static_cast<int>(files.size()) - 1) << err.str();
    const std::string all = out.str() + err.str();
    EXPECT_TRUE(std::none_of(all.begin(), all.end(), [](char c) { return c != '\n' && (c >= 0 && c < 0x20); })) << all;
    EXPECT_NE(err.str().find("bad.xml:2:"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("name\\x1B[31m.xml"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("/dev/zero: "), std::string::npos) << err.str();

    EXPECT_EQ(Run({"--format", files[1]}), 1);
    EXPECT_EQ(Lines(err.str()), 1) << err.str();

    // What a terminal would act on is shown, not sent.
    EXPECT_EQ(tarnwick::TerminalSafe("a\x1b[2Jb\tc\x7f"), "a\\x1B[2Jb\\x09c\\x7F");
    EXPECT_EQ(tarnwick::TerminalSafe("\xC2\x9B"
                                     "1m \xE2\x80\xAE \xFF caf\xC3\xA9 " +
                                     kJapanese),
              "\\u009B1m \\u202E \\xFF caf\xC3\xA9 " + kJapanese);
}

TEST_F(CommandLineUse, NoReportShowsTheTextOfAFileTheDocumentReads)
{
    std::vector<std::string> args = {"--validate"};
    for (const auto &entry : std::filesystem::directory_iterator(TARNWICK_TEST_DATA "/hostile")) {
        const std::string copy = Write(entry.path().filename().string(), Read(entry.path().string()));
        if (entry.path().extension() == ".xml")
            args.push_back(copy);
    }
    Write("secret.txt", "SECRET line one\nSECRET line two\n");
    Write("secret-name.txt", "SECRETNAME");
    ASSERT_EQ(args.size(), 8u);
    EXPECT_EQ(Run(args), 1);
    EXPECT_EQ(Lines(err.str()), 7) << err.str();
    EXPECT_EQ(err.str().find("SECRET"), std::string::npos) << err.str();
    for (size_t i = 1; i < args.size(); ++i) {
        Run({"--format", args[i]});
        EXPECT_EQ((out.str() + err.str()).find("SECRET"), std::string::npos) << args[i] << ": " << err.str();
    }
}

TEST_F(CommandLineUse, ExternalResourcesComeFromTheDocumentsFolderOrAFolderAllowedOnTheCommandLine)
{
    std::filesystem::create_directories(folder.filePath("doc").toStdString());
    std::filesystem::create_directories(folder.filePath("outside").toStdString());
    const std::string outside = folder.filePath("outside").toStdString();
    Write("outside/r.dtd", "<!ELEMENT r (#PCDATA)>\n<!ENTITY e 'shared'>\n");
    const std::string doc = Write("doc/doc.xml", "<!DOCTYPE r SYSTEM \"../outside/r.dtd\">\n<r>&e;</r>\n");
    EXPECT_EQ(Run({"--validate", doc}), 1);
    EXPECT_EQ(err.str(), doc + ":1:39: could not be checked: ../outside/r.dtd is outside the document's folder\n");
    EXPECT_NE(Run({"--format", doc}), 0);
    EXPECT_NE(err.str().find("is outside the document's folder"), std::string::npos) << err.str();

    EXPECT_EQ(Run({"--validate", doc, "--allow-external", outside}), 0) << err.str();
    EXPECT_EQ(Run({"--allow-external", outside, "--format", doc}), 0) << err.str();
    EXPECT_NE(out.str().find("<r>&e;</r>"), std::string::npos) << out.str();
    // The next command reads from the document's folder alone again.
    EXPECT_EQ(Run({"--validate", doc}), 1);
    const char *missing[] = {"tarnwick", "--validate", "x.xml", "--allow-external"};
    EXPECT_EQ(ParseCommandLine(4, missing).action, CommandLine::Action::Error);
}

TEST_F(CommandLineUse, FormatDoesNotReplaceAReadOnlyFile)
{
    const std::string in = Write("in.xml", "<r><a/></r>");
    const std::string target = Write("out.xml", "<old/>");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    EXPECT_EQ(Run({"--format", in, "-o", target}), 1);
    EXPECT_NE(err.str().find("The file is read-only"), std::string::npos) << err.str();
    EXPECT_EQ(Read(target), "<old/>");
}

TEST_F(CommandLineUse, MinusReadsStandardInput)
{
    const std::string input = Write("in.xml", "<r><a/></r>");
    EXPECT_EQ(Run({"--validate", "-"}, input), 0) << err.str();
    EXPECT_EQ(out.str(), "-: XML document is valid.\n");
    EXPECT_EQ(Run({"--format", "-"}, input), 0) << err.str();
    EXPECT_EQ(out.str(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n  <a/>\n</r>\n");

    // A device that never ends is refused, not read.
    EXPECT_EQ(Run({"--validate", "-"}, "/dev/zero"), 1);
    EXPECT_EQ(Lines(err.str()), 1);
    EXPECT_NE(err.str().find("device"), std::string::npos) << err.str();
}

} // namespace
