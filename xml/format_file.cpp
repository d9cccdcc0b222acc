// Reading a document file whole and formatting its text.
#include "xml/format_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "xml/declaration.h"
#include "xml/pretty_printer.h"
#include "xml/transcode.h"
#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

std::string ReadBytes(const std::string &path)
{
    auto fail = [&](int error) {
        return EXMLLayerError("The file \"" + path + "\" cannot be opened: " + std::strerror(error));
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw fail(EISDIR);
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        throw fail(errno);
    std::string bytes;
    // Sized from the file, with room to notice that it grew.
    const auto size = std::filesystem::file_size(path, ec);
    bytes.resize(ec ? 65536 : static_cast<size_t>(size) + 1);
    size_t done = 0;
    for (;;) {
        done += std::fread(bytes.data() + done, 1, bytes.size() - done, file.get());
        if (std::ferror(file.get()))
            throw fail(errno);
        if (done < bytes.size())
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

std::string FormatXMLFile(const std::string &path, const std::string &encoding)
{
    std::string bytes = ReadBytes(path);
    const std::string form = DetectDocumentEncoding(bytes);
    const std::string text = DecodeToUtf8(std::move(bytes), form);
    // An empty editor formats to a declaration, but an empty file holds no
    // document to format.
    if (text.empty())
        throw EXMLLayerError("The file \"" + path + "\" holds no document: it is empty");
    std::string declared = encoding.empty() ? DeclaredEncoding(text) : encoding;
    const std::string folder = std::filesystem::absolute(path).parent_path().string();
    return FormatXML(text, declared.empty() ? "UTF-8" : declared, folder);
}

} // namespace tarnwick::xml
