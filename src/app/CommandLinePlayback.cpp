#include "app/CommandLinePlayback.h"

#include "playback/FormatDuration.h"
#include "playback/frmPlayer.h"
#include "playback/modFile.h"
#include "winsvc/DisplayText.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace {

// A value from outside the program (the item's text, a tag) as it may be
// printed: cut to a readable length and without control characters.
QString forTerminal(const QString& value) {
    return DisplayText::ForTerminal(DisplayText::Quote(value));
}

} // namespace

CommandLinePlayback::CommandLinePlayback(const QString& item, PlayerWindowControls* window)
    : m_text(item), m_window(window), m_out(stdout) {
}

CommandLinePlayback::~CommandLinePlayback() {
    m_state.IsExiting = true;
}

bool CommandLinePlayback::start() {
    const PathKind kind = modFile::GetPathKind(m_text);
    if (kind == PathKind::OwnLink || kind == PathKind::PpstreamLink) {
        QTextStream(stderr) << forTerminal(m_text)
                            << QStringLiteral(": 链接需要在线搜索，此版本尚不支持\n");
        return false;
    }
    m_player = std::make_unique<frmPlayer>(m_state, PlaybackPeers{*this, *this, *this});
    connect(m_player->ctlPlayer1(), &ctlPlayer::MediaError, this, [this] {
        m_failed = true;
        QTextStream(stderr) << forTerminal(m_text) << QStringLiteral(" 无法播放\n");
    });

    auto item = std::make_shared<CMediaInfo>();
    item->Path = m_text;
    item->Source = MediaSource(int(kind));
    item->Types = modFile::GetMediaKind(m_text);
    item->Key = QStringLiteral("0");
    const EngineMedia info = m_player->ctlPlayer1()->newMedia(m_text);
    item->Title = info.getItemInfo(QStringLiteral("title"));
    if (item->Title.isEmpty())
        item->Title = modFile::GetFileTitle(m_text);
    m_state.CurrentMedia = item;
    PlayCurrentItem();
    return true;
}

void CommandLinePlayback::PlayCurrentItem() {
    const std::shared_ptr<CMediaInfo> item = m_state.CurrentMedia;
    m_player->MediaTitle = item->Title;
    m_out << QStringLiteral("正在播放: ") << forTerminal(item->Title) << Qt::endl;
    if (item->Types == MediaKind::Video)
        m_player->show();
    m_player->ctlPlayer1()->setFileName(item->Path);
}

void CommandLinePlayback::StopPlayback() {
    m_player->ctlPlayer1()->Stop1();
}

void CommandLinePlayback::PlayNextItem() {
    // There is only the one item; with a player window the program goes on
    // (showing the stopped state) until the user ends it there.
    if (m_window)
        return;
    // Finish after the current event, so that every handler of a failure has
    // run and is counted in the exit code.
    QTimer::singleShot(0, this, [this] { finish(m_failed ? 1 : 0); });
}

void CommandLinePlayback::setPlayVisible(bool visible) {
    if (m_window)
        m_window->setPlayVisible(visible);
}

void CommandLinePlayback::setPauseVisible(bool visible) {
    if (m_window)
        m_window->setPauseVisible(visible);
}

void CommandLinePlayback::setEqualizerSelected(bool selected) {
    if (m_window) {
        m_window->setEqualizerSelected(selected);
        return;
    }
    // The video window was closed by the user: without a player window that
    // ends the program.
    if (!selected)
        finish(0);
}

void CommandLinePlayback::setProgressMax(int max) {
    m_max = max;
    if (m_window)
        m_window->setProgressMax(max);
}

void CommandLinePlayback::setProgressValue(int value) {
    if (m_window)
        m_window->setProgressValue(value);
}

void CommandLinePlayback::setVolumeValue(int value) {
    if (m_window)
        m_window->setVolumeValue(value);
}

void CommandLinePlayback::setLedText(const QString& text) {
    if (m_window) {
        m_window->setLedText(text);
        return;
    }
    m_out << '\r' << DisplayText::ForTerminal(text);
    if (m_max > 0)
        m_out << QStringLiteral(" / ") << FormatDuration(m_max);
    m_out << "   " << Qt::flush;
}

void CommandLinePlayback::finish(int code) {
    m_out << Qt::endl;
    m_exitCode = code;
    m_state.IsExiting = true;
    QCoreApplication::exit(code);
}
