// Reading documents within bounds: inputs that never end are refused before
// anything is read, pipes and standard input are read to their end, and the
// parser's limit on one text node holds for files as for strings.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include <thread>

#include "xml/file_read.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;

// Reads "-" with standard input taken from `path` for the call.
std::string ReadStandardInputFrom(const std::string &path, std::string &bytes)
{
    const int saved = ::dup(0);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ::dup2(fd, 0);
    ::close(fd);
    std::string why = ReadDocumentBytes("-", bytes);
    ::dup2(saved, 0);
    ::close(saved);
    return why;
}

TEST_F(XmlTest, InputsThatNeverEndAreRefusedAndPipesAreReadWhole)
{
    testing::TempFolder folder;
    std::string bytes = "stale";
    EXPECT_NE(ReadDocumentBytes("/dev/zero", bytes).find("device"), std::string::npos);
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(ReadStandardInputFrom("/dev/zero", bytes).find("device"), std::string::npos);
    EXPECT_FALSE(ReadDocumentBytes(folder.Path(), bytes).empty());
    EXPECT_FALSE(ReadDocumentBytes(folder.File("missing.xml"), bytes).empty());

    // A named pipe and standard input are read to the end, however long.
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string sent = "<a>" + std::string(3 << 20, 'x') + "</a>";
    std::thread writer([&] { testing::WriteFile(fifo, sent); });
    EXPECT_EQ(ReadDocumentBytes(fifo, bytes), "");
    writer.join();
    EXPECT_EQ(bytes, sent);
    testing::WriteFile(folder.File("in.xml"), sent);
    EXPECT_EQ(ReadStandardInputFrom(folder.File("in.xml"), bytes), "");
    EXPECT_EQ(bytes, sent);

    // The document reports the refusal as a load error naming the file.
    TXMLDocument doc;
    try {
        doc.LoadFile("/dev/zero");
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_NE(e.ParseError()->reason().find("\"/dev/zero\" cannot be opened: it is a device"), std::string::npos)
            << e.ParseError()->reason();
    }
}

// The address space the process holds now, in bytes.
rlim_t AddressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        if (key == "VmSize:") {
            rlim_t kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}

TEST_F(XmlTest, AFileLargerThanTheMemoryLeftIsARefusalNotAnException)
{
    testing::TempFolder folder;
    const std::string path = folder.File("large.xml");
    {
        std::ofstream(path).close();
    }
    ASSERT_EQ(::truncate(path.c_str(), 256 << 20), 0); // sparse: no disk space taken
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlim_t room = AddressSpaceInUse() + (64 << 20);
        const struct rlimit limit = {room, room};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(2);
        std::string bytes;
        std::string why;
        try {
            why = ReadDocumentBytes(path, bytes);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(why.find("not enough memory") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no limit could be set, 3: an exception escaped, 1: another answer";
}

TEST_F(XmlTest, ATextNodeOverTheLimitIsRefusedInAFileAsInAString)
{
    testing::TempFolder folder;
    const std::string over = "<a>\n" + std::string(12'000'000, 'x') + "</a>";
    testing::WriteFile(folder.File("over.xml"), over);
    TXMLDocument doc;
    try {
        doc.LoadFile(folder.File("over.xml"));
        FAIL();
    } catch (const EDOMParseError &e) {
        EXPECT_EQ(e.ParseError()->line(), 2);
        EXPECT_NE(std::string(e.what()).find("limit (10 MB)"), std::string::npos) << e.what();
    }
    EXPECT_THROW(doc.LoadString(over), EDOMParseError);

    // Just under the limit, the text arrives whole.
    const std::string under(9'900'000, 'y');
    testing::WriteFile(folder.File("under.xml"), "<a>" + under + "</a>");
    doc.LoadFile(folder.File("under.xml"));
    EXPECT_EQ(doc.RootElement()->TextValue(), under);
}

} // namespace
} // namespace tarnwick::xml
