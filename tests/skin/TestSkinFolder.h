#pragma once

// A small complete skin written into a folder by the tests: bitmaps drawn in
// code and a "skin.xml" describing the player window. Every picture has its
// own colours, so a test can tell from the pixels which picture is shown.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <sys/stat.h>

namespace TestSkinFolder {

constexpr QRgb kMagenta = 0xFFFF00FF; // the usual transparent colour, #FF00FF
constexpr int kWidth = 200;
constexpr int kHeight = 80;
constexpr int kFrameW = 12; // one button frame
constexpr int kFrameH = 10;
constexpr int kGlyphW = 5; // one digit of the time display
constexpr int kGlyphH = 8;

struct Button {
    const char* element; // the element name in skin.xml
    const char* control; // the control the window places with it
};

inline const QList<Button>& Buttons() {
    static const QList<Button> buttons = {
        {"play", "cmdPlay"},         {"pause", "cmdPause"},       {"stop", "cmdStop"},
        {"prev", "cmdPrev"},         {"next", "cmdNext"},         {"mute", "cmdMute"},
        {"open", "cmdOpen"},         {"lyric", "cmdLyric"},       {"equalizer", "cmdEqualizer"},
        {"playlist", "cmdPlaylist"}, {"minimize", "cmdMinimize"}, {"minimode", "cmdMinimode"},
        {"exit", "cmdExit"}};
    return buttons;
}

// Where button i sits (its top-left corner); the skin gives each a larger
// rectangle than its frame, which must not change its size.
inline QPoint ButtonAt(int i) {
    return QPoint(14 + (i % 7) * 24, 18 + (i / 7) * 14);
}

// The colour of frame k of button i; never the mask colour.
inline QRgb ButtonColour(int i, int k) {
    return qRgb(20 + 15 * i, 40 + 50 * k, 90);
}

inline QRgb BackgroundColour(int x, int y) {
    return qRgb(x % 200, 200, 30 + y);
}

// The window's picture: mask-colour squares cut off the top-left and the
// bottom-right corner.
inline QImage Background(QRgb mask = kMagenta) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, BackgroundColour(x, y));
    QPainter p(&image);
    p.fillRect(0, 0, 10, 10, QColor::fromRgb(mask));
    p.fillRect(kWidth - 10, kHeight - 10, 10, 10, QColor::fromRgb(mask));
    return image;
}

inline QRegion BackgroundShape() {
    return QRegion(0, 0, kWidth, kHeight) - QRegion(0, 0, 10, 10) -
           QRegion(kWidth - 10, kHeight - 10, 10, 10);
}

// Four frames; the top-left pixel of each is cut out.
inline QImage ButtonStrip(int i, QRgb mask = kMagenta) {
    QImage strip(4 * kFrameW, kFrameH, QImage::Format_RGB32);
    for (int k = 0; k < 4; ++k) {
        for (int y = 0; y < kFrameH; ++y)
            for (int x = 0; x < kFrameW; ++x)
                strip.setPixel(k * kFrameW + x, y, x == 0 && y == 0 ? mask : ButtonColour(i, k));
    }
    return strip;
}

inline QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct Options {
    QString name = QStringLiteral("Test Skin");
    QRgb mask = kMagenta;     // the transparent colour
    QPoint shift;             // added to every position the skin gives
    QStringList withoutImage; // elements whose "image" attribute is left out
    QString missingFile;      // a picture named by the skin but not written
    QString garbledFile;      // a picture written as bytes no loader reads
    QString fifoFile;         // a picture that is a FIFO nobody writes to
    QString infoAlign = QStringLiteral("RIGHT");
    QString volumeVertical = QStringLiteral("True");
};

inline void Save(const QString& path, const QImage& image, const Options& o) {
    const QString file = QFileInfo(path).fileName();
    if (file.compare(o.missingFile, Qt::CaseInsensitive) == 0)
        return;
    if (file.compare(o.fifoFile, Qt::CaseInsensitive) == 0) {
        mkfifo(QFile::encodeName(path).constData(), 0600);
        return;
    }
    if (file.compare(o.garbledFile, Qt::CaseInsensitive) == 0) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("BM this is not a bitmap");
        return;
    }
    image.save(path, "BMP");
}

