#include "xml/file_text_stream.h"

#include "xml/transcode.h"
#include "xml/xml_errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick::xml {

namespace {

constexpr size_t kSlice = size_t{1} << 20;

class TFile {
public:
    explicit TFile(const std::string &path) : fd_(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC)) {}
    ~TFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFile(const TFile &) = delete;
    TFile &operator=(const TFile &) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Fills `buffer` from the file as far as it goes; the bytes read, or -1.
ssize_t ReadUpTo(int fd, char *buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

// Where the last whole character of `bytes` ends: a sequence cut by the end
// of the slice waits for the next one.
size_t WholeCharacters(std::string_view bytes)
{
    size_t at = bytes.size();
    for (int back = 0; back < 3 && at > 0; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[at - 1]);
        if ((byte & 0xC0) != 0x80) {
            const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return at - 1 + length <= bytes.size() ? bytes.size() : at - 1;
        }
        --at;
    }
    return bytes.size();
}

} // namespace

std::optional<TFileFormat> StreamUtf8FileText(const std::string &path, const std::function<void(std::string_view)> &out,
                                              const TReadProgress &progress)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw EXMLLayerError("The file \"" + path + "\" cannot be read: " + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    TFile file(path);
    if (file.fd() < 0)
        throw EXMLLayerError("The file \"" + path + "\" cannot be read: " + std::strerror(errno));
    const auto size = static_cast<size_t>(status.st_size);

    std::string buffer(kSlice, '\0');
    ssize_t n = ReadUpTo(file.fd(), buffer.data(), buffer.size());
    if (n < 0)
        throw EXMLLayerError("The file \"" + path + "\" cannot be read: " + std::strerror(errno));
    buffer.resize(static_cast<size_t>(n));
    // The first slice, decoded whole, says what the file is: the declaration
    // and the byte order mark stand there.
    size_t whole = WholeCharacters(buffer);
    const TFileFormat format = DecodeFileText(buffer.substr(0, whole)).format;
    if (format.encoding != "UTF-8" || !format.mismatch.empty())
        return std::nullopt;
    size_t skip = format.byteOrderMark ? 3 : 0;
    size_t read = buffer.size();
    for (;;) {
        const std::string_view text = std::string_view(buffer).substr(skip, whole - skip);
        if (!IsValidUtf8(text))
            return std::nullopt;
        out(text);
        if (progress)
            progress(std::min(read, size), size);
        // The cut character goes before the next slice.
        const std::string rest = buffer.substr(whole);
        buffer.assign(kSlice, '\0');
        std::memcpy(buffer.data(), rest.data(), rest.size());
        n = ReadUpTo(file.fd(), buffer.data() + rest.size(), kSlice - rest.size());
        if (n < 0)
            throw EXMLLayerError("The file \"" + path + "\" cannot be read: " + std::strerror(errno));
        buffer.resize(rest.size() + static_cast<size_t>(n));
        read += static_cast<size_t>(n);
        skip = 0;
        if (n == 0)
            return rest.empty() ? std::optional<TFileFormat>(format) : std::nullopt;
        whole = WholeCharacters(buffer);
    }
}

} // namespace tarnwick::xml
