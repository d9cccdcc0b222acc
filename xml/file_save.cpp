// Saving bytes as a file: what the name leads to decides between replacing a
// regular file through a temporary one and writing a device or pipe in place.
#include "xml/file_save.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>

#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

namespace fs = std::filesystem;

class SaveFailure {
public:
    explicit SaveFailure(const std::string &path) : path_(path) {}
    [[noreturn]] void operator()(const std::string &reason) const
    {
        throw EXMLLayerError("Cannot save \"" + path_ + "\": " + reason);
    }
    [[noreturn]] void operator()(int error) const { (*this)(std::strerror(error)); }

private:
    const std::string &path_;
};

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    // Closes now, so that a late write error (full disk on a network file
    // system) is seen; returns 0 or the error.
    int Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// While it lives, a write to a pipe whose reader has gone fails with EPIPE
// instead of ending the process.
class PipeSignalHeld {
public:
    PipeSignalHeld()
    {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &old_);
    }
    ~PipeSignalHeld()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{};
            sigtimedwait(&pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld &) = delete;
    PipeSignalHeld &operator=(const PipeSignalHeld &) = delete;

private:
    sigset_t old_;
    bool wasPending_ = false;
};

// Returns 0 or the error.
int WriteAll(int fd, std::string_view bytes)
{
    PipeSignalHeld held;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// The descriptor number when `path` names one of the process's own open
// files: /dev/stdout, /dev/stderr, /dev/stdin, /dev/fd/N, /proc/self/fd/N.
std::optional<int> OwnDescriptor(const std::string &path)
{
    if (path == "/dev/stdin")
        return 0;
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    const std::string self = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string &folder : {std::string("/dev/fd/"), std::string("/proc/self/fd/"), self}) {
        if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0)
            continue;
        int fd = -1;
        const char *first = path.data() + folder.size();
        const char *last = path.data() + path.size();
        const auto [end, error] = std::from_chars(first, last, fd);
        if (error == std::errc() && end == last)
            return fd;
    }
    return std::nullopt;
}

// Where a save lands once symbolic links are followed.
struct Destination {
    enum class Kind { New, Regular, Device, Pipe, OwnDescriptor } kind;
    std::string path; // the file to replace or create, or the device to open
    struct stat status {};
    int descriptor = -1;
};

Destination Resolve(const std::string &path, const SaveFailure &fail)
{
    std::string current = path;
    for (int hops = 0; hops <= 40; ++hops) {
        if (const std::optional<int> fd = OwnDescriptor(current))
            return {Destination::Kind::OwnDescriptor, current, {}, *fd};
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            // Nothing there yet (a new file, or the target of a dangling
            // link); a missing folder shows when the file is created.
            if (errno == ENOENT)
                return {Destination::Kind::New, current};
            fail(errno);
        }
        if (S_ISLNK(status.st_mode)) {
            std::error_code ec;
            const fs::path to = fs::read_symlink(current, ec);
            if (ec)
                fail(ec.value());
            current = to.is_absolute() ? to.string() : (fs::path(current).parent_path() / to).string();
            continue;
        }
        if (S_ISREG(status.st_mode))
            return {Destination::Kind::Regular, current, status};
        if (S_ISCHR(status.st_mode))
            return {Destination::Kind::Device, current, status};
        if (S_ISFIFO(status.st_mode))
            return {Destination::Kind::Pipe, current, status};
        if (S_ISDIR(status.st_mode))
            fail("it is a folder");
        if (S_ISSOCK(status.st_mode))
            fail("it is a socket, not a file");
        if (S_ISBLK(status.st_mode))
            fail("it is a block device (a disk or partition), not a file");
        fail("it is not a file");
    }
    fail(ELOOP);
}

void WriteInPlace(const Destination &to, std::string_view bytes, const SaveFailure &fail)
{
    // A pipe opened without waiting: with nothing reading it the save fails
    // at once instead of hanging.
    const bool pipe = to.kind == Destination::Kind::Pipe;
    Descriptor fd(::open(to.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (pipe ? O_NONBLOCK : 0)));
    if (fd.get() < 0)
        fail(pipe && errno == ENXIO ? std::string("it is a pipe that nothing is reading from") : std::strerror(errno));
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        fail(errno);
    if (!S_ISCHR(status.st_mode) && !S_ISFIFO(status.st_mode))
        fail("it changed into another kind of file while being saved");
    if (pipe)
        ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    if (const int error = WriteAll(fd.get(), bytes))
        fail(error);
    if (const int error = fd.Close())
        fail(error);
}

std::string TemporaryName(const fs::path &folder, const fs::path &target)
{
    static thread_local std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix(6, 'x');
    for (char &c : suffix)
        c = kLetters[random() % (sizeof kLetters - 1)];
    return (folder / ("." + target.filename().string() + "." + suffix)).string();
}

// A temporary file in the target's folder. Where the file system allows,
// it has no name until it is complete, so a killed save leaves nothing
// behind; elsewhere it has a hidden name that is removed on failure.
class TemporaryFile {
public:
    TemporaryFile(const fs::path &folder, const fs::path &target, const SaveFailure &fail)
        : folder_(folder), target_(target), fail_(fail)
    {
        // Created as any new file is (0666 less the umask); an existing
        // file's bits are copied later.
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = TemporaryName(folder, target);
            fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0 || errno != EEXIST)
                break;
        }
        if (fd_ < 0) {
            name_.clear();
            fail(errno);
        }
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.empty())
            ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return fd_; }

    // Puts the complete file in the target's place.
    void Replace()
    {
        if (name_.empty())
            GiveName();
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            fail_(errno);
        if (::rename(name_.c_str(), target_.c_str()) != 0)
            fail_(errno);
        name_.clear();
    }

