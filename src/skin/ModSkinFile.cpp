#include "skin/ModSkinFile.h"

#include "skin/ModSkinValues.h"
#include "skin/SkinPaths.h"
#include "skin/XmlDocument.h"
#include "winsvc/DisplayText.h"
#include "winsvc/Prompts.h"

#include <QDir>

namespace ModSkinFile {
namespace {

// Reads the attributes of one element into record fields. A missing element
// or attribute leaves the field as it was (empty or 0) and reading goes on.
class AttributeReader {
public:
    AttributeReader(XmlElement element, Prompts& prompts)
        : m_element(element), m_prompts(prompts) {}

    void Text(const char* name, QString& field) const {
        if (const auto value = m_element.Attribute(QLatin1String(name)))
            field = *value;
    }
    void Rect(const char* name, SkinRect& field) const {
        if (const auto value = m_element.Attribute(QLatin1String(name)))
            field = ModSkinValues::ParseRect(*value);
    }
    void Color(const char* name, quint32& field) const {
        if (const auto value = m_element.Attribute(QLatin1String(name)))
            field = ModSkinValues::ParseSkinColor(*value, m_prompts);
    }

private:
    XmlElement m_element;
    Prompts& m_prompts;
};

ImageElement readImage(XmlElement parent, const char* name, Prompts& prompts) {
    const AttributeReader r(parent.SelectSingleNode(QLatin1String(name)), prompts);
    ImageElement e;
    r.Text("align", e.Align);
    r.Text("image", e.Image);
    r.Rect("position", e.Position);
    return e;
}

ToolbarElement readToolbar(XmlElement parent, const char* name, Prompts& prompts) {
    const AttributeReader r(parent.SelectSingleNode(QLatin1String(name)), prompts);
    ToolbarElement e;
    r.Text("image", e.Image);
    r.Text("hot_image", e.HotImage);
    r.Rect("position", e.Position);
    r.Text("align", e.Align);
    return e;
}

SliderElement readSlider(XmlElement parent, const char* name, Prompts& prompts) {
    const AttributeReader r(parent.SelectSingleNode(QLatin1String(name)), prompts);
    SliderElement e;
    r.Rect("position", e.Position);
    r.Text("bar_image", e.BarImage);
    r.Text("buttons_image", e.ButtonsImage);
    r.Text("fill_image", e.FillImage);
    r.Text("resize_tile", e.ResizeTile);
    r.Text("thumb_image", e.ThumbImage);
    r.Text("thumb_resize_center", e.ThumbResizeCenter);
    r.Text("thumb_resize_tile", e.ThumbResizeTile);
    r.Text("vertical", e.Vertical);
    return e;
}

TextElement readText(XmlElement parent, const char* name, Prompts& prompts) {
    const AttributeReader r(parent.SelectSingleNode(QLatin1String(name)), prompts);
    TextElement e;
    r.Text("align", e.Align);
    r.Text("bkgnd", e.Bkgnd);
    r.Color("color", e.Color);
    r.Text("font", e.Font);
    r.Text("font_size", e.FontSize);
    r.Rect("position", e.Position);
    return e;
}

IconElement readIcon(XmlElement parent, const char* name, Prompts& prompts) {
    const AttributeReader r(parent.SelectSingleNode(QLatin1String(name)), prompts);
    IconElement e;
    r.Rect("position", e.Position);
    r.Text("icon", e.Icon);
    return e;
}

// The player window's elements, in reading order (which fixes the order of
// colour messages).
void readPlayerElements(XmlElement w, Prompts& p, PlayerWindowSkin& s) {
    s.Play = readImage(w, "play", p);
    s.Pause = readImage(w, "pause", p);
    s.Stop = readImage(w, "stop", p);
    s.Next = readImage(w, "next", p);
    s.Prev = readImage(w, "prev", p);
    s.Mute = readImage(w, "mute", p);
    s.Open = readImage(w, "open", p);
    s.Equalizer = readImage(w, "equalizer", p);
    s.Playlist = readImage(w, "playlist", p);
    s.Lyric = readImage(w, "lyric", p);
    s.Visual = readImage(w, "visual", p);
    s.Minimize = readImage(w, "minimize", p);
    s.Minimode = readImage(w, "minimode", p);
    s.Exit = readImage(w, "exit", p);
    s.Progress = readSlider(w, "progress", p);
    s.Volume = readSlider(w, "volume", p);
    s.Icon = readIcon(w, "icon", p);
    s.Led = readImage(w, "led", p);
    s.Status = readText(w, "status", p);
    s.Stereo = readText(w, "stereo", p);
    s.Info = readText(w, "info", p);
}

PlaylistWindowSkin readPlaylistWindow(XmlElement w, Prompts& p) {
    PlaylistWindowSkin s;
    const AttributeReader r(w, p);
    r.Text("image", s.Image);
    r.Rect("position", s.Position);
    r.Rect("resize_rect", s.ResizeRect);
    r.Color("hilight", s.Hilight);
    s.Close = readImage(w, "close", p);
    s.Playlist = readImage(w, "playlist", p);
    s.Scrollbar = readSlider(w, "scrollbar", p);
    s.Title = readImage(w, "title", p);
    s.Toolbar = readToolbar(w, "toolbar", p);
    return s;
}

// The optional lyrics window: kept only when it can be used, else the
// reason is kept for the window to report.
void readLyricWindow(XmlElement w, Prompts& p, SkinInfo& skin) {
    if (w.IsNull())
        return;
    LyricWindowSkin s;
    const AttributeReader r(w, p);
    r.Text("image", s.Image);
    r.Rect("position", s.Position);
    r.Rect("resize_rect", s.ResizeRect);
    s.Close = readImage(w, "close", p);
    s.Lyrics = readImage(w, "lyrics", p);
    skin.LyricWindowError = LyricWindowSkins::Problem(s);
    if (skin.LyricWindowError.isEmpty())
        skin.LyricWindow = s;
}

QString failure(const QString& path, const QString& reason) {
    return QDir::toNativeSeparators(path) + QStringLiteral(" 皮肤文件错误：") + reason;
}

// The mini-mode bar is optional, so a broken one does not make the skin
// unusable: it is reported and left out, and mini mode derives its bar from
// the player window instead.
std::optional<MiniWindowSkin> readMiniWindow(XmlElement root, const QString& path, Prompts& p) {
    const XmlElement w = root.SelectSingleNode(QStringLiteral("mini_window"));
    if (w.IsNull())
        return std::nullopt;
    const auto image = w.Attribute(QStringLiteral("image"));
    if (!image || image->trimmed().isEmpty()) {
        p.MsgBox(failure(path, QStringLiteral("<mini_window> 元素缺少属性 \"image\"，"
                                              "迷你模式改用由播放器窗口生成的界面。")));
        return std::nullopt;
    }
    MiniWindowSkin s;
    s.Image = *image;
    s.Play = readImage(w, "play", p);
    s.Pause = readImage(w, "pause", p);
    s.Stop = readImage(w, "stop", p);
    s.Prev = readImage(w, "prev", p);
    s.Next = readImage(w, "next", p);
    s.Minimode = readImage(w, "minimode", p);
    s.Exit = readImage(w, "exit", p);
    s.Led = readImage(w, "led", p);
    s.Info = readText(w, "info", p);
    s.Progress = readSlider(w, "progress", p);
    return s;
}

// The root element's required attributes; an error text when one is missing.
QString readRoot(XmlElement root, const QString& path, Prompts& prompts, SkinInfo& skin) {
    struct Field {
        const char* name;
        QString SkinInfo::*field;
    };
    static const Field fields[] = {{"author", &SkinInfo::Author},
                                   {"email", &SkinInfo::Email},
                                   {"name", &SkinInfo::Name},
                                   {"url", &SkinInfo::Url},
                                   {"version", &SkinInfo::Version}};
    for (const Field& f : fields) {
        const auto value = root.Attribute(QLatin1String(f.name));
        if (!value)
            return failure(
                path,
                QStringLiteral("<skin> 元素缺少必需的属性 \"%1\"。").arg(QLatin1String(f.name)));
        skin.*f.field = *value;
    }
    const auto mask = root.Attribute(QStringLiteral("transparent_color"));
    if (!mask)
        return failure(path, QStringLiteral("<skin> 元素缺少必需的属性 \"transparent_color\"。"));
    skin.TransparentColor = ModSkinValues::ParseSkinColor(*mask, prompts);
    return QString();
}

} // namespace

SkinLoadResult LoadSkinFile(const QString& path, Prompts& prompts) {
    const XmlDocument doc = XmlDocument::Load(SkinPaths::Resolve(path));
    if (doc.IsEmpty())
        return {std::nullopt,
                failure(path, QStringLiteral("文件无法读取，或不是格式正确的 XML（%1）。")
                                  .arg(DisplayText::Quote(doc.ErrorText())))};
    const XmlElement root = doc.SelectSingleNode(QStringLiteral("skin"));
    if (root.IsNull())
        return {std::nullopt, failure(path, QStringLiteral("根元素必须是 <skin>。"))};

    SkinInfo skin;
    if (const QString error = readRoot(root, path, prompts, skin); !error.isEmpty())
        return {std::nullopt, error};

    const XmlElement player = root.SelectSingleNode(QStringLiteral("player_window"));
    if (player.IsNull())
        return {std::nullopt, failure(path, QStringLiteral("缺少 <player_window> 元素。"))};
    const auto image = player.Attribute(QStringLiteral("image"));
    if (!image)
        return {std::nullopt,
                failure(path, QStringLiteral("<player_window> 元素缺少必需的属性 \"image\"。"))};
    // Without a background picture there is nothing to size or shape the
    // window by: such a skin cannot be shown.
    if (image->trimmed().isEmpty())
        return {std::nullopt,
                failure(path, QStringLiteral("<player_window> 元素的属性 \"image\" 为空。"))};
    skin.PlayerWindow.Image = *image;
    readPlayerElements(player, prompts, skin.PlayerWindow);

    skin.PlaylistWindow =
        readPlaylistWindow(root.SelectSingleNode(QStringLiteral("playlist_window")), prompts);
    readLyricWindow(root.SelectSingleNode(QStringLiteral("lyric_window")), prompts, skin);
    // The playlist window's designed size is its smallest size.
    const SkinRect& list = skin.PlaylistWindow.Position;
    if (list.Width() > kMaxSkinSide || list.Height() > kMaxSkinSide)
        return {
            std::nullopt,
            failure(path, QStringLiteral("<playlist_window> 元素的 \"position\" 大于 %1×%1 像素。")
                              .arg(kMaxSkinSide))};
    skin.MiniWindow = readMiniWindow(root, path, prompts);
    return {std::move(skin), QString()};
}

PlaylistColors LoadPlaylistColors(const QString& path, Prompts& prompts) {
    const XmlDocument doc = XmlDocument::Load(SkinPaths::Resolve(path));
    const AttributeReader r(doc.SelectSingleNode(QStringLiteral("ttplayer_playlist/PlayList")),
                            prompts);
    PlaylistColors c;
    r.Color("Color_Bkgnd", c.ColorBkgnd);
    r.Color("Color_Bkgnd2", c.ColorBkgnd2);
    r.Color("Color_Duration", c.ColorDuration);
    r.Color("Color_Hilight", c.ColorHilight);
    r.Color("Color_Number", c.ColorNumber);
    r.Color("Color_Select", c.ColorSelect);
    r.Color("Color_Text", c.ColorText);
    return c;
}

} // namespace ModSkinFile
