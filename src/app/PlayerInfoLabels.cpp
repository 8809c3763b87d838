#include "app/PlayerInfoLabels.h"

#include "app/frmPlayerWindow.h"
#include "playback/CMediaInfo.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"

#include <QFileInfo>
#include <QLabel>

PlayerInfoLabels::PlayerInfoLabels(frmPlayerWindow& window, PlaylistPlayback& playback)
    : m_window(window), m_playback(playback) {
    m_window.lbInfo()->setTextFormat(Qt::PlainText);
    m_window.lbStatus()->setTextFormat(Qt::PlainText);
    connect(&playback, &PlaylistPlayback::ItemStarting, this, [this](const CMediaInfo& item) {
        m_window.lbInfo()->setText(item.Title.isEmpty() ? QFileInfo(item.Path).fileName()
                                                        : item.Title);
    });
    connect(&playback, &PlaylistPlayback::StatusTextChanged, this, &PlayerInfoLabels::ShowStatus);
}

void PlayerInfoLabels::Watch(frmPlayer& video) {
    if (m_player == video.ctlPlayer1())
        return;
    m_player = video.ctlPlayer1();
    connect(m_player, &ctlPlayer::StatusChange, this, &PlayerInfoLabels::ShowStatus);
}

// Why playback stopped outlasts the engine's own "stopped" that follows it.
void PlayerInfoLabels::ShowStatus() {
    QString text = m_playback.StatusText();
    if (text.isEmpty() && m_player)
        text = m_player->status();
    m_window.lbStatus()->setText(text);
}
