// The installed tree: `cmake --install` into a temporary prefix gives the
// program, a desktop entry that starts it and passes the validator, the
// window's own icon in the hicolor theme, and the XML types the entry opens.
#include "app/application_icon.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Exit code (-1 when it did not finish) and merged output.
std::pair<int, QString> RunProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(InstalledTree, HoldsTheProgramItsValidEntryItsIconAndTheXmlTypes)
{
    QTemporaryDir prefix;
    const auto [status, log] =
        RunProgram(QStringLiteral(TARNWICK_CMAKE), {QStringLiteral("--install"), QStringLiteral(TARNWICK_BUILD_DIR),
                                                    QStringLiteral("--prefix"), prefix.path()});
    ASSERT_EQ(status, 0) << log.toStdString();

    const QString program = prefix.filePath(QStringLiteral("bin/tarnwick"));
    EXPECT_TRUE(RunProgram(program, {QStringLiteral("--version")}).second.startsWith(QLatin1String("tarnwick ")));

    const QString entryPath = prefix.filePath(QStringLiteral("share/applications/tarnwick.desktop"));
    const QByteArray entry = Contents(entryPath);
    EXPECT_TRUE(entry.contains("\nExec=\"" + program.toUtf8() + "\" %f\n")) << entry.toStdString();
    EXPECT_TRUE(entry.contains("\nIcon=tarnwick\n"));
    EXPECT_TRUE(entry.contains("\nMimeType=application/xml;text/xml;\n"));
    if (const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        !validator.isEmpty()) {
        const auto [valid, complaints] = RunProgram(validator, {entryPath});
        EXPECT_EQ(valid, 0);
        EXPECT_TRUE(complaints.trimmed().isEmpty()) << complaints.toStdString();
    }

    // The theme's icon is the picture the window shows.
    const QByteArray icon = Contents(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/tarnwick.svg")));
    EXPECT_FALSE(icon.isEmpty());
    EXPECT_EQ(icon, Contents(QStringLiteral(":/tarnwick.svg")));
    EXPECT_FALSE(ApplicationIcon().pixmap(48, 48).isNull());

    const QByteArray types = Contents(prefix.filePath(QStringLiteral("share/mime/packages/tarnwick.xml")));
    EXPECT_TRUE(types.contains("<mime-type type=\"application/xml\">"));
    EXPECT_TRUE(types.contains("<alias type=\"text/xml\"/>"));
    EXPECT_TRUE(types.contains("<glob pattern=\"*.xml\"/>"));
    // Where the desktop's cache tool ran, the prefix's cache ties both types
    // to the entry: that is what file managers read.
    const QByteArray cache = Contents(prefix.filePath(QStringLiteral("share/applications/mimeinfo.cache")));
    if (!cache.isEmpty()) {
        EXPECT_TRUE(cache.contains("\napplication/xml=tarnwick.desktop;")) << cache.toStdString();
        EXPECT_TRUE(cache.contains("\ntext/xml=tarnwick.desktop;")) << cache.toStdString();
    }
}

} // namespace
