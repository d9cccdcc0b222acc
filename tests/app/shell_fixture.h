// A main window shown offscreen, with message boxes, file dialogs and the
// desktop's URL opener answered by the test instead of a person.
#pragma once

#include "app/main_window.h"
#include "app/message_helpers.h"
#include "app/shell_links.h"
#include "editor/control/redodi.h"
#include "xml/libxml2_vendor.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

// Writes `bytes` to `name` in `folder` and returns the file's path.
inline QString WriteTestFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

class ShellTest : public testing::Test {
protected:
    struct Message {
        MessageKind kind;
        QString text;
    };

    void SetUp() override
    {
        tarnwick::xml::RegisterLibxml2Vendor();
        // What the shell keeps between runs (recent files, window geometry)
        // goes to the test's folder, never to the user's settings.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.filePath(QStringLiteral("settings")));
        SetMessageSink([this](MessageKind kind, const QString &text) {
            messages.push_back({kind, text});
            switch (kind) {
            case MessageKind::ExitQuestion:
            case MessageKind::SaveChangesQuestion:
            case MessageKind::SaveAsItIsQuestion:
                return answer;
            default:
                return MessageAnswer::Ok;
            }
        });
        SetUrlOpener([this](const QUrl &url) {
            openedUrls.push_back(url);
            return browserStarts;
        });
        window = std::make_unique<TForm1>();
        window->ChooseOpenFile = [this] { return nextOpenPath; };
        window->ChooseSaveFile = [this] { return nextSavePath; };
        window->show();
    }

    void TearDown() override
    {
        window->hide();
        window.reset();
        SetMessageSink({});
        SetUrlOpener({});
    }

    QString WriteFile(const QString &name, const QByteArray &bytes) { return WriteTestFile(folder, name, bytes); }

    static QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A copy of tests/data/documents/`name` in the test's folder, so saving
    // never touches the original.
    QString CopyDocument(const QString &name)
    {
        return WriteFile(name, ReadFile(QStringLiteral(TARNWICK_TEST_DATA "/documents/") + name));
    }

    void Open(const QString &path)
    {
        nextOpenPath = path;
        window->Run(CommandId::Open);
    }

    std::string EditorText() { return window->Editor().Lines()->Text(); }
    // Inserts `text` at (col, line) as a paste does: one undoable edit.
    void InsertAt(int line, int col, const std::string &text)
    {
        tarnwick::REdoDodi &ed = window->Editor();
        ed.SetCaretLine(line);
        ed.SetCaretCol(col);
        ed.CollapseSelection();
        ed.InsertText(text);
    }
    QString Title() const { return window->windowTitle(); }

    // The text of the last message of that kind, or empty.
    QString Last(MessageKind kind) const
    {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->kind == kind)
                return it->text;
        return {};
    }

    QTemporaryDir folder;
    std::unique_ptr<TForm1> window;
    std::vector<Message> messages;
    QString nextOpenPath;
    QString nextSavePath;
    // What the user answers to every question: by default the changed
    // document at start-up is let go, as most tests open files right away.
    MessageAnswer answer = MessageAnswer::Discard;
    std::vector<QUrl> openedUrls;
    bool browserStarts = true;
};
