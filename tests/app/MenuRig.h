#pragma once

// The whole program in the test's own process: PlayerApp started in a
// temporary program folder whose skin folder links the build's skins, with
// prompts that record what they are asked and answer as the test says.
#include "app/PlayerApp.h"
#include "skin/RecordingPrompts.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

class AnsweringPrompts : public RecordingPrompts {
public:
    bool answer = false;
    QStringList files;
    std::optional<QString> input;
    QStringList titles;
    bool Ask(const QString& text, const QString& title = QString()) override {
        messages << text;
        titles << title;
        return answer;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return input;
    }
    QStringList OpenFiles(const QString&, const QString&, const QStringList&, bool) override {
        return files;
    }
    std::optional<QString> folder;
    std::optional<QString> ChooseFolder(const QString&) override { return folder; }
    std::optional<QString> saveAs;
    std::optional<QString> SaveFileName(const QString&, const QStringList&) override {
        return saveAs;
    }
};

struct MenuRig {
    QTemporaryDir home;
    AnsweringPrompts prompts;
    std::unique_ptr<PlayerApp> app;

    // The build's skins, each linked into the home's own skin folder so a
    // test may add skins of its own beside them.
    MenuRig() {
        // A test that quits the program closes every window; the test's own
        // event loops must go on running afterwards.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        TestProgram::UseInThisProcess(home.path());
        const QString linked = home.filePath(QStringLiteral("skin"));
        const QString built = QFileInfo(linked).symLinkTarget();
        QFile::remove(linked);
        QDir(home.path()).mkdir(QStringLiteral("skin"));
        for (const QString& name : QDir(built).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QFile::link(built + QLatin1Char('/') + name, linked + QLatin1Char('/') + name);
    }

    bool Start() {
        app = std::make_unique<PlayerApp>(prompts);
        return app->Start();
    }

    QString SkinsDir() const { return home.filePath(QStringLiteral("skin")); }
};
