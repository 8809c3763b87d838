#include "playlist/frmPlaylistWindow.h"

#include "controls/ModMask.h"
#include "controls/PictureSurface.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "controls/ctlList.h"
#include "controls/ctlListItem.h"
#include "controls/ctlToolbar.h"
#include "playback/PlayerState.h"
#include "playlist/DropTexts.h"
#include "skin/ModSkinApply.h"
#include "skin/NinePiece.h"
#include "skin/PlaylistSkinApply.h"
#include "skin/SkinImages.h"
#include "skin/SkinStore.h"
#include "winsvc/Prompts.h"
#include "winsvc/WindowDragger.h"
#include "winsvc/cMagneticWnd.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace {

const QString kCaption = QStringLiteral("播放列表");
constexpr int kGripSize = 12;

// The rows are designed for a 12-pixel font whose durations fill the time
// label exactly ("03:21" in 30 pixels). Where the font at hand draws digits
// wider, it is narrowed until a duration fits, instead of losing its first
// digit.
QFont ListFont(QFont font) {
    font.setPixelSize(frmPlaylistWindow::kListFontPixels);
    int widest = 0;
    for (const char* sample : {"00:00", "59:59", "88:88"}) {
        widest = std::max(widest, QFontMetrics(font).horizontalAdvance(QLatin1String(sample)));
    }
    const int room = ctlListItem::kTimeWidth;
    if (widest > room) {
        font.setStretch(std::max(50, 100 * room / widest));
    }
    return font;
}

} // namespace

frmPlaylistWindow::frmPlaylistWindow(SkinStore& skins, Prompts& prompts, PlayerState& state,
                                     QWidget* player, cMagneticWnd* magnetic, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_skins(skins), m_prompts(prompts),
      m_state(state), m_player(player), m_magnetic(magnetic) {
    setWindowTitle(kCaption);
    CreateControls();
    m_dragger = new WindowDragger(this);
    m_dragger->AddSizeGrip(m_imgResize);
    ConnectControls();
}

frmPlaylistWindow::~frmPlaylistWindow() {
    if (m_magnetic) {
        m_magnetic->RemoveWindow(this);
    }
}

void frmPlaylistWindow::CreateControls() {
    const QFont listFont = ListFont(font());
    m_ctlListLeft = new ctlList(this);
    m_ctlListLeft->setObjectName(QStringLiteral("ctlListLeft"));
    m_ctlList1 = new ctlList(this);
    m_ctlList1->setObjectName(QStringLiteral("ctlList1"));
    for (ctlList* list : {m_ctlListLeft, m_ctlList1}) {
        list->setFont(listFont);
        list->SetFont(listFont);
    }
    m_ctlListLeft->SetIsLeft(true);

    m_picLine = new QWidget(this);
    m_picLine->setObjectName(QStringLiteral("picLine"));
    m_picLine->setCursor(Qt::SplitHCursor);
    m_picLine->resize(kSplitterWidth, 1);
    m_picLine->installEventFilter(this);

    m_imgTitle = new PictureSurface(this);
    m_imgTitle->setObjectName(QStringLiteral("imgTitle"));
    m_cmdClose = new ctlButton(this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setToolTip(QStringLiteral("关闭"));
    m_ctlToolbar = new ::ctlToolbar(this);
    m_ctlToolbar->setObjectName(QStringLiteral("ctlToolbar"));

    // The grip is drawn by the skin's background; this only takes the press.
    m_imgResize = new QWidget(this);
    m_imgResize->setObjectName(QStringLiteral("imgResize"));
    m_imgResize->resize(kGripSize, kGripSize);
    m_imgResize->setCursor(Qt::SizeFDiagCursor);

    m_txtEdit = new QLineEdit(this);
    m_txtEdit->setObjectName(QStringLiteral("txtEdit"));
    m_txtEdit->setFont(listFont);
    m_txtEdit->setFrame(false);
    m_txtEdit->hide();
    m_txtEdit->installEventFilter(this);

    m_TransForm = new TransFormCtl(this);

    // The window's keys come first, whichever control has the focus; the
    // rename box keeps its own.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child != m_txtEdit && !child->isWindow()) {
            child->installEventFilter(this);
        }
    }
    for (ctlList* list : {m_ctlListLeft, m_ctlList1}) {
        list->setAcceptDrops(true);
    }
}

