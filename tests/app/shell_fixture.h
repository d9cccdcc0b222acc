// A main window shown offscreen, with message boxes and file dialogs answered
// by the test instead of a person.
#pragma once

#include "app/main_window.h"
#include "app/message_helpers.h"
#include "editor/control/redodi.h"
#include "xml/libxml2_vendor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
        SetMessageSink([this](MessageKind kind, const QString &text) {
            messages.push_back({kind, text});
            return exitAnswer;
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
    }

    QString WriteFile(const QString &name, const QByteArray &bytes) { return WriteTestFile(folder, name, bytes); }

    static QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Open(const QString &path)
    {
        nextOpenPath = path;
        window->Run(CommandId::Open);
    }

    std::string EditorText() { return window->Editor().Lines()->Text(); }
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
    bool exitAnswer = false;
};
