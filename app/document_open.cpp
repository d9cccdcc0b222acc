#include "app/document_open.h"

#include "app/long_work.h"
#include "editor/document/line_reader.h"
#include "xml/file_text_stream.h"
#include "xml/xml_errors.h"

#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

using namespace tarnwick;

namespace {

// A decoded text goes to the reader a slice at a time, so the strip can show how far it got.
constexpr size_t kSlice = size_t{1} << 20;
// The bytes a line takes on average, for room made before the lines are read.
constexpr size_t kGuessedLineBytes = 40;

// The window opens regular files only: opening a pipe waits for a writer,
// and a device (/dev/zero) may never end.
void RefuseSpecialFile(const std::string &file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || S_ISREG(status.st_mode))
        return; // a missing file is reported by the read
    const char *why = S_ISDIR(status.st_mode)    ? "it is a folder"
                      : S_ISFIFO(status.st_mode) ? "it is a named pipe, not a file"
                      : S_ISSOCK(status.st_mode) ? "it is a socket, not a file"
                                                 : "it is a device, not a file";
    throw xml::EXMLLayerError("The file \"" + file + "\" cannot be opened: " + why + ".");
}

void RefuseNul(std::string_view text, const std::string &file)
{
    if (std::memchr(text.data(), '\0', text.size()))
        throw xml::EXMLLayerError("The file \"" + file +
                                  "\" cannot be opened: it holds NUL characters, so it is no text file.");
}

} // namespace

OpenedDocument ReadDocumentLines(LongWork &work, const QString &path)
{
    const std::string file = path.toStdString();
    RefuseSpecialFile(file);
    OpenedDocument opened;
    work.Run(QStringLiteral("Opening %1").arg(QFileInfo(path).fileName()), [&](TWorkProgress &progress) {
        std::error_code ec;
        const size_t size = static_cast<size_t>(std::filesystem::file_size(file, ec));
        // UTF-8, as most files are, is cut into lines as it is read: the
        // whole text is never held beside its lines.
        {
            TLineReader reader(ec ? 0 : size / kGuessedLineBytes);
            const std::optional<xml::TFileFormat> format = xml::StreamUtf8FileText(
                file,
                [&](std::string_view text) {
                    RefuseNul(text, file);
                    reader.Append(text);
                },
                [&](size_t done, size_t total) {
                    progress.SetFraction(total > 0 ? static_cast<double>(done) / static_cast<double>(total) : -1);
                });
            if (format) {
                opened.lines = reader.Finish();
                opened.format = *format;
                return;
            }
        }
        // Any other file is decoded whole, as its mark or declaration says.
        xml::TFileText read = xml::ReadFileText(file);
        RefuseNul(read.text, file);
        const std::string_view text = read.text;
        TLineReader reader(text.size() / kGuessedLineBytes);
        for (size_t at = 0; at < text.size(); at += kSlice) {
            reader.Append(text.substr(at, kSlice));
            progress.SetFraction(static_cast<double>(at) / static_cast<double>(text.size()));
        }
        opened.lines = reader.Finish();
        opened.format = std::move(read.format);
    });
    return opened;
}