inline QString ImageAttr(const Options& o, const char* element, const QString& file) {
    if (o.withoutImage.contains(QLatin1String(element)))
        return QString();
    return QStringLiteral(" image=\"%1\"").arg(file);
}

// Writes the skin into skinsDir/<o.name>/ and returns that folder. Picture
// files are written in lower case; skin.xml names some of them in other cases.
inline QString Write(const QString& skinsDir, const Options& o = Options()) {
    const QString folder = skinsDir + QLatin1Char('/') + o.name;
    QDir().mkpath(folder);
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                 "<skin author=\"t\" email=\"t@example.org\" name=\"%1\" "
                                 "url=\"http://example.org\" version=\"1\" "
                                 "transparent_color=\"%2\">\n")
                      .arg(o.name, QColor::fromRgb(o.mask).name());
    // A rectangle attribute, moved by o.shift.
    const auto rect = [&o](int l, int t, int r, int b) {
        const QPoint d = o.shift;
        return QStringLiteral("%1, %2, %3, %4")
            .arg(l + d.x())
            .arg(t + d.y())
            .arg(r + d.x())
            .arg(b + d.y());
    };
    Save(folder + "/back.bmp", Background(o.mask), o);
    xml += QStringLiteral(" <player_window image=\"Back.BMP\">\n");
    for (int i = 0; i < Buttons().size(); ++i) {
        const Button& b = Buttons()[i];
        const QString file = QStringLiteral("%1.bmp").arg(QLatin1String(b.element));
        Save(folder + QLatin1Char('/') + file, ButtonStrip(i, o.mask), o);
        const QPoint at = ButtonAt(i);
        xml += QStringLiteral("  <%1 position=\"%2\"%3 align=\"left\"/>\n")
                   .arg(QLatin1String(b.element), rect(at.x(), at.y(), at.x() + 40, at.y() + 30),
                        ImageAttr(o, b.element, file.toUpper()));
    }
    QImage digits(12 * kGlyphW, kGlyphH, QImage::Format_RGB32);
    digits.fill(qRgb(0, 255, 0));
    Save(folder + "/led.bmp", digits, o);
    xml += QStringLiteral("  <led position=\"%1\"%2/>\n")
               .arg(rect(10, 4, 120, 12), ImageAttr(o, "led", "led.bmp"));
    xml += QStringLiteral("  <info position=\"%1\" color=\"#102030\" align=\"%2\"/>\n")
               .arg(rect(20, 50, 120, 62), o.infoAlign);
    xml += QStringLiteral("  <stereo position=\"%1\" color=\"#00FF00\" align=\"center\"/>\n")
               .arg(rect(130, 50, 160, 60));
    xml += QStringLiteral("  <status position=\"%1\" color=\"#0000FF\"/>\n")
               .arg(rect(130, 4, 190, 14));
    Save(folder + "/bar.bmp", Filled(140, 6, qRgb(40, 40, 40)), o);
    Save(folder + "/fill.bmp", Filled(140, 6, qRgb(60, 160, 250)), o);
    Save(folder + "/thumb.bmp", Filled(24, 6, qRgb(230, 230, 230)), o);
    xml += QStringLiteral("  <progress position=\"%1\" bar_image=\"bar.bmp\" "
                          "fill_image=\"Fill.bmp\" thumb_image=\"thumb.bmp\"/>\n")
               .arg(rect(10, 66, 150, 72));
    Save(folder + "/vbar.bmp", Filled(6, 40, qRgb(40, 40, 40)), o);
    Save(folder + "/vthumb.bmp", Filled(24, 6, qRgb(200, 200, 200)), o);
    xml += QStringLiteral("  <volume position=\"%1\" vertical=\"%2\" "
                          "bar_image=\"vbar.bmp\" thumb_image=\"vthumb.bmp\"/>\n")
               .arg(rect(170, 20, 176, 60), o.volumeVertical);
    xml += QStringLiteral(" </player_window>\n</skin>\n");
    QFile f(folder + "/skin.xml");
    if (f.open(QIODevice::WriteOnly))
        f.write(xml.toUtf8());
    return folder;
}

} // namespace TestSkinFolder
