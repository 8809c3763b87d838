#include "skin/LyricSkinApply.h"

#include "controls/ctlButton.h"
#include "skin/ModSkinApply.h"
#include "skin/SkinImages.h"

#include <QWidget>
#include <algorithm>

namespace ModSkinApply {

bool LoadLyricWindowImages(const LyricWindowSkin& skin, SkinImages& images) {
    return images.Load(skin.Image) && images.Load(skin.Close.Image);
}

void ApplyLyricWindowSkin(const LyricWindowSkin& skin, quint32 maskColor, SkinImages& images,
                          LyricWindowParts& parts) {
    const SkinRect& W = skin.Position;
    const SkinRect& L = skin.Lyrics.Position;
    const QSize size = parts.window.size();
    parts.lyrics.setGeometry(L.Left, L.Top, std::max(0, size.width() - (W.Width() - L.Width())),
                             std::max(0, size.height() - (W.Height() - L.Height())));
    PlaceSkinButton(skin.Close, parts.cmdClose, images);
    parts.cmdClose.SetMaskColor(maskColor);
    parts.cmdClose.move(size.width() - (W.Right - skin.Close.Position.Left),
                        skin.Close.Position.Top);
}

} // namespace ModSkinApply
