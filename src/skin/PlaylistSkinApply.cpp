#include "skin/PlaylistSkinApply.h"

#include "controls/ModColor.h"
#include "controls/ctlButton.h"
#include "controls/ctlList.h"
#include "controls/ctlToolbar.h"
#include "skin/ModSkinApply.h"
#include "skin/ModSkinFile.h"
#include "skin/SkinImages.h"
#include "skin/SkinStore.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>

namespace ModSkinApply {
namespace {

constexpr quint32 kWhite = 0xFFFFFF;

struct ListLook {
    const PlaylistColors& colors;
    quint32 hilight;
    QImage bar, buttons, thumb;
};

void ColourList(ctlList& list, const ListLook& look) {
    const PlaylistColors& c = look.colors;
    list.SetTextColor(c.ColorText);
    list.SetBackColor(c.ColorBkgnd);
    list.SetBackColor2(c.ColorBkgnd2);
    list.SetNumberColor(c.ColorNumber);
    // A skin without a picture for a scroll-bar part keeps the one it has.
    if (!look.bar.isNull())
        list.SetBarPicture(look.bar);
    if (!look.buttons.isNull())
        list.SetButtonPicture(look.buttons);
    if (!look.thumb.isNull())
        list.SetThumbPicture(look.thumb);
    // 0 counts as "not given": a black selection would vanish on most skins.
    list.SetSelectColor(c.ColorSelect == 0 ? kWhite : c.ColorSelect);
    list.SetDurationColor(c.ColorDuration);
    // Without a highlight colour anywhere the playing row keeps the text's.
    list.SetHilightColor(look.hilight == 0 ? c.ColorText : look.hilight);
}

void PlaceLists(const PlaylistWindowSkin& p, PlaylistWindowParts& parts) {
    const SkinRect& L = p.Playlist.Position;
    const SkinRect& W = p.Position;
    QWidget& line = parts.picLine;
    const int height = std::max(0, parts.window.height() - parts.picSave.height() + L.Height());
    line.setGeometry(line.x(), L.Top, line.width(), height);

    const int leftWidth = std::max(0, line.x() - L.Left);
    parts.ctlListLeft.setGeometry(L.Left, L.Top, leftWidth, height);

    // The list area keeps its designed margins to the window's edges; the
    // songs list takes what the playlists and the splitter leave of it.
    const int areaWidth = parts.window.width() - (W.Width() + L.Left - L.Right);
    const int songsWidth = std::max(0, areaWidth - leftWidth - line.width());
    parts.ctlList1.setGeometry(line.x() + line.width(), L.Top, songsWidth, height);
}

void PlaceToolbar(const ToolbarElement& t, const SkinRect& W, SkinImages& images,
                  ::ctlToolbar& toolbar, int windowHeight) {
    toolbar.SetPicDefault(images.Image(t.Image));
    toolbar.SetPicHot(images.Image(t.HotImage));
    // Case matters: "Bottom" is not bottom, "align-bottom" is.
    if (t.Align.contains(QLatin1String("bottom"), Qt::CaseSensitive)) {
        toolbar.move(t.Position.Left, windowHeight - (W.Height() - t.Position.Top));
    } else {
        toolbar.move(t.Position.Left, t.Position.Top);
    }
}

} // namespace

bool LoadPlaylistWindowImages(const PlaylistWindowSkin& skin, SkinImages& images) {
    for (const QString* name :
         {&skin.Image, &skin.Title.Image, &skin.Close.Image, &skin.Toolbar.Image,
          &skin.Toolbar.HotImage, &skin.Scrollbar.BarImage, &skin.Scrollbar.ButtonsImage,
          &skin.Scrollbar.ThumbImage}) {
        if (!images.Load(*name)) {
            return false;
        }
    }
    return true;
}

PlaylistColors ReadPlaylistColors(const SkinStore& store, const QString& name, Prompts& prompts) {
    return ModSkinFile::LoadPlaylistColors(store.PlaylistColorsFile(name), prompts);
}

bool ApplyPlaylistWindowSkin(const SkinInfo& skin, const PlaylistColors& colors, SkinImages& images,
                             PlaylistWindowParts& parts) {
    const PlaylistWindowSkin& p = skin.PlaylistWindow;
    if (!LoadPlaylistWindowImages(p, images)) {
        return false;
    }
    const quint32 c = skin.TransparentColor;
    PlaceLists(p, parts);

    // playlist.xml's colour wins; skin.xml's is for skins without one.
    const quint32 hilight = colors.ColorHilight != 0 ? colors.ColorHilight : p.Hilight;
    const ListLook look{colors, hilight, images.Image(p.Scrollbar.BarImage),
                        images.Image(p.Scrollbar.ButtonsImage),
                        images.Image(p.Scrollbar.ThumbImage)};
    ColourList(parts.ctlList1, look);
    QPalette linePalette = parts.picLine.palette();
    linePalette.setColor(QPalette::Window, ModColor::ToQRgb(colors.ColorText));
    parts.picLine.setPalette(linePalette);
    parts.picLine.setAutoFillBackground(true);
    ColourList(parts.ctlListLeft, look);
    parts.ctlListLeft.SetIsLeft(true);

    PlaceSkinButton(p.Close, parts.cmdClose, images);
    parts.cmdClose.SetMaskColor(c);
    parts.cmdClose.move(parts.window.width() - (p.Position.Right - p.Close.Position.Left),
                        p.Close.Position.Top);

    parts.ctlToolbar.SetMaskColor(c);
    PlaceToolbar(p.Toolbar, p.Position, images, parts.ctlToolbar, parts.window.height());
    return true;
}

} // namespace ModSkinApply
