#include "playlist/PlaylistPlayback.h"

#include "controls/ctlList.h"
#include "playback/frmPlayer.h"

PlaylistPlayback::PlaylistPlayback(PlaylistStore& store, std::function<frmPlayer&()> videoWindow,
                                   PlayerWindowAccess playerWindow, QObject* parent)
    : QObject(parent), m_store(store), m_state(store.State()),
      m_videoWindow(std::move(videoWindow)), m_playerWindow(std::move(playerWindow)) {
}

frmPlayer& PlaylistPlayback::Video() {
    frmPlayer& video = m_videoWindow();
    if (m_watched != video.ctlPlayer1()) {
        m_watched = video.ctlPlayer1();
        connect(m_watched, &ctlPlayer::StatusChange, this, &PlaylistPlayback::OnStatusChange);
        connect(m_watched, &ctlPlayer::MediaChange, this, &PlaylistPlayback::OnMediaOpened);
    }
    return video;
}

ctlPlayer& PlaylistPlayback::Player() {
    return *Video().ctlPlayer1();
}

void PlaylistPlayback::OnStatusChange() {
    if (m_watched && m_watched->playState() == MediaEngine::Playing) {
        m_unstarted = 0;
        SetStatusText(QString());
        if (m_state.CurrentMedia)
            m_state.CurrentMedia->PlayFailed = false;
    }
}

void PlaylistPlayback::OnMediaOpened(const EngineMedia& media) {
    // Names in neither type list (.mp4, .mkv, .webm...) are told apart by
    // what the engine found in the file: a film needs its window as much as
    // an .avi does, and a song should not leave an empty one standing.
    const PlaylistStore::Record& current = m_state.CurrentMedia;
    if (!current || current->Types != MediaKind::Other)
        return;
    const bool moving = media.getItemInfo(QStringLiteral("HasVideo")) == QLatin1String("1");
    ShowVideoFor(Video(), moving ? MediaKind::Video : MediaKind::Audio);
}

void PlaylistPlayback::ShowStatus(const QString& text) {
    SetStatusText(text);
}

void PlaylistPlayback::SetStatusText(const QString& text) {
    if (text == m_statusText)
        return;
    m_statusText = text;
    emit StatusTextChanged(text);
}

void PlaylistPlayback::EnsureCurrentSelection() {
    m_store.EnsureCurrentSelection();
}

PlaylistStore::Record PlaylistPlayback::CurrentRecord() {
    PlaylistStore::Record record = m_store.GetMedia(m_state.CurrentListKey, m_state.CurrentItemKey);
    if (record)
        return record;
    // The key names no item of this list (another list was chosen, or the
    // item was removed): its first item is meant, not the engine's last file.
    const PlaylistStore::Records& items = m_store.Items(m_state.CurrentListKey);
    if (items.empty())
        return nullptr;
    record = items.front();
    m_state.CurrentItemKey = record->Key;
    if (m_store.ShownListKey() == m_state.CurrentListKey)
        m_store.Songs().SelectItem(record->Key);
    return record;
}

void PlaylistPlayback::PlayCurrentItem() {
    EnsureCurrentSelection();
    const PlaylistStore::Record record = CurrentRecord();
    if (!record)
        return;
    // A link item that failed over to its next candidate keeps that address.
    m_store.NoteChanged();
    const PlaylistStore::Record previous = m_state.CurrentMedia;
    m_state.CurrentMedia = record;
    frmPlayer& video = Video();
    ctlPlayer& player = *video.ctlPlayer1();
    // Only the item the engine holds paused is resumed; after a stop, or for
    // another item, the item starts from its beginning.
    const bool resume =
        !m_stopRequested && previous == record && player.playState() == MediaEngine::Paused;
    if (!resume) {
        if (!m_state.PlaybackStarted)
            player.Controls().stop();
        emit ItemStarting(*record);
        player.setFileName(record->Path);
        ++m_unstarted;
    }
    m_stopRequested = false;
    player.Controls().play();
    video.MediaTitle = record->Title;
    ShowVideoFor(video, record->Types);
}

