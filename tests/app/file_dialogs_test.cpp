// The Open and Save as dialogs offer XML files under their usual names and all
// files, and start in the folder of the current (else the last used) file.
#include "app/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FileDialogs, OfferXmlFilesAndAllFilesAndStartNearTheDocument)
{
    QTemporaryDir folder;
    const QString docs = folder.filePath(QStringLiteral("docs"));
    QDir().mkpath(docs);
    for (const char *name : {"a.xml", "B.XML", "c.svg", "d.xsd", "e.xsl", "f.conf"})
        QFile(docs + QLatin1Char('/') + QLatin1String(name)).open(QIODevice::WriteOnly);
    const QString current = docs + QStringLiteral("/a.xml");
    const QString recent = folder.filePath(QStringLiteral("elsewhere.xml"));

    QFileDialog open;
    PrepareOpenDialog(open, {current, recent});
    const QStringList filters = open.nameFilters();
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[1], QStringLiteral("All files (*)"));
    const QString patterns = QRegularExpression(QStringLiteral("^XML files \\((.*)\\)$")).match(filters[0]).captured(1);
    EXPECT_EQ(QDir(docs).entryList(patterns.split(QLatin1Char(' ')), QDir::Files, QDir::Name),
              (QStringList{"B.XML", "a.xml", "c.svg", "d.xsd", "e.xsl"}));
    EXPECT_EQ(open.directory().absolutePath(), docs);

    QFileDialog save;
    PrepareSaveDialog(save, {current, recent});
    EXPECT_EQ(save.selectedFiles().value(0), current) << "Save as proposes the file itself";
    QFileDialog fresh;
    PrepareSaveDialog(fresh, {QString(), recent});
    EXPECT_EQ(fresh.directory().absolutePath(), folder.path()) << "without a file, the last used one's folder";
}

} // namespace