void frmPlaylistWindow::ConnectControls() {
    connect(m_ctlListLeft, &ctlList::Click, this, &frmPlaylistWindow::OnPlaylistClicked);
    connect(m_ctlList1, &ctlList::Click, this,
            [this](const QString& key) { m_state.CurrentItemKey = key; });
    connect(m_ctlList1, &ctlList::DBClick, this, &frmPlaylistWindow::songActivated);
    connect(m_ctlList1, &ctlList::MouseDown, this,
            [this](const QString&, int button, int, float x, float y) {
                if (button == 2) {
                    emit songContextMenuRequested(m_ctlList1->mapToGlobal(QPoint(int(x), int(y))));
                }
            });
    connect(m_cmdClose, &ctlButton::Click, this, &frmPlaylistWindow::closeRequested);
    connect(m_txtEdit, &QLineEdit::returnPressed, this, &frmPlaylistWindow::CommitRename);
}

PlaylistWindowParts frmPlaylistWindow::Parts() {
    return PlaylistWindowParts{.window = *this,
                               .picSave = m_picSave,
                               .ctlListLeft = *m_ctlListLeft,
                               .ctlList1 = *m_ctlList1,
                               .picLine = *m_picLine,
                               .cmdClose = *m_cmdClose,
                               .ctlToolbar = *m_ctlToolbar};
}

bool frmPlaylistWindow::Load() {
    if (m_magnetic && m_player) {
        m_magnetic->AddWindow(this, m_player);
    }
    if (!ReLoadSkin()) {
        return false;
    }
    PlaceUnderPlayer();
    if (m_magnetic) {
        m_magnetic->CheckGlueing(); // placed edge to edge under the player: glued to it
    }
    return true;
}

void frmPlaylistWindow::PlaceUnderPlayer() {
    const SkinRect& P = m_skins.Skin().PlaylistWindow.Position;
    const QRect player = m_player ? m_player->geometry() : QRect();
    setGeometry(player.x() + P.Left, player.y() + P.Top, std::max(player.width(), P.Width()),
                P.Height());
}

bool frmPlaylistWindow::ReLoadSkin() {
    if (!m_skins.HasSkin()) {
        return false;
    }
    const QString& name = m_skins.CurrentSkinName();
    const PlaylistWindowSkin& p = m_skins.Skin().PlaylistWindow;
    auto images = std::make_unique<SkinImages>(ModSkinApply::SkinFolder(m_skins, name));
    if (!ModSkinApply::LoadPlaylistWindowImages(p, *images)) {
        m_prompts.MsgBox(ModSkinApply::BrokenSkinMessage(name, images->FailedFile()));
        return false;
    }
    m_images = std::move(images);
    m_picSave = m_images->Image(p.Image);
    const QImage title = m_images->Image(p.Title.Image);
    m_imgTitle->SetPicture(title, ModMask::MaskRegion(title, m_skins.Skin().TransparentColor));
    m_imgTitle->setVisible(!title.isNull());
    m_TransForm->SetMaskColor(m_skins.Skin().TransparentColor);
    if (!m_applied) {
        // The playlists list starts this wide; afterwards the user moves it.
        m_picLine->move(p.Playlist.Position.Left + kPlaylistsWidth, p.Playlist.Position.Top);
    }
    m_applied = true;
    const QSize designed(p.Position.Width(), p.Position.Height());
    setMinimumSize(designed);
    resize(size().expandedTo(designed));
    Relayout();
    return true;
}

void frmPlaylistWindow::resizeEvent(QResizeEvent*) {
    Relayout();
}

void frmPlaylistWindow::Relayout() {
    if (!m_applied || m_inLayout) {
        return;
    }
    m_inLayout = true;
    m_picLine->move(ClampSplitter(m_picLine->x()), m_picLine->y());
    LayOutControls();
    Compose();
    m_inLayout = false;
}

void frmPlaylistWindow::LayOutControls() {
    // The colour file is read again at every layout; a bad value in it was
    // already reported when the skin loaded, so layouts read it quietly.
    SilentPrompts quiet;
    const PlaylistColors colors =
        ModSkinApply::ReadPlaylistColors(m_skins, m_skins.CurrentSkinName(), quiet);
    m_skins.SetColors(colors);
    PlaylistWindowParts parts = Parts();
    ModSkinApply::ApplyPlaylistWindowSkin(m_skins.Skin(), colors, *m_images, parts);
    m_imgResize->move(width() - m_imgResize->width(), height() - m_imgResize->height());
    const PlaylistWindowSkin& p = m_skins.Skin().PlaylistWindow;
    m_imgTitle->move((width() - m_imgTitle->width()) / 2, p.Title.Position.Top);
    m_imgResize->raise();
}