void PlaylistPlayback::ShowVideoFor(frmPlayer& video, MediaKind kind) {
    PlayerWindowControls* controls = m_playerWindow.Controls;
    if (kind == MediaKind::Video && !video.isVisible()) {
        if (m_playerWindow.Bounds) {
            const QRect bounds = m_playerWindow.Bounds();
            video.move(bounds.x() + bounds.width(), bounds.y());
        }
        video.show();
        if (m_playerWindow.CheckGlueing)
            m_playerWindow.CheckGlueing();
        if (controls)
            controls->setEqualizerSelected(true);
    } else if (kind == MediaKind::Audio && video.isVisible()) {
        video.hide();
        if (controls)
            controls->setEqualizerSelected(false);
    }
}

void PlaylistPlayback::StopPlayback() {
    m_stopRequested = true;
    Player().Controls().stop();
}

void PlaylistPlayback::PausePlayback() {
    Player().Controls().pause();
}

bool PlaylistPlayback::StoppedAfterAFullPass() {
    const qsizetype count = qsizetype(m_store.Items(m_state.CurrentListKey).size());
    if (m_unstarted == 0 || m_unstarted < count)
        return false;
    // Every item of the list was tried and none started: moving on would
    // only cycle through the failures again.
    m_unstarted = 0;
    StopPlayback();
    SetStatusText(QStringLiteral("列表中的项目都无法播放"));
    return true;
}

void PlaylistPlayback::StepTo(const std::optional<CListItem>& row) {
    if (row)
        m_state.CurrentItemKey = row->iData.toString();
    StopPlayback();
    PlayCurrentItem();
}

void PlaylistPlayback::Move(PlayOrder::Event event) {
    EnsureCurrentSelection();
    if (StoppedAfterAFullPass())
        return;
    if (m_order.Mode() == PlayMode::Default) {
        ctlList& songs = m_store.Songs();
        StepTo(event == PlayOrder::Event::Previous ? songs.PrevItem() : songs.NextItem());
        return;
    }
    QStringList keys;
    for (const PlaylistStore::Record& record : m_store.Items(m_state.CurrentListKey))
        keys << record->Key;
    const std::optional<QString> key = m_order.Step(event, keys, m_state.CurrentItemKey);
    if (!key) {
        StopPlayback();
        return;
    }
    m_state.CurrentItemKey = *key;
    if (m_store.ShownListKey() == m_state.CurrentListKey)
        m_store.Songs().SelectItem(*key);
    StepTo(std::nullopt);
}

void PlaylistPlayback::PlayNextItem() {
    Move(PlayOrder::Event::Next);
}

void PlaylistPlayback::PlayAfterEnd() {
    if (m_stopAfterCurrent) {
        SetStopAfterCurrent(false);
        StopPlayback();
        return;
    }
    Move(PlayOrder::Event::Ended);
}

void PlaylistPlayback::PlayPreviousItem() {
    Move(PlayOrder::Event::Previous);
}

void PlaylistPlayback::SetMode(PlayMode mode) {
    if (mode == m_order.Mode())
        return;
    m_order.SetMode(mode);
    emit ModeChanged(mode);
}

void PlaylistPlayback::SetStopAfterCurrent(bool flag) {
    if (flag == m_stopAfterCurrent)
        return;
    m_stopAfterCurrent = flag;
    emit StopAfterCurrentChanged(flag);
}

void PlaylistPlayback::SetMute(bool flag) {
    Player().settings().setMute(flag);
}

void PlaylistPlayback::setItemTime(const QString& itemKey, const QString& time) {
    ctlList& songs = m_store.Songs();
    std::optional<CListItem> row = songs.ItemData(itemKey);
    if (!row)
        return;
    row->iTime = time;
    songs.SetItemData(itemKey, *row);
}
