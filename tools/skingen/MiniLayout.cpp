#include "MiniLayout.h"

#include <algorithm>

namespace skingen {

namespace {

constexpr int kPad = 5;
constexpr int kTextWidth = 124;

const ButtonSpec* find(const PlayerLayout& player, const char* element) {
    for (const ButtonSpec& b : player.buttons)
        if (b.element == QLatin1String(element))
            return &b;
    return nullptr;
}

// The player window's button `element`, its frame's top-left moved to (x, y).
ButtonSpec placed(const PlayerLayout& player, const char* element, int x, int y) {
    ButtonSpec b = *find(player, element);
    b.rect.moveTo(x, y);
    return b;
}

} // namespace

MiniLayout MakeMiniLayout(const Style& style, const PlayerLayout& player) {
    MiniLayout l;
    const QSize key = find(player, "play")->rect.size();
    const QSize caption = find(player, "exit")->rect.size();
    // Room for the title over the seek bar beside the keys.
    const int height = std::max(style.ledHeight, key.height()) + 2 * kPad + 4;

    l.ledPanel = QRect(kPad, 4, 6 * style.ledWidth + 8, height - 8);
    l.led = QRect(l.ledPanel.left() + 4, (height - style.ledHeight) / 2, 6 * style.ledWidth,
                  style.ledHeight);
    l.textPanel = QRect(l.ledPanel.right() + 5, 4, kTextWidth, height - 8);
    l.info = QRect(l.textPanel.left() + 4, l.textPanel.top() + 2, kTextWidth - 8, 13);
    const int progressTop = l.info.bottom() + 1;
    l.progress = {"progress",
                  QRect(l.info.left(), progressTop, l.info.width(),
                        std::min(8, l.textPanel.bottom() - progressTop)),
                  QSize(12, 8), 4};

    int x = l.textPanel.right() + 8;
    const int keyTop = (height - key.height()) / 2;
    const int first = x;
    for (const char* name : {"prev", "play", "stop", "next"}) {
        l.buttons.push_back(placed(player, name, x, keyTop));
        if (QLatin1String(name) == QLatin1String("play"))
            l.buttons.push_back(placed(player, "pause", x, keyTop));
        x += key.width() + 1;
    }
    l.keys = QRect(first, keyTop, x - 1 - first, key.height()).adjusted(-3, -3, 3, 3);

    x = l.keys.right() + 5;
    const int captionTop = (height - 2 * caption.height() - 2) / 2;
    l.buttons.push_back(placed(player, "minimode", x, captionTop));
    l.buttons.push_back(placed(player, "exit", x, captionTop + caption.height() + 2));
    l.size = QSize(x + caption.width() + kPad, height);
    return l;
}

} // namespace skingen
