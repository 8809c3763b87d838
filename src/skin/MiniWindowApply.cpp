#include "skin/MiniWindowApply.h"

#include "controls/ModColor.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "controls/ctlNumber.h"
#include "controls/ctlProgress.h"
#include "skin/ModSkinApply.h"
#include "skin/SkinImages.h"
#include "winsvc/DisplayText.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QVariant>
#include <QWidget>
#include <array>
#include <cmath>
#include <initializer_list>

namespace MiniWindowApply {
namespace {

// Background kept around the derived bar's pieces, so a button's bevel or a
// label's descenders are not cut off.
constexpr int kMargin = 3;
// The height of the derived bar when the player window places nothing it
// could carry: its caption band, still something to drag and double-click.
constexpr int kBareStripHeight = 20;

QRect ToQRect(const SkinRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

SkinRect Translated(const SkinRect& r, QPoint by) {
    return {r.Left + by.x(), r.Top + by.y(), r.Right + by.x(), r.Bottom + by.y()};
}

// Where a button shows: the element's top-left corner and one frame of its
// picture (as PlaceSkinButton places it); empty without a picture.
QRect ButtonExtent(const ImageElement& e, SkinImages& images) {
    const QImage picture = images.Image(e.Image);
    if (picture.isNull())
        return QRect();
    return QRect(e.Position.Left, e.Position.Top, int(std::nearbyint(picture.width() / 4.0)),
                 picture.height());
}

struct ButtonSlot {
    const ImageElement& element;
    ctlButton& control;
};

std::array<ButtonSlot, 7> Buttons(const MiniWindowSkin& w, PlayerWindowParts& p) {
    return {{{w.Play, p.cmdPlay},
             {w.Pause, p.cmdPause},
             {w.Stop, p.cmdStop},
             {w.Prev, p.cmdPrev},
             {w.Next, p.cmdNext},
             {w.Minimode, p.cmdMinimode},
             {w.Exit, p.cmdExit}}};
}

bool LoadAll(SkinImages& images, std::initializer_list<const QString*> names) {
    for (const QString* name : names)
        if (!images.Load(*name))
            return false;
    return true;
}

// The pieces of the derived bar: which part of the player window's picture
// each takes, and what it carries.
struct DerivedPieces {
    QRect strip; // from the top edge, the whole width
    QRect keys;  // around the transport buttons; empty when they lie in the strip
};

DerivedPieces MeasurePieces(const PlayerWindowSkin& p, const QRect& picture, SkinImages& images) {
    int stripBottom = 0;
    for (const QRect& r : {ToQRect(p.Led.Position), ToQRect(p.Info.Position),
                           ButtonExtent(p.Minimode, images), ButtonExtent(p.Exit, images)}) {
        if (!r.isEmpty() && picture.contains(r))
            stripBottom = std::max(stripBottom, r.bottom() + 1 + kMargin);
    }
    QRect keys;
    for (const ImageElement* e : {&p.Prev, &p.Play, &p.Pause, &p.Stop, &p.Next}) {
        const QRect r = ButtonExtent(*e, images);
        if (!r.isEmpty() && picture.contains(r))
            keys = keys.united(r);
    }
    if (stripBottom == 0 && keys.isEmpty())
        stripBottom = kBareStripHeight;
    DerivedPieces pieces;
    pieces.strip = QRect(0, 0, picture.width(), std::min(stripBottom, picture.height()));
    if (!keys.isEmpty() && !pieces.strip.contains(keys))
        pieces.keys = keys.adjusted(-kMargin, -kMargin, kMargin, kMargin) & picture;
    return pieces;
}

// The player window's element moved by `by` when it lies inside `piece`,
// else left out of the bar (no picture, no place).
ImageElement Moved(const ImageElement& e, const QRect& extent, const QRect& piece, QPoint by) {
    if (extent.isEmpty() || !piece.contains(extent))
        return {};
    ImageElement moved = e;
    moved.Position = Translated(e.Position, by);
    return moved;
}

} // namespace

std::optional<MiniBar> SkinBar(const MiniWindowSkin& skin, SkinImages& images) {
    if (!LoadAll(images, {&skin.Image, &skin.Led.Image, &skin.Play.Image, &skin.Pause.Image,
                          &skin.Stop.Image, &skin.Prev.Image, &skin.Next.Image,
                          &skin.Minimode.Image, &skin.Exit.Image, &skin.Progress.BarImage,
                          &skin.Progress.FillImage, &skin.Progress.ThumbImage}))
        return std::nullopt;
    return MiniBar{skin, images.Image(skin.Image), false};
}

MiniBar DerivedBar(const PlayerWindowSkin& player, quint32 maskColor, SkinImages& images) {
    const QImage picture = images.Image(player.Image);
    const DerivedPieces pieces = MeasurePieces(player, picture.rect(), images);
    const QRect& strip = pieces.strip;
    const QRect& keys = pieces.keys;
    const QSize size(strip.width() + keys.width(), std::max(strip.height(), keys.height()));
    // The keys' piece is centred beside the strip; what neither covers takes
    // the colour of the window's body next to the keys.
    const QPoint keysAt(strip.width(), (size.height() - keys.height()) / 2);
    QImage background(size, QImage::Format_RGB32);
    background.fill(keys.isEmpty() ? ModColor::ToQRgb(maskColor) : picture.pixel(keys.topLeft()));
    {
        QPainter painter(&background);
        painter.drawImage(QPoint(0, 0), picture, strip);
        if (!keys.isEmpty())
            painter.drawImage(keysAt, picture, keys);
    }

    MiniBar bar;
    bar.Derived = true;
    bar.Background = background;
    MiniWindowSkin& l = bar.Layout;
    const QPoint none(0, 0);
    l.Minimode = Moved(player.Minimode, ButtonExtent(player.Minimode, images), strip, none);
    l.Exit = Moved(player.Exit, ButtonExtent(player.Exit, images), strip, none);
    l.Led = Moved(player.Led, ToQRect(player.Led.Position), strip, none);
    if (strip.contains(ToQRect(player.Info.Position)))
        l.Info = player.Info;
    const QPoint keysBy = keysAt - keys.topLeft();
    const QRect keysPiece = keys.isEmpty() ? strip : keys;
    const QPoint transportBy = keys.isEmpty() ? none : keysBy;
    l.Prev = Moved(player.Prev, ButtonExtent(player.Prev, images), keysPiece, transportBy);
    l.Play = Moved(player.Play, ButtonExtent(player.Play, images), keysPiece, transportBy);
    l.Pause = Moved(player.Pause, ButtonExtent(player.Pause, images), keysPiece, transportBy);
    l.Stop = Moved(player.Stop, ButtonExtent(player.Stop, images), keysPiece, transportBy);
    l.Next = Moved(player.Next, ButtonExtent(player.Next, images), keysPiece, transportBy);
    return bar;
}

void ApplyMiniBar(const MiniBar& bar, quint32 maskColor, SkinImages& images,
                  PlayerWindowParts& parts) {
    const MiniWindowSkin& w = bar.Layout;
    parts.window.setProperty("Picture", QVariant::fromValue(bar.Background));
    parts.TransForm.SetMaskColor(maskColor);
    parts.TransForm.SetForm();
    // The full window's minimum is its own picture; the bar's is the bar.
    parts.window.setMinimumSize(0, 0);
    parts.window.resize(bar.Background.size());
    parts.window.setMinimumSize(bar.Background.size());

    for (QWidget* control : std::initializer_list<QWidget*>{
             &parts.cmdMute, &parts.cmdOpen, &parts.cmdLyric, &parts.cmdEqualizer,
             &parts.cmdPlaylist, &parts.cmdMinimize, &parts.lbStereo, &parts.lbStatus,
             &parts.ctlVolume})
        control->hide();

    for (const ButtonSlot& slot : Buttons(w, parts)) {
        // Play and pause show as the player wants them (the window decides).
        if (&slot.control != &parts.cmdPlay && &slot.control != &parts.cmdPause)
            slot.control.show();
        ModSkinApply::PlaceSkinButton(slot.element, slot.control, images);
        slot.control.SetMaskColor(maskColor);
    }

    parts.ctlLED.show();
    ModSkinApply::PlaceRightAligned(w.Led, parts.ctlLED, images);
    parts.ctlLED.SetMaskColor(maskColor);

    const bool hasInfo = !ToQRect(w.Info.Position).isEmpty();
    parts.lbInfo.setVisible(hasInfo);
    if (hasInfo)
        ModSkinApply::PlaceSkinLabel(w.Info, parts.lbInfo);

    const bool hasProgress = !ToQRect(w.Progress.Position).isEmpty();
    parts.ctlProgress.setVisible(hasProgress);
    if (hasProgress) {
        parts.ctlProgress.SetMaskColor(maskColor);
        ModSkinApply::PlaceSkinSlider(w.Progress, parts.ctlProgress, bar.Background, images);
    }
}

QString BrokenBarMessage(const QString& name, const QString& file) {
    return DisplayText::Quote(QDir::toNativeSeparators(file)) +
           QStringLiteral(" 图片读取错误：皮肤“%1”的迷你模式界面无法使用，"
                          "迷你模式改用由播放器窗口生成的界面。")
               .arg(name);
}

} // namespace MiniWindowApply
