#pragma once

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playlist/PlaylistStore.h"
#include "winsvc/Prompts.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

// Prompts answered from a script: the input box returns `input` (cancelled
// when unset), the open dialog returns `files`; messages are recorded.
class ScriptedPrompts : public Prompts {
public:
    QStringList messages;
    std::optional<QString> input;
    QStringList files;
    QStringList inputPrompts;

    void MsgBox(const QString& text, const QString& = QString()) override { messages << text; }
    bool Ask(const QString& text, const QString& = QString()) override {
        messages << text;
        return false;
    }
    std::optional<QString> InputBox(const QString& prompt, const QString&,
                                    const QString&) override {
        inputPrompts << prompt;
        return input;
    }
    QStringList OpenFiles(const QString&, const QString&, const QStringList&, bool) override {
        return files;
    }
};

// A store over two real list controls, its files in `folder`.
struct PlaylistRig {
    ctlList lists;
    ctlList songs;
    PlayerState state;
    ScriptedPrompts prompts;
    PlaylistStore store{lists, songs, state, prompts};

    explicit PlaylistRig(const QString& folder) {
        lists.SetIsLeft(true);
        lists.resize(120, 300);
        songs.resize(240, 300);
        store.SetFolder(folder);
    }

    // "title|time|key" for each row, in order.
    static QStringList Rows(const ctlList& list) {
        QStringList rows;
        for (int i = 1; i <= list.Count(); ++i) {
            const CListItem item = *list.ItemData(i);
            rows << item.iTitle + u'|' + item.iTime + u'|' + item.iData.toString();
        }
        return rows;
    }

    // "title=path" for each item of a list.
    QStringList Lines(const QString& listKey) const {
        QStringList lines;
        for (const auto& item : store.Items(listKey))
            lines << item->Title + u'=' + item->Path;
        return lines;
    }

    // Waits until the background reading is done.
    bool WaitForItemInfo(int timeoutMs = 10000) {
        if (store.InfoReader().Pending() == 0)
            return true;
        QSignalSpy idle(&store.InfoReader(), &ItemInfoReader::Idle);
        return idle.wait(timeoutMs) || store.InfoReader().Pending() == 0;
    }
};

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}
