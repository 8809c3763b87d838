#pragma once

#include "skin/PlaylistWindowParts.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class PictureSurface;
class QDropEvent;
class QKeyEvent;
class Prompts;
class QLineEdit;
class SkinImages;
class SkinStore;
class TransFormCtl;
class WindowDragger;
class cMagneticWnd;
class ctlButton;
class ctlList;
class ctlToolbar;
struct PlayerState;

// The playlist window: the list of playlists (ctlListLeft) beside the songs
// of the shown one (ctlList1), split by a movable bar (picLine), under a
// centred title picture and a close button, with the toolbar and a resize
// grip in the bottom-right corner. Frameless and shaped; its picture is the
// skin's background composed to the window's size from nine pieces, and the
// skin's designed size is its minimum size.
//
// The window does not know the playlist store or the engine. It keeps the
// selection in PlayerState (CurrentListKey, CurrentItemKey) and reports what
// the store or playback must do through its signals.
//
// Moving: press on the body or the title. Sizing: press on the grip.
// Splitter: drag it (it stays between the lists' outer edges), double-click
// to collapse the playlists list and again to bring it back. Clicking the
// current playlist again opens a rename box over its row (F2 as well); Enter
// or leaving the box writes the name into the row.
//
// Keys, seen before any control of the window gets them (a clicked row keeps
// the focus): Enter plays the selected song, Delete asks to remove the
// selected songs, Up/Down/Home/End/PageUp/PageDown move the songs' selection
// (Shift extends it), Ctrl+A selects every song. Files, folders, addresses
// and links dropped on either list are reported, as texts, for the list they
// go to; a drop that holds nothing usable is refused.
class frmPlaylistWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture)
public:
    // Width of the splitter bar and of the playlists list before the user
    // moves the splitter, in pixels.
    static constexpr int kSplitterWidth = 3;
    static constexpr int kPlaylistsWidth = 90;
    // The list font: the rows are designed for it ("03:21" fits whole).
    static constexpr int kListFontPixels = 12;

    // `player` is the window this one is placed under and glued to;
    // `magnetic` the manager of the player window's docking (may be null).
    frmPlaylistWindow(SkinStore& skins, Prompts& prompts, PlayerState& state, QWidget* player,
                      cMagneticWnd* magnetic = nullptr, QWidget* parent = nullptr);
    ~frmPlaylistWindow() override;

    // Registers the window with the magnetic manager, applies the store's
    // current skin and places the window under the player window as the skin
    // designs it, glued to it. False (the user told why) when a picture of the skin cannot be
    // loaded.
    bool Load();

    // Applies the store's current skin again (after the skin changed). When
    // one of its pictures cannot be loaded the user is told, the window
    // stays exactly as it was and false is returned.
    bool ReLoadSkin();

    // The composed picture the window shows and is shaped to.
    QImage Picture() const { return m_picture; }
    // What the window shows, with the pixels outside its shape transparent.
    QImage Snapshot();

    ctlList* ctlListLeft() const { return m_ctlListLeft; }
    ctlList* ctlList1() const { return m_ctlList1; }
    QWidget* picLine() const { return m_picLine; }
    PictureSurface* imgTitle() const { return m_imgTitle; }
    ctlButton* cmdClose() const { return m_cmdClose; }
    ::ctlToolbar* ctlToolbar() const { return m_ctlToolbar; }
    QWidget* imgResize() const { return m_imgResize; }
    QLineEdit* txtEdit() const { return m_txtEdit; }
    WindowDragger* Dragger() const { return m_dragger; }

    // The splitter position the next collapse-restore returns to.
    int SavedSplitterLeft() const { return m_savedSplitterLeft; }

signals:
    // The user chose another playlist; CurrentListKey already holds it.
    void playlistChosen(const QString& key);
    // A playlist was renamed in its row (the title may be empty).
    void playlistRenamed(const QString& key, const QString& title);
    // A song was double-clicked: play it from its beginning.
    void songActivated(const QString& key);
    // The songs list was right-clicked at `globalPos`.
    void songContextMenuRequested(const QPoint& globalPos);
    // The close button was clicked.
    void closeRequested();
    // Delete was pressed: the selected songs are to go.
    void deleteRequested();
    // Texts from a drop (DropTexts) go to the end of the list `listKey`;
    // empty: the list the songs list shows.
    void itemsDropped(const QString& listKey, const QStringList& texts);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void ConnectControls();
    PlaylistWindowParts Parts();
    void PlaceUnderPlayer();
    void Relayout();
    void Compose();
    void LayOutControls();
    bool OnSplitterEvent(QEvent* event);
    int ClampSplitter(int left) const;
    void MoveSplitterTo(int left);
    void ToggleSplitter();
    void OnPlaylistClicked(const QString& key);
    void OpenRename(const QString& key);
    void RenameCurrentPlaylist();
    void CommitRename();
    bool OnKey(const QKeyEvent& key);
    bool OnDragEvent(ctlList* list, QEvent* event);
    bool OnDrop(ctlList* list, QDropEvent& event);

    SkinStore& m_skins;
    Prompts& m_prompts;
    PlayerState& m_state;
    QPointer<QWidget> m_player;
    QPointer<cMagneticWnd> m_magnetic;
    std::unique_ptr<SkinImages> m_images;
    QImage m_picSave;
    QImage m_picture;
    bool m_applied = false;
    bool m_inLayout = false;

    TransFormCtl* m_TransForm = nullptr;
    ctlList* m_ctlListLeft = nullptr;
    ctlList* m_ctlList1 = nullptr;
    QWidget* m_picLine = nullptr;
    PictureSurface* m_imgTitle = nullptr;
    ctlButton* m_cmdClose = nullptr;
    ::ctlToolbar* m_ctlToolbar = nullptr;
    QWidget* m_imgResize = nullptr;
    QLineEdit* m_txtEdit = nullptr;
    WindowDragger* m_dragger = nullptr;

    bool m_splitterDragging = false;
    int m_splitterGrabX = 0;
    int m_savedSplitterLeft = 0;
    QString m_renameKey;
    // Whether the drag over the window holds anything to add.
    bool m_dropUsable = false;
};
