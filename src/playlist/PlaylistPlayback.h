#pragma once

#include "controls/CListItem.h"
#include "playback/PlaybackPeers.h"
#include "playlist/PlayOrder.h"
#include "playlist/PlaylistStore.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <optional>

class EngineMedia;
class ctlPlayer;
class frmPlayer;

// The player window as the entry points need it: where it is (the video
// window opens beside it), its video button, and the docking check of its
// magnetic manager once the video window has moved.
struct PlayerWindowAccess {
    std::function<QRect()> Bounds;
    PlayerWindowControls* Controls = nullptr;
    std::function<void()> CheckGlueing;
};

// The playback entry points: they act on the current list and item of the
// playlist window (PlayerState's CurrentListKey / CurrentItemKey) and drive
// the engine of the video window. The video window is reached through
// `videoWindow`, which makes it the first time it is asked for.
//
// A list whose items all fail does not cycle for ever: after as many items
// as the list holds were handed to the engine without one starting, moving
// on stops and StatusText says so. This holds in every play mode: each
// mode reaches every item within as many steps as the list holds.
//
// Next, previous and the end of an item follow the play mode (PlayOrder).
// The default mode moves the list's selection, as it always did; the others
// move from the playing item.
class PlaylistPlayback : public QObject, public PlaybackEntryPoints, public SongListRows {
    Q_OBJECT
public:
    PlaylistPlayback(PlaylistStore& store, std::function<frmPlayer&()> videoWindow,
                     PlayerWindowAccess playerWindow, QObject* parent = nullptr);

    void EnsureCurrentSelection();
    // Plays the current item from its start, or resumes it when the engine
    // holds it paused. A current item key that names no item of the current
    // list plays the list's first item (nothing when the list is empty).
    void PlayCurrentItem() override;
    void StopPlayback() override;
    void PausePlayback();
    // The next item of the play mode (in the default mode the next row, the
    // last row again at the end), then plays it; stops when the mode ends.
    void PlayNextItem() override;
    // The item after the one that ended: as PlayNextItem, except that one
    // song repeats itself, and "stop after the current song" stops here.
    void PlayAfterEnd() override;
    // The previous item of the play mode (in the default mode the previous
    // row, the first row again at the top), then plays it.
    void PlayPreviousItem();
    void SetMute(bool flag);

    PlayMode Mode() const { return m_order.Mode(); }
    void SetMode(PlayMode mode);
    // One-shot: the next end of an item stops playback and clears it.
    bool StopAfterCurrent() const { return m_stopAfterCurrent; }
    void SetStopAfterCurrent(bool flag);

    // SongListRows
    void setItemTime(const QString& itemKey, const QString& time) override;

    // Why playback stopped on its own, or what a list command did; empty
    // while all is well.
    QString StatusText() const { return m_statusText; }
    // Says `text` in the status area until playback has news of its own.
    void ShowStatus(const QString& text);

signals:
    void StatusTextChanged(const QString& text);
    // An item is being handed to the engine to play from its beginning.
    void ItemStarting(const CMediaInfo& item);
    void ModeChanged(PlayMode mode);
    void StopAfterCurrentChanged(bool flag);

private:
    frmPlayer& Video();
    ctlPlayer& Player();
    PlaylistStore::Record CurrentRecord();
    void ShowVideoFor(frmPlayer& video, MediaKind kind);
    bool StoppedAfterAFullPass();
    void SetStatusText(const QString& text);
    void OnStatusChange();
    void OnMediaOpened(const EngineMedia& media);
    void StepTo(const std::optional<CListItem>& row);
    void Move(PlayOrder::Event event);

    PlaylistStore& m_store;
    PlayerState& m_state;
    std::function<frmPlayer&()> m_videoWindow;
    PlayerWindowAccess m_playerWindow;
    QPointer<ctlPlayer> m_watched;
    // Stop was asked for since the last item was started. The engine stops
    // asynchronously, so its play state may still say "paused".
    bool m_stopRequested = false;
    // Items handed to the engine since one last started playing.
    qsizetype m_unstarted = 0;
    QString m_statusText;
    PlayOrder m_order;
    bool m_stopAfterCurrent = false;
};
