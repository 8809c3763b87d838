#include "app/FolderAdder.h"

#include "playlist/DropTexts.h"
#include "playlist/MediaAdder.h"
#include "winsvc/Prompts.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QThread>

struct FolderAdder::WalkState {
    QString Folder;
    std::function<QString()> ListKey;
    std::atomic_bool Cancel{false};
    std::atomic_int Found{0};
    DropTexts::Result Result;
    QElapsedTimer Clock;
    QThread* Thread = nullptr;
};

namespace {

// The progress window waits this long: a small folder is added without one.
constexpr int kProgressAfterMs = 500;

} // namespace

FolderAdder::FolderAdder(MediaAdder& adder, Prompts& prompts, QWidget* parent)
    : QObject(parent), m_adder(adder), m_prompts(prompts), m_parent(parent) {
    m_tick.setInterval(100);
    connect(&m_tick, &QTimer::timeout, this, &FolderAdder::ShowProgress);
}

FolderAdder::~FolderAdder() {
    if (m_state) {
        m_state->Cancel = true;
        m_state->Thread->wait();
    }
    delete m_progress;
}

void FolderAdder::ChooseAndAdd(std::function<QString()> listKey) {
    if (Busy())
        return;
    if (const std::optional<QString> folder = m_prompts.ChooseFolder(QStringLiteral("添加文件夹")))
        Add(*folder, std::move(listKey));
}

void FolderAdder::Add(const QString& folder, std::function<QString()> listKey) {
    if (Busy())
        return;
    auto state = std::make_shared<WalkState>();
    state->Folder = folder;
    state->ListKey = std::move(listKey);
    state->Clock.start();
    m_state = state;
    state->Thread = QThread::create([state] {
        state->Result = DropTexts(kMaxFiles, kMaxEntries)
                            .ReadFolder(state->Folder, &state->Cancel, &state->Found);
    });
    state->Thread->setParent(this);
    connect(state->Thread, &QThread::finished, this, [this, state] { Land(state); });
    state->Thread->start();
    m_tick.start();
}

void FolderAdder::ShowProgress() {
    if (!m_state || m_state->Clock.elapsed() < kProgressAfterMs)
        return;
    if (!m_progress) {
        m_progress = new QProgressDialog(m_parent);
        m_progress->setWindowTitle(QStringLiteral("添加文件夹"));
        m_progress->setCancelButtonText(QStringLiteral("取消"));
        m_progress->setRange(0, 0);
        m_progress->setMinimumDuration(0);
        const std::weak_ptr<WalkState> walking = m_state;
        connect(m_progress, &QProgressDialog::canceled, this, [walking] {
            if (const auto state = walking.lock())
                state->Cancel = true;
        });
        m_progress->show();
    }
    m_progress->setLabelText(QStringLiteral("已找到%1个媒体文件").arg(m_state->Found.load()));
}

void FolderAdder::Land(const std::shared_ptr<WalkState>& state) {
    if (state != m_state)
        return;
    m_tick.stop();
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
    m_state.reset();
    state->Thread->deleteLater();
    const bool cancelled = state->Cancel.load();
    const QStringList keys =
        cancelled ? QStringList() : m_adder.AddDropped(state->Result.texts, state->ListKey());
    if (m_report)
        m_report(cancelled ? QStringLiteral("已取消添加文件夹")
                           : QStringLiteral("添加了%1个文件").arg(keys.size()));
    emit Finished(int(keys.size()), cancelled);
}
