#include "SkinWriter.h"

#include "BmpWriter.h"
#include "Canvas.h"
#include "MiniArt.h"
#include "MiniLayout.h"
#include "PlayerArt.h"
#include "PlaylistArt.h"
#include "SkinLayout.h"

#include <QDir>
#include <QFile>

namespace skingen::SkinWriter {

namespace {

QString rect(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(r.left())
        .arg(r.top())
        .arg(r.right() + 1)
        .arg(r.bottom() + 1);
}

QString colour(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString sliderXml(const SliderSpec& s) {
    return QStringLiteral("    <%1 position=\"%2\" bar_image=\"%1_bar.bmp\" "
                          "fill_image=\"%1_fill.bmp\" thumb_image=\"%1_thumb.bmp\" "
                          "vertical=\"false\"/>\n")
        .arg(s.element, rect(s.rect));
}

QString textXml(const char* element, const QRect& r, QRgb c, const char* align) {
    return QStringLiteral("    <%1 position=\"%2\" color=\"%3\" align=\"%4\"/>\n")
        .arg(QLatin1String(element), rect(r), colour(c), QLatin1String(align));
}

QString playerXml(const SkinDesign& d, const PlayerLayout& l) {
    const Palette& p = d.palette;
    QString xml = QStringLiteral("  <player_window image=\"player_window.bmp\">\n");
    for (const ButtonSpec& b : l.buttons)
        xml += QStringLiteral("    <%1 position=\"%2\" image=\"%3\"/>\n")
                   .arg(b.element, rect(b.rect), b.file);
    xml += sliderXml(l.progress) + sliderXml(l.volume);
    xml += QStringLiteral("    <led position=\"%1\" image=\"led.bmp\" align=\"right\"/>\n")
               .arg(rect(l.led));
    xml += QStringLiteral("    <visual position=\"%1\"/>\n").arg(rect(l.visual));
    xml += textXml("info", l.info, p.textInfo, "left");
    xml += textXml("stereo", l.stereo, p.textStereo, "center");
    xml += textXml("status", l.status, p.textStatus, "right");
    return xml + QStringLiteral("  </player_window>\n");
}

QString playlistXml(const SkinDesign& d, const PlaylistLayout& l) {
    QString xml = QStringLiteral("  <playlist_window image=\"playlist_window.bmp\" "
                                 "position=\"%1\" resize_rect=\"%2\" hilight=\"%3\">\n")
                      .arg(rect(l.position), rect(l.resize), colour(d.palette.listHilight));
    xml += QStringLiteral("    <title position=\"%1\" image=\"pl_title.bmp\" align=\"center\"/>\n")
               .arg(rect(l.titleImage));
    xml += QStringLiteral("    <close position=\"%1\" image=\"%2\" align=\"right\"/>\n")
               .arg(rect(l.close.rect), l.close.file);
    xml += QStringLiteral("    <toolbar position=\"%1\" image=\"pl_toolbar.bmp\" "
                          "hot_image=\"pl_toolbar_hot.bmp\" align=\"bottom\"/>\n")
               .arg(rect(l.toolbar));
    xml += QStringLiteral("    <scrollbar bar_image=\"pl_scroll_bar.bmp\" "
                          "thumb_image=\"pl_scroll_thumb.bmp\" "
                          "buttons_image=\"pl_scroll_buttons.bmp\" vertical=\"true\"/>\n");
    xml += QStringLiteral("    <playlist position=\"%1\"/>\n").arg(rect(l.list));
    return xml + QStringLiteral("  </playlist_window>\n");
}

// The bar's buttons and time display name the player window's pictures.
QString miniXml(const SkinDesign& d, const MiniLayout& l) {
    QString xml = QStringLiteral("  <mini_window image=\"mini_window.bmp\">\n");
    for (const ButtonSpec& b : l.buttons)
        xml += QStringLiteral("    <%1 position=\"%2\" image=\"%3\"/>\n")
                   .arg(b.element, rect(b.rect), b.file);
    xml += QStringLiteral("    <progress position=\"%1\" bar_image=\"mini_progress_bar.bmp\" "
                          "fill_image=\"mini_progress_fill.bmp\" "
                          "thumb_image=\"mini_progress_thumb.bmp\" vertical=\"false\"/>\n")
               .arg(rect(l.progress.rect));
    xml += QStringLiteral("    <led position=\"%1\" image=\"led.bmp\" align=\"right\"/>\n")
               .arg(rect(l.led));
    xml += textXml("info", l.info, d.palette.textInfo, "left");
    return xml + QStringLiteral("  </mini_window>\n");
}

QString lyricXml(const PlaylistLayout& l) {
    QString xml = QStringLiteral("  <lyric_window image=\"lyric_window.bmp\" position=\"%1\" "
                                 "resize_rect=\"%2\">\n")
                      .arg(rect(l.position), rect(l.resize));
    xml += QStringLiteral("    <close position=\"%1\" image=\"%2\" align=\"right\"/>\n")
               .arg(rect(l.close.rect), l.close.file);
    xml += QStringLiteral("    <lyrics position=\"%1\"/>\n").arg(rect(l.list));
    return xml + QStringLiteral("  </lyric_window>\n");
}

QByteArray skinXml(const SkinDesign& d, const PlayerLayout& pl, const PlaylistLayout& ll) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    xml += QStringLiteral("<skin author=\"%1\" email=\"%2\" name=\"%3\" url=\"%4\" "
                          "version=\"%5\" transparent_color=\"%6\">\n")
               .arg(escaped(d.author), escaped(d.email), escaped(d.name), escaped(d.url),
                    escaped(d.version), colour(kMask));
    xml += playerXml(d, pl) + playlistXml(d, ll) + miniXml(d, MakeMiniLayout(d.style, pl)) +
           lyricXml(MakeLyricLayout(ll)) + QStringLiteral("</skin>\n");
    return xml.toUtf8();
}

QByteArray colorsXml(const Palette& p) {
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ttplayer_playlist>\n"
                       "  <PlayList Color_Bkgnd=\"%1\" Color_Bkgnd2=\"%2\" Color_Duration=\"%3\" "
                       "Color_Hilight=\"%4\" Color_Number=\"%5\" Color_Select=\"%6\" "
                       "Color_Text=\"%7\"/>\n</ttplayer_playlist>\n")
            .arg(colour(p.listBkgnd), colour(p.listBkgnd2), colour(p.listDuration),
                 colour(p.listHilight), colour(p.listNumber), colour(p.listSelect),
                 colour(p.listText));
    return xml.toUtf8();
}

} // namespace

