#include "SkinLayout.h"

namespace skingen {

namespace {

constexpr int kWidth = 300;
constexpr int kPlayerHeight = 116;
constexpr int kPlaylistHeight = 200;

ButtonSpec button(const char* element, QRect rect, Icon icon, ButtonKind kind) {
    return {QString::fromLatin1(element), QString::fromLatin1(element) + ".bmp", rect, icon, kind};
}

// The caption buttons sit at the right end of the caption band.
void addCaptionButtons(PlayerLayout& l) {
    const QSize s(13, 12);
    const int y = 3, right = kWidth - 4;
    l.buttons.push_back(
        button("exit", QRect(QPoint(right - s.width(), y), s), Icon::Close, ButtonKind::Caption));
    l.buttons.push_back(button("minimize", QRect(QPoint(right - 2 * s.width() - 2, y), s),
                               Icon::Minimize, ButtonKind::Caption));
    l.buttons.push_back(button("minimode", QRect(QPoint(right - 3 * s.width() - 4, y), s),
                               Icon::Minimode, ButtonKind::Caption));
}

// Transport keys along the bottom left; play and pause share one place
// (only one of them shows at a time).
void addTransport(PlayerLayout& l, const Style& style) {
    const QSize s = style.roundTransport ? QSize(21, 21) : QSize(23, 18);
    const int y = style.roundTransport ? 83 : 85;
    const int step = s.width() + 1;
    int x = 8;
    l.buttons.push_back(button("prev", QRect(QPoint(x, y), s), Icon::Prev, ButtonKind::Transport));
    x += step;
    l.buttons.push_back(button("play", QRect(QPoint(x, y), s), Icon::Play, ButtonKind::Transport));
    l.buttons.push_back(
        button("pause", QRect(QPoint(x, y), s), Icon::Pause, ButtonKind::Transport));
    x += step;
    l.buttons.push_back(button("stop", QRect(QPoint(x, y), s), Icon::Stop, ButtonKind::Transport));
    x += step;
    l.buttons.push_back(button("next", QRect(QPoint(x, y), s), Icon::Next, ButtonKind::Transport));
    x += step + 4;
    l.buttons.push_back(button("open", QRect(QPoint(x, y), s), Icon::Eject, ButtonKind::Transport));
}

// Mute beside the volume slider, the three window toggles at the right.
void addToggles(PlayerLayout& l) {
    const QSize s(18, 14);
    const int y = 87;
    l.buttons.push_back(button("mute", QRect(140, y, 16, 14), Icon::Speaker, ButtonKind::Toggle));
    int x = kWidth - 8 - 3 * s.width() - 4;
    for (const auto& [name, icon] :
         {std::pair{"lyric", Icon::Lyric}, std::pair{"equalizer", Icon::Video},
          std::pair{"playlist", Icon::Playlist}}) {
        l.buttons.push_back(button(name, QRect(QPoint(x, y), s), icon, ButtonKind::Toggle));
        x += s.width() + 2;
    }
}

} // namespace

PlayerLayout MakePlayerLayout(const Style& style) {
    PlayerLayout l;
    l.size = QSize(kWidth, kPlayerHeight);
    l.title = QRect(2, 2, kWidth - 4, 14);
    l.panel = QRect(8, 19, kWidth - 16, 42);
    const int ledTop = l.panel.top() + 4;
    l.led = QRect(l.panel.left() + 4, ledTop, 6 * style.ledWidth, style.ledHeight);
    l.visual = QRect(l.led.left() + style.ledWidth, l.led.bottom() + 5, 5 * style.ledWidth - 2,
                     l.panel.bottom() - l.led.bottom() - 8);
    const int textLeft = l.led.right() + 10, textRight = l.panel.right() - 6;
    l.info = QRect(textLeft, l.panel.top() + 5, textRight - textLeft + 1, 13);
    l.stereo = QRect(textLeft, l.panel.top() + 24, 44, 12);
    l.status = QRect(l.stereo.right() + 7, l.stereo.top(), textRight - l.stereo.right() - 6, 12);
    l.progress = {"progress", QRect(8, 66, kWidth - 16, 10), QSize(24, 10), 6};
    l.volume = {"volume", QRect(162, 89, 64, 10), QSize(12, 10), 6};
    addCaptionButtons(l);
    addTransport(l, style);
    addToggles(l);
    return l;
}

PlaylistLayout MakePlaylistLayout(const Style&, const PlayerLayout& player) {
    PlaylistLayout l;
    l.position = QRect(0, player.size.height(), kWidth, kPlaylistHeight);
    l.title = QRect(2, 2, kWidth - 4, 14);
    const int titleWidth = 64;
    l.titleImage = QRect((kWidth - titleWidth) / 2, l.title.top(), titleWidth, l.title.height());
    l.listFrame = QRect(8, 19, kWidth - 16, 160);
    l.list = l.listFrame.adjusted(2, 2, -2, -2);
    l.close = button("close", QRect(kWidth - 4 - 13, 3, 13, 12), Icon::Close, ButtonKind::Caption);
    l.close.file = "pl_close.bmp";
    l.tools = {Icon::Add, Icon::Remove, Icon::List, Icon::Sort, Icon::Find, Icon::Edit, Icon::Mode};
    l.toolbar = QRect(8, l.listFrame.bottom() + 4, 7 * 22, 14);
    // Corners, the caption band and the toolbar band keep their pixels; the
    // middle (plain list panel and plain edges) stretches.
    l.resize = QRect(24, 24, kWidth - 48, kPlaylistHeight - 52);
    l.scrollCell = QSize(10, 10);
    l.scrollThumb = QSize(10, 20);
    return l;
}

PlaylistLayout MakeLyricLayout(const PlaylistLayout& playlist) {
    PlaylistLayout l = playlist;
    l.position = QRect(0, 0, kWidth, kPlaylistHeight);
    l.listFrame = QRect(8, 19, kWidth - 16, kPlaylistHeight - 19 - 12);
    l.list = l.listFrame.adjusted(2, 2, -2, -2);
    l.toolbar = QRect();
    l.tools.clear();
    return l;
}

} // namespace skingen
