#pragma once

// A small skin with a playlist window, written into a folder by the tests.
// The background is nine blocks of one colour each, cut by the resize
// rectangle, so a composed picture can be checked pixel by pixel without
// caring how stretching samples. The window is designed below the player
// window (its rectangle does not start at the top), which is what tells a
// bottom strip measured from the designed height from one measured from the
// rectangle's bottom.

#include "TestSkinFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace TestPlaylistSkin {

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr int kWidth = 200; // designed window size
constexpr int kHeight = 120;
constexpr int kTop = 80;              // designed top, below the player window
const QRect kResize(20, 16, 160, 84); // resize_rect 20,16,180,100
const QRect kList(10, 18, 180, 82);   // the list area 10,18,190,100
constexpr QPoint kClose(186, 3);
constexpr QPoint kToolbar(10, 106);
constexpr int kCut = 3; // mask squares in the top-left and bottom-right corners

// The colour of block (column, row), 0..2 each.
inline QRgb BlockColour(int column, int row) {
    return qRgb(40 + 60 * column, 40 + 60 * row, 100 + 10 * column * row);
}

inline QImage Background() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int xs[] = {0, kResize.left(), kResize.right() + 1, kWidth};
    const int ys[] = {0, kResize.top(), kResize.bottom() + 1, kHeight};
    QPainter p(&image);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.fillRect(QRect(xs[c], ys[r], xs[c + 1] - xs[c], ys[r + 1] - ys[r]),
                       QColor::fromRgb(BlockColour(c, r)));
    p.fillRect(0, 0, kCut, kCut, QColor::fromRgb(kMagenta));
    p.fillRect(kWidth - kCut, kHeight - kCut, kCut, kCut, QColor::fromRgb(kMagenta));
    return image;
}

using TestSkinFolder::Filled;

struct Options {
    QString name = QStringLiteral("Playlist Skin");
    QString toolbarAlign = QStringLiteral("bottom");
    bool withHot = true;
    bool withColours = true; // the skin's own playlist.xml
    QString selectColour = QStringLiteral("#FFFF00");
    QString textColour = QStringLiteral("#102030");
    QString garbledFile; // a picture written as bytes no loader reads
};

inline void Save(const QString& folder, const QString& file, const QImage& image,
                 const Options& o) {
    TestSkinFolder::Options written;
    written.garbledFile = o.garbledFile;
    TestSkinFolder::Save(folder + QLatin1Char('/') + file, image, written);
}

inline void WriteColours(const QString& folder, const QString& select, const QString& text) {
    QFile f(folder + QStringLiteral("/playlist.xml"));
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ttplayer_playlist>\n"
                           " <PlayList Color_Text=\"%1\" Color_Bkgnd=\"#000010\" "
                           "Color_Bkgnd2=\"#000020\" Color_Number=\"#00FF00\" "
                           "Color_Duration=\"#0000FF\" Color_Select=\"%2\" "
                           "Color_Hilight=\"#FF0000\"/>\n</ttplayer_playlist>\n")
                .arg(text, select)
                .toUtf8());
}

// Writes the skin into skinsDir/<o.name>/ and returns that folder.
inline QString Write(const QString& skinsDir, const Options& o = Options()) {
    const QString folder = skinsDir + QLatin1Char('/') + o.name;
    QDir().mkpath(folder);
    Save(folder, QStringLiteral("player.bmp"), Filled(kWidth, kTop, qRgb(1, 2, 3)), o);
    Save(folder, QStringLiteral("list.bmp"), Background(), o);
    Save(folder, QStringLiteral("title.bmp"), Filled(40, 10, qRgb(250, 250, 0)), o);
    Save(folder, QStringLiteral("close.bmp"), Filled(40, 10, qRgb(0, 250, 250)), o);
    Save(folder, QStringLiteral("tb.bmp"), Filled(70, 8, qRgb(200, 0, 0)), o);
    Save(folder, QStringLiteral("tbhot.bmp"), Filled(70, 8, qRgb(255, 128, 0)), o);
    Save(folder, QStringLiteral("sbbar.bmp"), Filled(8, 16, qRgb(9, 9, 9)), o);
    Save(folder, QStringLiteral("sbbuttons.bmp"), Filled(24, 16, qRgb(90, 90, 90)), o);
    Save(folder, QStringLiteral("sbthumb.bmp"), Filled(24, 12, qRgb(190, 190, 190)), o);
    const QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<skin author=\"t\" email=\"t@example.org\" name=\"%1\" url=\"http://example.org\" "
            "version=\"1\" transparent_color=\"#FF00FF\">\n"
            " <player_window image=\"player.bmp\"/>\n"
            " <playlist_window image=\"list.bmp\" position=\"0,%2,%3,%4\" "
            "resize_rect=\"20,16,180,100\">\n"
            "  <title position=\"80,3,120,13\" image=\"title.bmp\"/>\n"
            "  <close position=\"186,3,196,13\" image=\"close.bmp\"/>\n"
            "  <toolbar position=\"10,106,80,114\" image=\"tb.bmp\"%5 align=\"%6\"/>\n"
            "  <scrollbar bar_image=\"sbbar.bmp\" buttons_image=\"sbbuttons.bmp\" "
            "thumb_image=\"sbthumb.bmp\"/>\n"
            "  <playlist position=\"10,18,190,100\"/>\n"
            " </playlist_window>\n</skin>\n")
            .arg(o.name)
            .arg(kTop)
            .arg(kWidth)
            .arg(kTop + kHeight)
            .arg(o.withHot ? QStringLiteral(" hot_image=\"tbhot.bmp\"") : QString(),
                 o.toolbarAlign);
    QFile f(folder + QStringLiteral("/skin.xml"));
    if (f.open(QIODevice::WriteOnly))
        f.write(xml.toUtf8());
    if (o.withColours)
        WriteColours(folder, o.selectColour, o.textColour);
    return folder;
}

} // namespace TestPlaylistSkin
