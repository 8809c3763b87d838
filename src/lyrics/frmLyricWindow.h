#pragma once

#include "skin/LyricWindowSkin.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class Prompts;
class SkinImages;
class SkinStore;
class TransFormCtl;
class WindowDragger;
class cMagneticWnd;
class ctlButton;
class ctlLyrics;

// The lyrics window: the lines (ctlLyrics) in a frameless, shaped window in
// the current skin's look, with a close button and a resize grip in the
// bottom-right corner. Its frame is the skin's "lyric_window" or, for a skin
// without a usable one (a broken one is reported), the playlist window's
// background without the title, toolbar and lists. The skin's designed size
// is its minimum size. Moving: press on the frame (or on the lines when there
// is nothing to click). A lyrics file dropped on the window is reported.
class frmLyricWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture)
public:
    static constexpr int kGripSize = 12;

    // `player` is the window this one is glued to; `magnetic` may be null.
    frmLyricWindow(SkinStore& skins, Prompts& prompts, QWidget* player,
                   cMagneticWnd* magnetic = nullptr, QWidget* parent = nullptr);
    ~frmLyricWindow() override;

    // Registers with the magnetic manager (glued to the player window and
    // what is glued to it) and applies the current skin. False (the user
    // told why) when the skin's pictures cannot be loaded.
    bool Load();
    // Applies the store's current skin again. False, the window unchanged,
    // when not even the playlist window's pictures can be loaded.
    bool ReLoadSkin();

    QImage Picture() const { return m_picture; }
    QImage Snapshot();
    // The description in use (the skin's own or the derived one).
    const LyricWindowSkin& Frame() const { return m_frame; }
    bool UsesOwnFrame() const { return m_ownFrame; }

    ctlLyrics* View() const { return m_view; }
    ctlButton* cmdClose() const { return m_cmdClose; }
    QWidget* imgResize() const { return m_imgResize; }

signals:
    void closeRequested();
    // A lyrics file was dropped on the window.
    void lyricsFileDropped(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool TakeFrame(const LyricWindowSkin& frame);
    void Relayout();

    SkinStore& m_skins;
    Prompts& m_prompts;
    QPointer<QWidget> m_player;
    QPointer<cMagneticWnd> m_magnetic;
    std::unique_ptr<SkinImages> m_images;
    LyricWindowSkin m_frame;
    bool m_ownFrame = false;
    QImage m_picSave;
    QImage m_picture;
    bool m_applied = false;

    TransFormCtl* m_TransForm = nullptr;
    ctlLyrics* m_view = nullptr;
    ctlButton* m_cmdClose = nullptr;
    QWidget* m_imgResize = nullptr;
    WindowDragger* m_dragger = nullptr;
};
