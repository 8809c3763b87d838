#include "skin/LyricWindowSkin.h"

#include "skin/SkinInfo.h"

namespace LyricWindowSkins {
namespace {

bool inside(const SkinRect& inner, const SkinRect& outer) {
    return inner.Left >= 0 && inner.Top >= 0 && inner.Right <= outer.Width() &&
           inner.Bottom <= outer.Height() && inner.Width() >= 0 && inner.Height() >= 0;
}

} // namespace

QString Problem(const LyricWindowSkin& skin) {
    if (skin.Image.trimmed().isEmpty())
        return QStringLiteral("<lyric_window> 元素缺少属性 \"image\"。");
    const SkinRect& p = skin.Position;
    if (p.Width() <= 0 || p.Height() <= 0 || p.Width() > kMaxSkinSide || p.Height() > kMaxSkinSide)
        return QStringLiteral("<lyric_window> 元素的 \"position\" 不是 1 到 %1 像素的矩形。")
            .arg(kMaxSkinSide);
    if (!inside(skin.ResizeRect, p))
        return QStringLiteral("<lyric_window> 元素的 \"resize_rect\" 不在窗口之内。");
    if (skin.Lyrics.Position.Width() <= 0 || skin.Lyrics.Position.Height() <= 0 ||
        !inside(skin.Lyrics.Position, p))
        return QStringLiteral("<lyric_window> 元素缺少在窗口之内的 <lyrics> 矩形。");
    return QString();
}

LyricWindowSkin FromPlaylistWindow(const PlaylistWindowSkin& playlist) {
    LyricWindowSkin skin;
    skin.Position = playlist.Position;
    skin.ResizeRect = playlist.ResizeRect;
    skin.Image = playlist.Image;
    skin.Close = playlist.Close;
    skin.Lyrics.Position = playlist.Playlist.Position;
    return skin;
}

} // namespace LyricWindowSkins
