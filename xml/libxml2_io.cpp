// Serialising libxml2 trees, decoding bytes to UTF-8, and writing files so
// that a failed save never leaves a half-written file behind.
#include <fcntl.h>
#include <libxml/encoding.h>
#include <libxml/xmlsave.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "xml/declaration.h"
#include "xml/libxml2_internal.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml::libxml2 {

namespace {

int AppendToString(void *context, const char *buffer, int len)
{
    static_cast<std::string *>(context)->append(buffer, static_cast<size_t>(len));
    return len;
}

int CloseNothing(void *) { return 0; }

// Escapes text content like libxml2 does, except that a CR LF pair is written
// as a plain line break: the layer's indentation nodes hold CR LF, which
// would otherwise come out as "&#13;" followed by a line break. A lone CR
// keeps its character reference. `in` always runs to the end of the text, so
// a pair is never split between two calls.
int EscapeText(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    unsigned char *o = out;
    unsigned char *oend = out + *outlen;
    const unsigned char *i = in;
    const unsigned char *iend = in + *inlen;
    while (i < iend && oend - o >= 6) {
        unsigned char c = *i;
        if (c == '<') {
            std::memcpy(o, "&lt;", 4);
            o += 4;
        } else if (c == '>') {
            std::memcpy(o, "&gt;", 4);
            o += 4;
        } else if (c == '&') {
            std::memcpy(o, "&amp;", 5);
            o += 5;
        } else if (c == '\r') {
            if (i + 1 < iend && i[1] == '\n') {
                *o++ = '\n';
                ++i;
            } else {
                std::memcpy(o, "&#13;", 5);
                o += 5;
            }
        } else {
            *o++ = c;
        }
        ++i;
    }
    *outlen = static_cast<int>(o - out);
    *inlen = static_cast<int>(i - in);
    return *outlen;
}

bool IsUtf8Name(const std::string &encoding)
{
    std::string e;
    for (char c : encoding)
        e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return e.empty() || e == "UTF-8" || e == "UTF8";
}

std::string SystemError(int error) { return std::strerror(error); }

bool KnownEncoding(const std::string &encoding)
{
    if (IsUtf8Name(encoding))
        return true;
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr)
        return false;
    xmlCharEncCloseFunc(handler);
    return true;
}

[[noreturn]] void RaiseUnknownEncoding(const std::string &encoding)
{
    throw EXMLLayerError("The document cannot be written: unknown encoding \"" + encoding + "\"");
}

} // namespace

std::string EncodeText(std::string_view text, const std::string &encoding)
{
    if (IsUtf8Name(encoding))
        return std::string(text);
    std::string out;
    CapturedError error;
    StructuredErrorScope capture(&error);
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
    if (handler == nullptr)
        RaiseUnknownEncoding(encoding);
    // The output buffer writes the byte-order mark and turns characters the
    // encoding lacks into character references, as a document save does.
    xmlOutputBufferPtr buffer = xmlOutputBufferCreateIO(AppendToString, CloseNothing, &out, handler);
    if (buffer == nullptr) {
        xmlCharEncCloseFunc(handler);
        RaiseUnknownEncoding(encoding);
    }
    bool ok = true;
    constexpr size_t kChunk = 1 << 20;
    for (size_t at = 0; ok && at < text.size(); at += kChunk) {
        const size_t length = std::min(kChunk, text.size() - at);
        ok = xmlOutputBufferWrite(buffer, static_cast<int>(length), text.data() + at) >= 0;
    }
    if (xmlOutputBufferClose(buffer) < 0)
        ok = false;
    if (!ok)
        throw EXMLLayerError("The text cannot be written in encoding \"" + encoding + "\"" +
                             (error.HasError() ? ": " + error.reason : std::string()));
    return out;
}

std::string OutputEncoding(xmlDocPtr doc)
{
    xmlNodePtr pi = DeclarationPI(doc);
    std::string encoding =
        pi ? DeclarationValue("encoding", pi->content ? reinterpret_cast<const char *>(pi->content) : "", "") : "";
    return encoding.empty() ? "UTF-8" : encoding;
}

std::string SerialiseDocument(xmlDocPtr doc, const std::string &encoding)
{
    std::string out;
    CapturedError error;
    StructuredErrorScope capture(&error);
    if (!KnownEncoding(encoding))
        RaiseUnknownEncoding(encoding);
    xmlSaveCtxtPtr save = xmlSaveToIO(AppendToString, CloseNothing, &out, encoding.c_str(), XML_SAVE_NO_DECL);
    if (save == nullptr)
        throw EXMLLayerError("The document cannot be written in encoding \"" + encoding + "\"");
    xmlSaveSetEscape(save, EscapeText);
    long result = xmlSaveDoc(save, doc);
    xmlSaveClose(save);
    if (result < 0)
        throw EXMLLayerError("The document cannot be written in encoding \"" + encoding + "\"" +
                             (error.HasError() ? ": " + error.reason : std::string()));
    return out;
}

std::string SerialiseNode(xmlDocPtr doc, xmlNodePtr node)
{
    std::string out;
    CapturedError error;
    StructuredErrorScope capture(&error);
    xmlSaveCtxtPtr save = xmlSaveToIO(AppendToString, CloseNothing, &out, "UTF-8", XML_SAVE_NO_DECL);
    if (save == nullptr)
        return out;
    xmlSaveSetEscape(save, EscapeText);
    if (node->type == XML_DOCUMENT_NODE)
        xmlSaveDoc(save, doc);
    else
        xmlSaveTree(save, node);
    xmlSaveClose(save);
    return out;
}

void WriteFileAtomically(const std::string &path, std::string_view bytes)
{
    namespace fs = std::filesystem;
    if (path.empty())
        throw EXMLLayerError("The document cannot be saved: no file name was given");
    std::error_code ec;
    fs::path target(path);
    // Write through a symbolic link to the file it names.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    mode_t mode = 0666;
    struct stat old {};
    bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed) {
        if (S_ISDIR(old.st_mode))
            throw EXMLLayerError("Cannot save \"" + path + "\": it is a folder");
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw EXMLLayerError("Cannot save \"" + path + "\": " + SystemError(errno));
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(name.data());
        throw EXMLLayerError("Cannot save \"" + path + "\": " + SystemError(error));
    };
    const char *p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0)
        fail(errno);
    // Keep the owner too where we may (saving as root someone else's file).
    if (existed && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) [[maybe_unused]]
        int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    if (::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(name.data());
        throw EXMLLayerError("Cannot save \"" + path + "\": " + SystemError(error));
    }
    if (::rename(name.data(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(name.data());
        throw EXMLLayerError("Cannot save \"" + path + "\": " + SystemError(error));
    }
    // Make the rename itself durable.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace tarnwick::xml::libxml2