void frmPlaylistWindow::Compose() {
    const SkinInfo& skin = m_skins.Skin();
    const PlaylistWindowSkin& p = skin.PlaylistWindow;
    m_picture = NinePiece::Compose(m_picSave, QSize(p.Position.Width(), p.Position.Height()),
                                   p.ResizeRect, size(), skin.TransparentColor);
    m_TransForm->SetForm();
    m_ctlToolbar->SetPicBackImg(m_picture);
    update();
}

QImage frmPlaylistWindow::Snapshot() {
    return ModMask::ShapedSnapshot(this);
}

void frmPlaylistWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    ModMask::DrawPicture(painter, m_picture, event->region());
}

// What the controls receive: the rename box's Enter and focus, the window's
// keys, the splitter's mouse, the lists' drags and drops.

bool frmPlaylistWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtEdit) {
        const auto* key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        const bool enter = key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        if (enter || event->type() == QEvent::FocusOut) {
            CommitRename();
        }
        // Enter ends here: passed on, it would play the selected song.
        return enter;
    }
    if (event->type() == QEvent::KeyPress) {
        return OnKey(*static_cast<QKeyEvent*>(event));
    }
    if (watched == m_picLine) {
        return OnSplitterEvent(event);
    }
    if (watched == m_ctlListLeft || watched == m_ctlList1) {
        return OnDragEvent(static_cast<ctlList*>(watched), event);
    }
    return QWidget::eventFilter(watched, event);
}

// The splitter.

bool frmPlaylistWindow::OnSplitterEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return true;
        }
        m_splitterDragging = true;
        m_splitterGrabX = int(mouse->position().x());
        return true;
    }
    case QEvent::MouseMove:
        if (m_splitterDragging) {
            const int x = int(static_cast<QMouseEvent*>(event)->position().x());
            MoveSplitterTo(m_picLine->x() - m_splitterGrabX + x);
        }
        return true;
    case QEvent::MouseButtonRelease:
        m_splitterDragging = false;
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_splitterDragging = false;
            ToggleSplitter();
        }
        return true;
    default:
        return false;
    }
}

// The splitter stays inside the list area (between the playlists list's left
// edge and the songs list's right edge), so neither list gets a negative
// width, also when the window narrows or another skin has another list area.
int frmPlaylistWindow::ClampSplitter(int left) const {
    const PlaylistWindowSkin& p = m_skins.Skin().PlaylistWindow;
    const int a = p.Playlist.Position.Left;
    const int b = width() - (p.Position.Width() - p.Playlist.Position.Right);
    return std::clamp(left, a, std::max(a, b - m_picLine->width()));
}

void frmPlaylistWindow::MoveSplitterTo(int left) {
    const int clamped = ClampSplitter(left);
    if (clamped != m_picLine->x()) {
        m_picLine->move(clamped, m_picLine->y());
        Relayout();
    }
}

void frmPlaylistWindow::ToggleSplitter() {
    const int collapsed = m_skins.Skin().PlaylistWindow.Playlist.Position.Left;
    if (m_picLine->x() <= collapsed) {
        // Nothing saved yet (collapsed by dragging): back to the start width.
        const int restore =
            m_savedSplitterLeft > collapsed ? m_savedSplitterLeft : collapsed + kPlaylistsWidth;
        MoveSplitterTo(restore);
    } else {
        m_savedSplitterLeft = m_picLine->x();
        MoveSplitterTo(collapsed);
    }
}

// Choosing and renaming playlists.

void frmPlaylistWindow::OnPlaylistClicked(const QString& key) {
    if (key == m_state.CurrentListKey) {
        OpenRename(key);
        return;
    }
    m_txtEdit->hide();
    m_state.CurrentListKey = key;
    emit playlistChosen(key);
}

