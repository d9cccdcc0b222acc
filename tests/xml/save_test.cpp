// Saving files: through a temporary file renamed over the target, keeping
// permission bits, following symbolic links, never leaving half a file;
// devices and pipes written in place, never replaced.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "xml/file_save.h"
#include "xml/xml_document.h"
#include "xml/xml_errors.h"
#include "xml_test_support.h"

namespace tarnwick::xml {
namespace {

using testing::XmlTest;
namespace fs = std::filesystem;

TEST_F(XmlTest, SaveWritesTheFileAndClearsTheChangeCount)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.RootElement()->AddElement("b");
    EXPECT_TRUE(doc.IsModified());
    doc.SaveFile(folder.File("x.xml"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(testing::ReadFile(folder.File("x.xml")), "<a><b/></a>\n");
    EXPECT_EQ(doc.XML().Text(), "<a><b/></a>\r\n");
}

TEST_F(XmlTest, SaveKeepsThePermissionBits)
{
    testing::TempFolder folder;
    std::string path = folder.File("x.xml");
    testing::WriteFile(path, "old");
    ::chmod(path.c_str(), 0640);
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SaveFile(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(testing::ReadFile(path), "<a/>\n");
}

TEST_F(XmlTest, SaveWritesThroughASymbolicLink)
{
    testing::TempFolder folder;
    testing::WriteFile(folder.File("real.xml"), "old");
    fs::create_symlink(folder.File("real.xml"), folder.File("link.xml"));
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SaveFile(folder.File("link.xml"));
    EXPECT_TRUE(fs::is_symlink(folder.File("link.xml")));
    EXPECT_EQ(testing::ReadFile(folder.File("real.xml")), "<a/>\n");
}

// Tries the save; true when it failed with the layer's exception and the
// document is still marked changed.
bool SaveFails(const std::string &path)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.RootElement()->AddElement("b");
    try {
        doc.SaveFile(path);
    } catch (const EXMLLayerError &e) {
        return std::string(e.what()).find("Cannot save") != std::string::npos && doc.IsModified();
    }
    return false;
}

TEST_F(XmlTest, FailedSaveInAReadOnlyFolderLeavesTheOldFileWhole)
{
    testing::TempFolder folder;
    std::string path = folder.File("x.xml");
    testing::WriteFile(path, "<old/>");
    // Nor the file: a writable file in a read-only folder is written in place.
    ::chmod(path.c_str(), 0444);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    if (::geteuid() != 0) {
        EXPECT_TRUE(SaveFails(path));
    } else {
        // Root writes into read-only folders; try as an unprivileged user instead.
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            ::_exit(SaveFails(path) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2) {
            fs::permissions(folder.Path(), fs::perms::owner_all);
            GTEST_SKIP() << "cannot switch to an unprivileged user here";
        }
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(testing::ReadFile(path), "<old/>");
    int files = 0;
    for ([[maybe_unused]] auto &entry : fs::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(XmlTest, AReadOnlyFileIsNotReplacedNorIsTheFileALinkLeadsTo)
{
    testing::TempFolder folder;
    const std::string path = folder.File("x.xml");
    testing::WriteFile(path, "<old/>");
    ::chmod(path.c_str(), 0444);
    fs::create_symlink(path, folder.File("link.xml"));
    for (const std::string &name : {path, folder.File("link.xml")}) {
        try {
            WriteDocumentFile(name, "<new/>");
            ADD_FAILURE() << name;
        } catch (const EXMLLayerError &e) {
            EXPECT_NE(std::string(e.what()).find("The file is read-only"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(testing::ReadFile(path), "<old/>");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    // Once it may be written again, it is.
    ::chmod(path.c_str(), 0644);
    WriteDocumentFile(path, "<new/>");
    EXPECT_EQ(testing::ReadFile(path), "<new/>");
}

// The recovery folder in a folder of the test's while it lives.
class RecoveryInFolder {
public:
    explicit RecoveryInFolder(const std::string &state)
    {
        if (const char *old = std::getenv("XDG_STATE_HOME"))
            old_ = old;
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    }
    ~RecoveryInFolder()
    {
        if (old_)
            ::setenv("XDG_STATE_HOME", old_->c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
    }
    // The one copy kept there, empty when there is none or more.
    static std::string OnlyCopy()
    {
        std::vector<std::string> copies;
        std::error_code ec;
        for (const auto &entry : fs::directory_iterator(RecoveryFolder(), ec))
            copies.push_back(entry.path().string());
        return copies.size() == 1 ? copies.front() : "";
    }

private:
    std::optional<std::string> old_;
};

TEST_F(XmlTest, AFileWithOtherNamesOrInAFolderThatTakesNoNewFileIsWrittenOverItsOldTextKept)
{
    testing::TempFolder folder;
    testing::TempFolder state;
    RecoveryInFolder recovery(state.Path());
    const std::string path = folder.File("x.xml");
    testing::WriteFile(path, "<old/>");
    ASSERT_EQ(::link(path.c_str(), folder.File("other-name.xml").c_str()), 0);
    const TSaveReport report = WriteDocumentFile(path, "<new/>");
    EXPECT_NE(report.inPlaceReason.find("hard links"), std::string::npos) << report.inPlaceReason;
    EXPECT_EQ(testing::ReadFile(folder.File("other-name.xml")), "<new/>");
    EXPECT_EQ(report.keptCopy, RecoveryInFolder::OnlyCopy());
    EXPECT_EQ(testing::ReadFile(report.keptCopy), "<old/>");
    // A file with one name is replaced as ever.
    ::unlink(folder.File("other-name.xml").c_str());
    EXPECT_TRUE(WriteDocumentFile(path, "<newer/>").inPlaceReason.empty());

    // Root makes files in any folder: the folder's case runs as another user.
    ::chmod(path.c_str(), 0666);
    ::chmod(folder.Path().c_str(), 0555);
    ::chmod(state.Path().c_str(), 0755);
    const std::string otherState = state.File("other-user");
    fs::create_directory(otherState);
    ::chmod(otherState.c_str(), 0777);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("XDG_STATE_HOME", otherState.c_str(), 1);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        try {
            const TSaveReport inFolder = WriteDocumentFile(path, "<newest/>");
            ::_exit(inFolder.inPlaceReason.find("folder") != std::string::npos &&
                            testing::ReadFile(inFolder.keptCopy) == "<newer/>"
                        ? 0
                        : 1);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", e.what());
            ::_exit(3);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.Path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot switch to an unprivileged user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testing::ReadFile(path), "<newest/>");
}

TEST_F(XmlTest, FailedSaveIntoAMissingFolderRaisesAClearMessage)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.LoadString("<a/>");
    try {
        doc.SaveFile(folder.File("no/such/folder/x.xml"));
        FAIL();
    } catch (const EXMLLayerError &e) {
        EXPECT_NE(std::string(e.what()).find("Cannot save"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    testing::TempFolder folder;
    std::string path = folder.File("x.xml");
    testing::WriteFile(path, "<old/>");
    TXMLDocument doc;
    doc.LoadString("<a/>");
    doc.SetDeclEncoding("NO-SUCH-ENCODING");
    EXPECT_THROW(doc.SaveFile(path), EXMLLayerError);
    EXPECT_EQ(testing::ReadFile(path), "<old/>");
    int files = 0;
    for ([[maybe_unused]] auto &entry : fs::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(XmlTest, SaveWithAnEmptyFileNameFailsAndWritesNothing)
{
    TXMLDocument doc;
    doc.LoadString("<a/>");
    try {
        doc.SaveFile("");
        FAIL();
    } catch (const EXMLLayerError &e) {
        EXPECT_NE(std::string(e.what()).find("no file name"), std::string::npos) << e.what();
    }
}

TEST_F(XmlTest, SaveAndReopenKeepTheText)
{
    testing::TempFolder folder;
    TXMLDocument doc;
    doc.SetParseOptions({poPreserveWhiteSpace});
    doc.XML().SetText("<?xml version=\"1.0\"?>\r\n<a>\r\n  <b x=\"&amp;\"/>\r\n</a>\r\n");
    doc.SetActive(true);
    doc.SaveFile(folder.File("x.xml"));
    TXMLDocument back;
    back.SetParseOptions({poPreserveWhiteSpace});
    back.LoadFile(folder.File("x.xml"));
    EXPECT_EQ(back.XML().Text(), "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b x=\"&amp;\"/>\r\n</a>\r\n");
}

struct stat StatusOf(const std::string &path)
{
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status;
}

// The message of the save's failure, empty when it succeeded.
std::string SaveError(const std::string &path, const std::string &bytes)
{
    try {
        WriteDocumentFile(path, bytes);
    } catch (const EXMLLayerError &e) {
        return e.what();
    }
    return "";
}

// Everything that comes out of a pipe's reading end until it closes.
std::string Drain(int fd)
{
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return out;
}

TEST_F(XmlTest, DevicesAndPipesAreWrittenInPlaceAndNeverReplaced)
{
    testing::TempFolder folder;
    const std::string bytes = "<a/>\n";

    // A character device: a null device of our own as root (so a fault
    // cannot replace the system's), else the system's, which we cannot replace.
    std::string device = "/dev/null";
    if (::geteuid() == 0 && ::mknod(folder.File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        device = folder.File("null");
    EXPECT_EQ(SaveError(device, bytes), "");
    EXPECT_TRUE(S_ISCHR(StatusOf(device).st_mode));

    // A named pipe, with a reader and through a symbolic link.
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, folder.File("to-fifo"));
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(SaveError(folder.File("to-fifo"), bytes), "");
    ::fcntl(reader, F_SETFL, 0);
    EXPECT_EQ(Drain(reader), bytes);
    EXPECT_TRUE(S_ISFIFO(StatusOf(fifo).st_mode));
    EXPECT_TRUE(fs::is_symlink(folder.File("to-fifo")));
    // Nothing reads it: refused at once rather than waiting.
    EXPECT_NE(SaveError(fifo, bytes).find("nothing is reading"), std::string::npos);
    EXPECT_TRUE(S_ISFIFO(StatusOf(fifo).st_mode));

    // The process's own descriptor (as /dev/stdout is): the bytes go down it.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    auto piped = std::async(std::launch::async, [&] { return Drain(ends[0]); });
    EXPECT_EQ(SaveError("/dev/fd/" + std::to_string(ends[1]), bytes), "");
    ::close(ends[1]);
    EXPECT_EQ(piped.get(), bytes);

    // No file there: a dangling link creates the file it names.
    fs::create_symlink("made.xml", folder.File("dangling.xml"));
    EXPECT_EQ(SaveError(folder.File("dangling.xml"), bytes), "");
    EXPECT_TRUE(fs::is_symlink(folder.File("dangling.xml")));
    EXPECT_EQ(testing::ReadFile(folder.File("made.xml")), bytes);

    // Refused, and left as they were: a socket, a folder.
    const std::string socket = folder.File("socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_NE(SaveError(socket, bytes).find("socket"), std::string::npos);
    EXPECT_TRUE(S_ISSOCK(StatusOf(socket).st_mode));
    ::close(listener);
    EXPECT_NE(SaveError(folder.Path(), bytes).find("folder"), std::string::npos);
}

// Lists the folder's entries other than `keep`.
std::vector<std::string> OtherEntries(const std::string &folder, const std::string &keep)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename().string());
    return names;
}

// Bytes the child has written so far to a new regular file in `folder`'s file
// system other than the file `old`; -1 while it has none open.
long long BytesWrittenByChild(pid_t child, const struct stat &old)
{
    std::error_code ec;
    long long most = -1;
    for (const auto &entry : fs::directory_iterator("/proc/" + std::to_string(child) + "/fd", ec)) {
        struct stat status {};
        if (::stat(entry.path().c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_dev == old.st_dev &&
            status.st_ino != old.st_ino)
            most = std::max<long long>(most, status.st_size);
    }
    return most;
}

TEST_F(XmlTest, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNew)
{
    testing::TempFolder folder;
    const std::string path = folder.File("big.xml");
    const std::string old = "<old/>\n";
    const std::string fresh = "<new>" + std::string(48 << 20, 'x') + "</new>\n";
    // Killed when the child has written nothing yet, part of the file, all of
    // it (flushing or renaming), and once not at all.
    for (const long long when :
         {0LL, 1LL << 20, static_cast<long long>(fresh.size()) / 2, static_cast<long long>(fresh.size()), -1LL}) {
        testing::WriteFile(path, old);
        const struct stat before = StatusOf(path);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                WriteDocumentFile(path, fresh);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        if (when >= 0) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (BytesWrittenByChild(child, before) < when && ::waitpid(child, nullptr, WNOHANG) == 0 &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::yield();
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = testing::ReadFile(path);
        EXPECT_TRUE(now == old || now == fresh) << "killed at " << when << ": " << now.size() << " bytes";
        if (when < 0) {
            EXPECT_EQ(now, fresh);
            EXPECT_TRUE(OtherEntries(folder.Path(), "big.xml").empty());
        }
    }
}

// Runs `save` in a child process with a 64 KiB file system mounted on
// `folder`; false when this system lets no unprivileged process mount one.
bool WithFullDisk(const std::string &folder, const std::function<bool()> &save, bool &passed)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            ::_exit(2);
        // Map ourselves as we were, so files keep their owner.
        testing::WriteFile("/proc/self/setgroups", "deny");
        testing::WriteFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1");
        testing::WriteFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
        if (::mount("none", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(2);
        ::_exit(save() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return false;
    passed = WEXITSTATUS(status) == 0;
    return true;
}

// Saves a changed document larger than the space left over `path`; true when
// the save failed, left the old `path` and nothing else, and the document is
// still marked changed.
bool FullDiskSaveKeepsTheOriginal(const std::string &folder, const std::string &path)
{
    testing::WriteFile(path, "<old/>");
    TXMLDocument doc;
    doc.LoadString("<a>" + std::string(1 << 20, 'x') + "</a>");
    doc.RootElement()->AddElement("b");
    try {
        doc.SaveFile(path);
        return false;
    } catch (const EXMLLayerError &) {
    }
    return doc.IsModified() && testing::ReadFile(path) == "<old/>" &&
           OtherEntries(folder, fs::path(path).filename()).empty();
}

TEST_F(XmlTest, ASaveThatRunsOutOfSpaceLeavesTheOriginalAndTheDocumentChanged)
{
    testing::TempFolder folder;
    const std::string path = folder.File("x.xml");
    bool passed = false;
    if (WithFullDisk(
            folder.Path(), [&] { return FullDiskSaveKeepsTheOriginal(folder.Path(), path); }, passed))
        EXPECT_TRUE(passed) << "on a full file system";

    // A write that fails the same way wherever the test runs: the file size
    // limit makes the temporary file's write fail part way.
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit small = {64 << 10, limit.rlim_max};
    auto *const oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool kept = FullDiskSaveKeepsTheOriginal(folder.Path(), path);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(kept) << "with a file size limit";
}

} // namespace
} // namespace tarnwick::xml