std::map<QString, QByteArray> Files(const SkinDesign& d) {
    const PlayerLayout pl = MakePlayerLayout(d.style);
    const PlaylistLayout ll = MakePlaylistLayout(d.style, pl);
    std::map<QString, QByteArray> files;
    auto bmp = [&](const QString& name, const QImage& image) {
        files[name] = BmpWriter::Encode(image);
    };
    bmp("player_window.bmp", PlayerArt::Background(d, pl));
    for (const ButtonSpec& b : pl.buttons)
        bmp(b.file, PlayerArt::ButtonStrip(d, b));
    bmp("led.bmp", PlayerArt::LedStrip(d));
    for (const SliderSpec* s : {&pl.progress, &pl.volume}) {
        bmp(s->element + "_bar.bmp", PlayerArt::SliderBar(d, *s));
        bmp(s->element + "_fill.bmp", PlayerArt::SliderFill(d, *s));
        bmp(s->element + "_thumb.bmp", PlayerArt::SliderThumb(d, *s));
    }
    bmp("playlist_window.bmp", PlaylistArt::Background(d, ll));
    bmp("pl_title.bmp", PlaylistArt::Title(d, ll));
    bmp(ll.close.file, PlaylistArt::CloseStrip(d, ll));
    bmp("pl_toolbar.bmp", PlaylistArt::Toolbar(d, ll, false));
    bmp("pl_toolbar_hot.bmp", PlaylistArt::Toolbar(d, ll, true));
    bmp("pl_scroll_buttons.bmp", PlaylistArt::ScrollButtons(d, ll));
    bmp("pl_scroll_thumb.bmp", PlaylistArt::ScrollThumb(d, ll));
    bmp("pl_scroll_bar.bmp", PlaylistArt::ScrollBar(d, ll));
    const MiniLayout ml = MakeMiniLayout(d.style, pl);
    bmp("mini_window.bmp", MiniArt::Background(d, ml));
    bmp("mini_progress_bar.bmp", PlayerArt::SliderBar(d, ml.progress));
    bmp("mini_progress_fill.bmp", PlayerArt::SliderFill(d, ml.progress));
    bmp("mini_progress_thumb.bmp", PlayerArt::SliderThumb(d, ml.progress));
    bmp("lyric_window.bmp", PlaylistArt::Background(d, MakeLyricLayout(ll)));
    files["skin.xml"] = skinXml(d, pl, ll);
    files["playlist.xml"] = colorsXml(d.palette);
    return files;
}

bool Write(const SkinDesign& d, const QString& skinsDir, QString* error) {
    const QString folder = skinsDir + "/" + d.folder;
    if (!QDir().mkpath(folder)) {
        *error = "cannot create " + folder;
        return false;
    }
    for (const auto& [name, bytes] : Files(d)) {
        QFile file(folder + "/" + name);
        // Unchanged files are left alone so their time stamps stay put.
        if (file.open(QIODevice::ReadOnly) && file.readAll() == bytes)
            continue;
        file.close();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            *error = "cannot write " + file.fileName();
            return false;
        }
    }
    return true;
}

} // namespace skingen::SkinWriter
