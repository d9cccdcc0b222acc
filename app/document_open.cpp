#include "app/document_open.h"

#include "app/long_work.h"
#include "app/xml_commands.h"
#include "editor/document/line_reader.h"
#include "xml/streamed_open.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace tarnwick;

namespace {

// The serialisation goes straight into lines, the head put before the
// children once the parse has ended.
class LinesAssembly : public xml::TTextAssembly {
public:
    explicit LinesAssembly(TLineReader &reader) : reader_(reader) {}
    void Append(std::string_view text) override { reader_.Append(text); }
    void Surround(std::string_view head, std::string_view tail) override
    {
        reader_.Prepend(head);
        reader_.Append(tail);
    }

private:
    TLineReader &reader_;
};

// The line feeds of a file: about as many lines as its text will have, so
// the lines are made in room of the right size and never moved.
size_t CountLineFeeds(const std::string &path)
{
    struct Close {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Close> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return 0;
    std::string buffer(1 << 20, '\0');
    size_t count = 0;
    while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get()))
        count += static_cast<size_t>(std::count(buffer.data(), buffer.data() + n, '\n'));
    return count;
}

} // namespace

std::vector<REdoDodiStrings::TStoredLine> ReadDocumentLines(LongWork &work, xml::TXMLDocument &document,
                                                            const QString &path, int tabSize)
{
    const std::string file = path.toStdString();
    std::vector<REdoDodiStrings::TStoredLine> lines;
    work.Run(QStringLiteral("Opening %1").arg(QFileInfo(path).fileName()), [&](TWorkProgress &progress) {
        ReleaseDocument(document);
        {
            TLineReader reader(tabSize, CountLineFeeds(file) + 1);
            LinesAssembly assembly(reader);
            const auto read = [&progress](size_t done, size_t total) {
                progress.SetFraction(total > 0 ? static_cast<double>(done) / static_cast<double>(total) : -1);
            };
            if (xml::StreamDocumentText(file, document.ParseOptions(), assembly, read)) {
                lines = reader.Finish();
                return;
            }
        }
        progress.SetFraction(-1);
        document.LoadFile(file);
        document.SetActive(true);
        TLineReader reader(tabSize);
        reader.Append(document.XML().Text());
        ReleaseDocument(document);
        lines = reader.Finish();
    });
    return lines;
}
