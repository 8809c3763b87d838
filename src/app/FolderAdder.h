#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

class MediaAdder;
class Prompts;
class QProgressDialog;
class QWidget;

// "文件夹(&P)...": the media files of a chosen folder and its subfolders go
// to a list. The folder is walked on a worker thread (a big tree takes
// seconds), with a small progress window that shows once the walk has taken
// half a second and whose cancel ends it; the files found are then added as
// a drop of them would be, lengths filling in in the background.
class FolderAdder : public QObject {
    Q_OBJECT
public:
    // Far beyond any music folder; only memory is the limit below it.
    static constexpr int kMaxFiles = 1000000;
    static constexpr int kMaxEntries = 10000000;

    FolderAdder(MediaAdder& adder, Prompts& prompts, QWidget* parent);
    ~FolderAdder() override;

    // Asks for a folder; `listKey` gives the list to add to when the walk ends.
    void ChooseAndAdd(std::function<QString()> listKey);
    // Walks `folder` and adds its files (no dialog).
    void Add(const QString& folder, std::function<QString()> listKey);
    bool Busy() const { return m_state != nullptr; }
    // Where the count of added files is told.
    void SetReporter(std::function<void(const QString&)> report) { m_report = std::move(report); }

signals:
    // The walk ended and its files were added (`added` rows).
    void Finished(int added, bool cancelled);

private:
    struct WalkState;
    void Land(const std::shared_ptr<WalkState>& state);
    void ShowProgress();

    MediaAdder& m_adder;
    Prompts& m_prompts;
    QWidget* m_parent;
    std::shared_ptr<WalkState> m_state;
    QPointer<QProgressDialog> m_progress;
    QTimer m_tick;
    std::function<void(const QString&)> m_report;
};
