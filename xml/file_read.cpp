// Reading a document's bytes: what the name leads to is checked before it is
// read, and the reading stops at the most a document may hold.
#include "xml/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace tarnwick::xml {

namespace {

const char *const kTooLarge = "it is larger than 2 GB, the most a document can hold";

// Why a file of this kind is not read, empty when it may be.
std::string Refusal(const struct stat &status, int fd)
{
    if (S_ISDIR(status.st_mode))
        return std::strerror(EISDIR);
    if (S_ISBLK(status.st_mode))
        return "it is a block device (a disk or partition), not a file";
    if (S_ISSOCK(status.st_mode))
        return "it is a socket, not a file";
    // A terminal ends when its user says so; other devices (/dev/zero,
    // /dev/urandom) may never end.
    if (S_ISCHR(status.st_mode) && !(fd >= 0 && ::isatty(fd)))
        return "it is a device, not a file";
    if (S_ISREG(status.st_mode) && static_cast<unsigned long long>(status.st_size) > kMaxDocumentBytes)
        return kTooLarge;
    return "";
}

std::string ReadAll(int fd, const struct stat &status, std::string &bytes)
{
    // A regular file is sized from its length, one byte more so that the end
    // shows without growing; anything else grows as it comes.
    size_t capacity = S_ISREG(status.st_mode) ? static_cast<size_t>(status.st_size) + 1 : size_t{1} << 16;
    bytes.resize(capacity);
    size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > kMaxDocumentBytes)
                return kTooLarge;
            bytes.resize(std::min(bytes.size() * 2, kMaxDocumentBytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::strerror(errno);
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return "";
}

} // namespace

std::string ReadDocumentBytes(const std::string &path, std::string &bytes)
{
    bytes.clear();
    const bool standardInput = path == "-";
    struct stat status {};
    if (!standardInput) {
        // Checked by name first: opening a pipe waits for a writer, opening
        // a device may act on it.
        if (::stat(path.c_str(), &status) != 0)
            return std::strerror(errno);
        if (std::string why = S_ISCHR(status.st_mode) ? "" : Refusal(status, -1); !why.empty())
            return why;
    }
    const int fd = standardInput ? 0 : ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    std::string why;
    if (::fstat(fd, &status) != 0)
        why = std::strerror(errno);
    else
        why = Refusal(status, fd);
    if (why.empty()) {
        try {
            why = ReadAll(fd, status, bytes);
        } catch (const std::bad_alloc &) {
            why = "there is not enough memory to read it";
        }
    }
    if (!standardInput)
        ::close(fd);
    if (!why.empty())
        std::string().swap(bytes);
    return why;
}

} // namespace tarnwick::xml
