#include "lyrics/frmLyricWindow.h"

#include "controls/ModMask.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "lyrics/ctlLyrics.h"
#include "skin/LyricSkinApply.h"
#include "skin/ModSkinApply.h"
#include "skin/NinePiece.h"
#include "skin/SkinImages.h"
#include "skin/SkinStore.h"
#include "winsvc/Prompts.h"
#include "winsvc/WindowDragger.h"
#include "winsvc/cMagneticWnd.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QUrl>

namespace {

// The first local ".lrc" file of a drag; empty when it holds none.
QString droppedLyricsFile(const QMimeData* data) {
    if (!data)
        return QString();
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.endsWith(QLatin1String(".lrc"), Qt::CaseInsensitive))
            return path;
    }
    return QString();
}

} // namespace

frmLyricWindow::frmLyricWindow(SkinStore& skins, Prompts& prompts, QWidget* player,
                               cMagneticWnd* magnetic, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_skins(skins), m_prompts(prompts),
      m_player(player), m_magnetic(magnetic) {
    setWindowTitle(QStringLiteral("LRC歌词"));
    m_view = new ctlLyrics(this);
    m_view->setObjectName(QStringLiteral("ctlLyrics"));
    m_view->SetMessage(QStringLiteral("没有歌词"));
    m_cmdClose = new ctlButton(this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setToolTip(QStringLiteral("关闭"));
    m_imgResize = new QWidget(this);
    m_imgResize->setObjectName(QStringLiteral("imgResize"));
    m_imgResize->resize(kGripSize, kGripSize);
    m_imgResize->setCursor(Qt::SizeFDiagCursor);
    m_TransForm = new TransFormCtl(this);
    m_dragger = new WindowDragger(this);
    m_dragger->AddSizeGrip(m_imgResize);
    setAcceptDrops(true);
    connect(m_cmdClose, &ctlButton::Click, this, &frmLyricWindow::closeRequested);
}

frmLyricWindow::~frmLyricWindow() {
    if (m_magnetic)
        m_magnetic->RemoveWindow(this);
}

bool frmLyricWindow::Load() {
    if (m_magnetic && m_player)
        m_magnetic->AddWindow(this, m_player);
    return ReLoadSkin();
}

bool frmLyricWindow::ReLoadSkin() {
    if (!m_skins.HasSkin())
        return false;
    const SkinInfo& skin = m_skins.Skin();
    const QString& name = m_skins.CurrentSkinName();
    if (skin.LyricWindow) {
        if (TakeFrame(*skin.LyricWindow)) {
            m_ownFrame = true;
            return true;
        }
    } else if (!skin.LyricWindowError.isEmpty()) {
        m_prompts.MsgBox(QStringLiteral("皮肤 %1 的歌词窗口无法使用，改用播放列表窗口的外观：%2")
                             .arg(name, skin.LyricWindowError));
    }
    m_ownFrame = false;
    return TakeFrame(LyricWindowSkins::FromPlaylistWindow(skin.PlaylistWindow));
}

// Loads the pictures of `frame` and puts it on; a picture of the skin's own
// frame that cannot be loaded is reported (the caller falls back).
bool frmLyricWindow::TakeFrame(const LyricWindowSkin& frame) {
    const QString& name = m_skins.CurrentSkinName();
    auto images = std::make_unique<SkinImages>(ModSkinApply::SkinFolder(m_skins, name));
    if (!ModSkinApply::LoadLyricWindowImages(frame, *images)) {
        m_prompts.MsgBox(ModSkinApply::BrokenSkinMessage(name, images->FailedFile()));
        return false;
    }
    m_images = std::move(images);
    m_frame = frame;
    m_picSave = m_images->Image(frame.Image);
    m_TransForm->SetMaskColor(m_skins.Skin().TransparentColor);
    const PlaylistColors& c = m_skins.Colors();
    // As in the lists, a selection colour of 0 counts as "not given": white.
    m_view->SetColors(c.ColorText, c.ColorSelect == 0 ? 0xFFFFFF : c.ColorSelect, c.ColorBkgnd);
    const QSize designed(frame.Position.Width(), frame.Position.Height());
    setMinimumSize(designed);
    const bool first = !m_applied;
    m_applied = true;
    resize(first ? designed : size().expandedTo(designed));
    Relayout();
    return true;
}

void frmLyricWindow::resizeEvent(QResizeEvent*) {
    Relayout();
}

void frmLyricWindow::Relayout() {
    if (!m_applied)
        return;
    LyricWindowParts parts{*this, *m_cmdClose, *m_view};
    ModSkinApply::ApplyLyricWindowSkin(m_frame, m_skins.Skin().TransparentColor, *m_images, parts);
    m_imgResize->move(width() - m_imgResize->width(), height() - m_imgResize->height());
    m_imgResize->raise();
    m_picture =
        NinePiece::Compose(m_picSave, QSize(m_frame.Position.Width(), m_frame.Position.Height()),
                           m_frame.ResizeRect, size(), m_skins.Skin().TransparentColor);
    m_TransForm->SetForm();
    update();
}

QImage frmLyricWindow::Snapshot() {
    return ModMask::ShapedSnapshot(this);
}

void frmLyricWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    ModMask::DrawPicture(painter, m_picture, event->region());
}

void frmLyricWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedLyricsFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmLyricWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedLyricsFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    emit lyricsFileDropped(path);
}