private:
    void GiveName()
    {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = TemporaryName(folder_, target_);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = std::move(name);
                return;
            }
            if (errno != EEXIST)
                fail_(errno);
        }
        fail_(EEXIST);
    }

    fs::path folder_;
    fs::path target_;
    const SaveFailure &fail_;
    int fd_ = -1;
    std::string name_; // empty while the file has no name
};

// A file nobody may write to (mode 0444), or this user may not: the folder's
// permission would let the replace go through, but the file's owner said it
// is not to change.
bool IsReadOnly(const Destination &to)
{
    if (to.kind != Destination::Kind::Regular)
        return false;
    if ((to.status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::faccessat(AT_FDCWD, to.path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

void Replace(const Destination &to, std::string_view bytes, const SaveFailure &fail)
{
    const fs::path target(to.path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    const bool existed = to.kind == Destination::Kind::Regular;
    TemporaryFile temporary(folder, target, fail);
    if (const int error = WriteAll(temporary.fd(), bytes))
        fail(error);
    if (existed) {
        if (::fchmod(temporary.fd(), to.status.st_mode & 07777) != 0)
            fail(errno);
        // Keep the owner too where we may (saving someone else's file as root).
        if (to.status.st_uid != ::geteuid() || to.status.st_gid != ::getegid()) [[maybe_unused]]
            int ignored = ::fchown(temporary.fd(), to.status.st_uid, to.status.st_gid);
    }
    if (::fsync(temporary.fd()) != 0)
        fail(errno);
    temporary.Replace();
    // Make the rename itself durable.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
}

// Why the file cannot be replaced by a new one and is written over where it
// stands; empty when it can be replaced.
std::string WhyInPlace(const Destination &to)
{
    if (to.kind != Destination::Kind::Regular)
        return "";
    if (to.status.st_nlink > 1)
        return "the file has other names (hard links), which a new file would leave with the old text";
    fs::path folder = fs::path(to.path).parent_path();
    if (folder.empty())
        folder = ".";
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return "its folder does not let a new file be made there";
    return "";
}

std::string ReadWhole(int fd, const SaveFailure &fail)
{
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(std::string("the old text could not be kept: ") + std::strerror(errno));
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

// Copies the old text into the recovery folder before it is written over,
// under the file's name and the time; returns the copy's path.
std::string KeepOldText(const Destination &to, const SaveFailure &fail)
{
    const auto keepFailed = [&](const std::string &why) { fail("the old text could not be kept: " + why); };
    Descriptor old(::open(to.path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    if (old.get() < 0)
        keepFailed(std::strerror(errno));
    const std::string text = ReadWhole(old.get(), fail);
    const fs::path folder = RecoveryFolder();
    // The user's own texts: for the user's eyes only.
    std::error_code ec;
    if (fs::create_directories(folder, ec))
        fs::permissions(folder, fs::perms::owner_all, ec);
    if (ec)
        keepFailed(folder.string() + ": " + ec.message());
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = (folder / (fs::path(to.path).filename().string() + "." + stamp)).string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = attempt == 0 ? base : base + "." + std::to_string(attempt);
        Descriptor copy(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (copy.get() < 0 && errno == EEXIST)
            continue;
        if (copy.get() < 0)
            keepFailed(name + ": " + std::strerror(errno));
        if (const int error = WriteAll(copy.get(), text))
            keepFailed(name + ": " + std::strerror(error));
        if (::fsync(copy.get()) != 0 || copy.Close() != 0)
            keepFailed(name + ": " + std::strerror(errno));
        return name;
    }
    fail(std::string("the old text could not be kept: ") + std::strerror(EEXIST));
}

// Writes over the file where it stands, once its old text is kept: a save
// that fails part way leaves the copy to go back to.
TSaveReport WriteOver(const Destination &to, std::string_view bytes, const std::string &why, const SaveFailure &fail)
{
    Descriptor fd(::open(to.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        fail(errno);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        fail(errno);
    if (status.st_dev != to.status.st_dev || status.st_ino != to.status.st_ino)
        fail("it changed into another file while being saved");
    TSaveReport report;
    report.keptCopy = KeepOldText(to, fail);
    report.inPlaceReason = why;
    if (const int error = WriteAll(fd.get(), bytes))
        fail(error);
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd.get()) != 0)
        fail(errno);
    if (const int error = fd.Close())
        fail(error);
    return report;
}

} // namespace

std::string RecoveryFolder()
{
    const char *state = std::getenv("XDG_STATE_HOME");
    const char *home = std::getenv("HOME");
    fs::path base = state && *state ? fs::path(state) : fs::path(home && *home ? home : "/tmp") / ".local/state";
    return (base / "tarnwick" / "recovery").string();
}

TSaveReport WriteDocumentFile(const std::string &path, std::string_view bytes)
{
    const SaveFailure fail(path);
    if (path.empty())
        throw EXMLLayerError("The document cannot be saved: no file name was given");
    const Destination to = Resolve(path, fail);
    switch (to.kind) {
    case Destination::Kind::New:
    case Destination::Kind::Regular:
        if (IsReadOnly(to))
            fail("The file is read-only");
        if (const std::string why = WhyInPlace(to); !why.empty())
            return WriteOver(to, bytes, why, fail);
        Replace(to, bytes, fail);
        break;
    case Destination::Kind::Device:
    case Destination::Kind::Pipe:
        WriteInPlace(to, bytes, fail);
        break;
    case Destination::Kind::OwnDescriptor:
        if (const int error = WriteAll(to.descriptor, bytes))
            fail(error);
        break;
    }
    return {};
}

} // namespace tarnwick::xml
