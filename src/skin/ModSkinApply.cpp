#include "skin/ModSkinApply.h"

#include "controls/ModColor.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "controls/ctlNumber.h"
#include "controls/ctlProgress.h"
#include "skin/ModSkinValues.h"
#include "skin/SkinImages.h"
#include "skin/SkinStore.h"
#include "winsvc/DisplayText.h"
#include "winsvc/ProgramFolders.h"

#include <QDir>
#include <QLabel>
#include <QPalette>
#include <QVariant>
#include <QWidget>
#include <array>
#include <initializer_list>

namespace ModSkinApply {
namespace {

struct ButtonSlot {
    const ImageElement& element;
    ctlButton& control;
};

// The buttons with their elements, in the order they are placed.
std::array<ButtonSlot, 13> Buttons(const PlayerWindowSkin& w, PlayerWindowParts& p) {
    return {{{w.Stop, p.cmdStop},
             {w.Play, p.cmdPlay},
             {w.Pause, p.cmdPause},
             {w.Minimize, p.cmdMinimize},
             {w.Minimode, p.cmdMinimode},
             {w.Exit, p.cmdExit},
             {w.Prev, p.cmdPrev},
             {w.Next, p.cmdNext},
             {w.Equalizer, p.cmdEqualizer},
             {w.Lyric, p.cmdLyric},
             {w.Mute, p.cmdMute},
             {w.Playlist, p.cmdPlaylist},
             {w.Open, p.cmdOpen}}};
}

bool LoadAll(SkinImages& images, std::initializer_list<const QString*> names) {
    for (const QString* name : names) {
        if (!images.Load(*name)) {
            return false;
        }
    }
    return true;
}

bool LoadSlider(SkinImages& images, const SliderElement& slider) {
    return LoadAll(images, {&slider.BarImage, &slider.FillImage, &slider.ThumbImage});
}

} // namespace

QString SkinFolder(const QString& skinsDir, const QString& name) {
    return SkinFolder(SkinStore(skinsDir), name);
}

QString SkinFolder(const SkinStore& skins, const QString& name) {
    QString folder = skins.FolderOf(name);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString SkinFolder(const QString& name) {
    return SkinFolder(SkinStore(SkinDirs()), name);
}

bool LoadPlayerWindowImages(const PlayerWindowSkin& skin, SkinImages& images) {
    if (!LoadAll(images, {&skin.Image, &skin.Led.Image})) {
        return false;
    }
    for (const ImageElement* button :
         {&skin.Stop, &skin.Play, &skin.Pause, &skin.Minimize, &skin.Minimode, &skin.Exit,
          &skin.Prev, &skin.Next, &skin.Equalizer, &skin.Lyric, &skin.Mute, &skin.Playlist,
          &skin.Open}) {
        if (!images.Load(button->Image)) {
            return false;
        }
    }
    return LoadSlider(images, skin.Progress) && LoadSlider(images, skin.Volume);
}

bool ApplyPlayerWindowSkin(const SkinInfo& skin, SkinImages& images, PlayerWindowParts& parts) {
    const PlayerWindowSkin& w = skin.PlayerWindow;
    if (!LoadPlayerWindowImages(w, images)) {
        return false;
    }
    const quint32 c = skin.TransparentColor;
    const QImage background = images.Image(w.Image);
    parts.window.setProperty("Picture", QVariant::fromValue(background));
    parts.TransForm.SetMaskColor(c);
    parts.TransForm.SetForm();
    parts.window.resize(background.size());

    for (const ButtonSlot& slot : Buttons(w, parts)) {
        PlaceSkinButton(slot.element, slot.control, images);
        slot.control.SetMaskColor(c);
    }

    PlaceRightAligned(w.Led, parts.ctlLED, images);
    parts.ctlLED.SetMaskColor(c);
    parts.ctlLED.SetText(QStringLiteral("00:00"));

    PlaceSkinLabel(w.Info, parts.lbInfo);
    PlaceSkinLabel(w.Stereo, parts.lbStereo);
    PlaceSkinLabel(w.Status, parts.lbStatus);

    // The sliders' bars and thumbs are skinned surfaces like the rest, so they
    // take the skin's mask colour too.
    for (::ctlProgress* slider : {&parts.ctlProgress, &parts.ctlVolume}) {
        slider->SetMaskColor(c);
    }
    PlaceSkinSlider(w.Progress, parts.ctlProgress, background, images);
    PlaceSkinSlider(w.Volume, parts.ctlVolume, background, images);
    return true;
}

void PlaceSkinButton(const ImageElement& element, ctlButton& control, SkinImages& images) {
    const QImage picture = images.Image(element.Image);
    if (picture.isNull()) {
        control.hide();
        return;
    }
    control.SetPicture(picture);
    control.move(element.Position.Left, element.Position.Top);
    control.SetEnabled(true);
}

void PlaceRightAligned(const ImageElement& element, ctlNumber& control, SkinImages& images) {
    const QImage picture = images.Image(element.Image);
    if (picture.isNull()) {
        control.hide();
        return;
    }
    control.SetPicture(picture);
    control.move(element.Position.Right - control.width(), element.Position.Top);
}

void PlaceSkinLabel(const TextElement& element, QLabel& label) {
    const SkinRect& r = element.Position;
    label.setGeometry(r.Left, r.Top, r.Width(), r.Height());
    if (!element.Align.isEmpty()) {
        label.setAlignment(
            ModSkinValues::ApplyAlign(ModSkinValues::ParseAlign(element.Align), label.alignment()));
    }
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, ModColor::ToQRgb(element.Color));
    label.setPalette(palette);
}

void PlaceSkinSlider(const SliderElement& element, ::ctlProgress& control, const QImage& background,
                     SkinImages& images) {
    control.SetPicBack(background);
    control.SetVertical(ModSkinValues::ParseFlag(element.Vertical));
    control.SetPicBar(images.Image(element.BarImage));
    control.SetPicFill(images.Image(element.FillImage));
    control.SetPicThumb(images.Image(element.ThumbImage));
    const SkinRect& r = element.Position;
    control.setGeometry(r.Left, r.Top, r.Width(), r.Height());
}

QString BrokenSkinMessage(const QString& name, const QString& file) {
    // `file` holds an image name from the skin, which may be of any length.
    return DisplayText::Quote(QDir::toNativeSeparators(file)) +
           QStringLiteral(" 图片读取错误：皮肤“%1”已损坏，无法使用。").arg(name);
}

} // namespace ModSkinApply
