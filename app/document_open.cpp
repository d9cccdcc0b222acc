#include "app/document_open.h"

#include "app/long_work.h"
#include "editor/document/line_reader.h"
#include "xml/xml_errors.h"

#include <QFileInfo>

#include <algorithm>

using namespace tarnwick;

namespace {

// The text goes to the reader a slice at a time, so the strip can show how far it got.
constexpr size_t kSlice = size_t{1} << 20;

} // namespace

OpenedDocument ReadDocumentLines(LongWork &work, const QString &path)
{
    const std::string file = path.toStdString();
    OpenedDocument opened;
    work.Run(QStringLiteral("Opening %1").arg(QFileInfo(path).fileName()), [&](TWorkProgress &progress) {
        xml::TFileText read = xml::ReadFileText(file);
        const std::string &text = read.text;
        if (text.find('\0') != std::string::npos)
            throw xml::EXMLLayerError("The file \"" + file + "\" cannot be opened: it holds NUL characters, so it is no text file.");
        TLineReader reader(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
        for (size_t at = 0; at < text.size(); at += kSlice) {
            reader.Append(std::string_view(text).substr(at, kSlice));
            progress.SetFraction(static_cast<double>(at) / static_cast<double>(text.size()));
        }
        std::string().swap(read.text);
        opened.lines = reader.Finish();
        opened.format = std::move(read.format);
    });
    return opened;
}