void frmPlaylistWindow::OpenRename(const QString& key) {
    const QRect row = m_ctlListLeft->Reveal(key);
    const std::optional<CListItem> item = m_ctlListLeft->ItemData(key);
    if (row.isNull() || !item) {
        return;
    }
    m_renameKey = key;
    m_txtEdit->setGeometry(m_ctlListLeft->x() + row.x(), m_ctlListLeft->y() + row.y(),
                           m_ctlListLeft->width(), m_txtEdit->sizeHint().height());
    m_txtEdit->setText(item->iTitle);
    m_txtEdit->show();
    m_txtEdit->raise();
    m_txtEdit->setFocus();
    m_txtEdit->selectAll();
}

void frmPlaylistWindow::CommitRename() {
    if (m_txtEdit->isHidden()) {
        return; // already committed (Enter, then the focus left)
    }
    m_txtEdit->hide();
    const QString key = m_renameKey;
    std::optional<CListItem> row = m_ctlListLeft->ItemData(key);
    if (!row) {
        return;
    }
    row->iTitle = m_txtEdit->text();
    m_ctlListLeft->SetItemData(key, *row);
    emit playlistRenamed(key, row->iTitle);
}

// Until the user clicks a list none is current: F2 then renames the one
// marked (the list shown).
void frmPlaylistWindow::RenameCurrentPlaylist() {
    QString key = m_state.CurrentListKey;
    if (key.isEmpty()) {
        const std::optional<CListItem> marked = m_ctlListLeft->SelectItem();
        key = marked ? marked->iData.toString() : QString();
    }
    OpenRename(key);
}

// Keys.

void frmPlaylistWindow::keyPressEvent(QKeyEvent* event) {
    if (!OnKey(*event)) {
        QWidget::keyPressEvent(event);
    }
}

bool frmPlaylistWindow::OnKey(const QKeyEvent& key) {
    if (m_txtEdit->isVisible()) {
        return false;
    }
    if (key.matches(QKeySequence::SelectAll)) {
        m_ctlList1->SelectAll();
        return true;
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !shift) {
        return false;
    }
    using Step = CListWindow::Step;
    static const std::pair<int, Step> steps[] = {
        {Qt::Key_Up, Step::Up},         {Qt::Key_Down, Step::Down},
        {Qt::Key_PageUp, Step::PageUp}, {Qt::Key_PageDown, Step::PageDown},
        {Qt::Key_Home, Step::Home},     {Qt::Key_End, Step::End}};
    for (const auto& [code, step] : steps) {
        if (key.key() == code) {
            const QString item = m_ctlList1->MoveCursor(step, shift);
            if (!item.isEmpty()) {
                m_state.CurrentItemKey = item; // as a click on it would
            }
            return true;
        }
    }
    if (shift) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const QString item = m_ctlList1->CursorKey(); !item.isEmpty()) {
            emit songActivated(item);
        }
        return true;
    case Qt::Key_Delete:
        emit deleteRequested();
        return true;
    case Qt::Key_F2:
        RenameCurrentPlaylist();
        return true;
    default:
        return false;
    }
}

// Drops. The cursor shows a copy wherever the drop may give something, and
// no drop at all otherwise.

bool frmPlaylistWindow::OnDragEvent(ctlList* list, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
        m_dropUsable = DropTexts::MayHold(*static_cast<QDragEnterEvent*>(event)->mimeData());
        [[fallthrough]];
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (m_dropUsable && (drag->possibleActions() & Qt::CopyAction)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop:
        return OnDrop(list, *static_cast<QDropEvent*>(event));
    default:
        return false;
    }
}

bool frmPlaylistWindow::OnDrop(ctlList* list, QDropEvent& event) {
    const DropTexts::Result dropped = DropTexts().Read(*event.mimeData());
    if (dropped.texts.isEmpty() || !(event.possibleActions() & Qt::CopyAction)) {
        event.ignore();
        return true;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    // On the playlists: the list under the pointer, else the shown one.
    const QString listKey =
        list == m_ctlListLeft ? list->KeyAt(event.position().toPoint()) : QString();
    emit itemsDropped(listKey, dropped.texts);
    if (dropped.capped) {
        // Told once the drop is over: the source waits for its end.
        QTimer::singleShot(0, this, [this] {
            m_prompts.MsgBox(
                QStringLiteral("拖入的文件夹太大，只添加了前面找到的媒体文件（最多%1个）")
                    .arg(DropTexts::kMaxFiles));
        });
    }
    return true;
}
