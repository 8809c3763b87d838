#include "Preview.h"

#include "Canvas.h"
#include "SkinLayout.h"
#include "SkinWriter.h"

#include <QPainter>

namespace skingen::Preview {

namespace {

using Files = std::map<QString, QByteArray>;

QImage picture(const Files& files, const QString& name) {
    const auto it = files.find(name);
    return it == files.end() ? QImage() : QImage::fromData(it->second, "BMP");
}

QImage frame(const QImage& strip, int count, int index) {
    const int w = strip.width() / count;
    return strip.copy(index * w, 0, w, strip.height());
}

void text(QImage& image, const QRect& r, QRgb colour, Qt::Alignment align, const QString& s) {
    QPainter p(&image);
    QFont font = p.font();
    font.setPixelSize(std::max(8, r.height() - 2));
    p.setFont(font);
    p.setPen(QColor::fromRgb(colour));
    p.drawText(r, int(align | Qt::AlignVCenter), s);
}

void slider(Canvas& c, const Files& f, const SliderSpec& s, int percent) {
    const QImage bar = picture(f, s.element + "_bar.bmp");
    const QImage fill = picture(f, s.element + "_fill.bmp");
    const QImage thumb = frame(picture(f, s.element + "_thumb.bmp"), 4, 0);
    const int left = (s.rect.width() - thumb.width()) * percent / 100;
    c.Draw(s.rect.left(), s.rect.top(), bar, false);
    c.Draw(s.rect.left(), s.rect.top() + (thumb.height() - fill.height()) / 2, fill,
           QRect(0, 0, left, fill.height()), false);
    c.Draw(s.rect.left() + left, s.rect.top(), thumb, false);
}

QImage player(const SkinDesign& d, const Files& f) {
    const PlayerLayout l = MakePlayerLayout(d.style);
    Canvas c(picture(f, "player_window.bmp"));
    for (const ButtonSpec& b : l.buttons) {
        if (b.element == "pause")
            continue; // shares its place with play
        const int look = b.element == "playlist" ? 2 : b.element == "lyric" ? 3 : 0;
        c.Draw(b.rect.left(), b.rect.top(), frame(picture(f, b.file), 4, look), false);
    }
    const QImage led = picture(f, "led.bmp");
    const int g = led.width() / 12;
    const QString time = "03:25";
    for (int i = 0; i < time.size(); ++i) {
        const int glyph = time[i] == u':' ? 10 : time[i].digitValue();
        c.Draw(l.led.left() + g * (i + 1), l.led.top(), led, QRect(glyph * g, 0, g, led.height()),
               false);
    }
    slider(c, f, l.progress, 38);
    slider(c, f, l.volume, 75);
    QImage image = c.Image();
    text(image, l.info, d.palette.textInfo, Qt::AlignLeft, "Artist - A Song Title (3:25)");
    text(image, l.stereo, d.palette.textStereo, Qt::AlignHCenter, "stereo");
    text(image, l.status, d.palette.textStatus, Qt::AlignRight, "Playing 128 kbps");
    return image;
}

QImage nineSlice(const QImage& back, const QRect& r, QSize size) {
    QImage out(size, QImage::Format_RGB32);
    out.fill(kMask);
    QPainter p(&out);
    const int x[] = {0, r.left(), size.width() - (back.width() - r.right() - 1), size.width()};
    const int y[] = {0, r.top(), size.height() - (back.height() - r.bottom() - 1), size.height()};
    const int sx[] = {0, r.left(), r.right() + 1, back.width()};
    const int sy[] = {0, r.top(), r.bottom() + 1, back.height()};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            p.drawImage(QRect(x[i], y[j], x[i + 1] - x[i], y[j + 1] - y[j]), back,
                        QRect(sx[i], sy[j], sx[i + 1] - sx[i], sy[j + 1] - sy[j]));
    return out;
}

void listRows(Canvas& c, const SkinDesign& d, const Files& f, const QRect& list) {
    const Palette& p = d.palette;
    const QImage buttons = picture(f, "pl_scroll_buttons.bmp");
    const QImage thumb = picture(f, "pl_scroll_thumb.bmp");
    const int sw = buttons.width() / 3, sh = buttons.height() / 2;
    const QRect bar(list.right() - sw + 1, list.top(), sw, list.height());
    const int rowH = 13;
    for (int row = 0; row * rowH < list.height(); ++row)
        c.Fill(
            QRect(list.left(), list.top() + row * rowH, list.width() - sw, rowH).intersected(list),
            row % 2 ? p.listBkgnd2 : p.listBkgnd);
    c.Draw(bar.left(), bar.top(), picture(f, "pl_scroll_bar.bmp").scaled(bar.size()), false);
    c.Draw(bar.left(), bar.top(), buttons, QRect(0, 0, sw, sh), false);
    c.Draw(bar.left(), bar.bottom() - sh + 1, buttons, QRect(sw, sh, sw, sh), false);
    c.Draw(bar.left(), bar.top() + sh + 14, thumb, QRect(0, 0, sw, thumb.height()), false);
}

void listText(QImage& image, const SkinDesign& d, const QRect& list, int scroll) {
    const Palette& p = d.palette;
    const char* titles[] = {"Daybreak Overture", "Neon Rain",     "Paper Boats",   "Slow Orbit",
                            "Last Train Home",   "Harbor Lights", "Glass Garden",  "Midnight Radio",
                            "Cloud Atlas Waltz", "Quiet Storm",   "Northern Line", "Violet Hour"};
    const int rowH = 13;
    for (int row = 0; (row + 1) * rowH <= list.height() && row < 12; ++row) {
        const QRect r(list.left() + 2, list.top() + row * rowH, list.width() - scroll - 6, rowH);
        const bool selected = row == 2;
        text(image, r, p.listNumber, Qt::AlignLeft, QString::number(row + 1) + ".");
        text(image, r.adjusted(16, 0, 0, 0), selected ? p.listSelect : p.listText, Qt::AlignLeft,
             titles[row]);
        text(image, r, selected ? p.listSelect : p.listDuration, Qt::AlignRight,
             QStringLiteral("%1:%2").arg(2 + row % 4).arg(row * 7 % 60, 2, 10, QLatin1Char('0')));
    }
}

QImage playlist(const SkinDesign& d, const Files& f, QSize size) {
    const PlaylistLayout l = MakePlaylistLayout(d.style, MakePlayerLayout(d.style));
    Canvas c(nineSlice(picture(f, "playlist_window.bmp"), l.resize, size));
    const QImage title = picture(f, "pl_title.bmp");
    c.Draw((size.width() - title.width()) / 2, l.titleImage.top(), title, false);
    const int dx = size.width() - l.position.width(), dy = size.height() - l.position.height();
    c.Draw(l.close.rect.left() + dx, l.close.rect.top(), frame(picture(f, l.close.file), 4, 0),
           false);
    const QImage bar = picture(f, "pl_toolbar.bmp"), hot = picture(f, "pl_toolbar_hot.bmp");
    const int cell = bar.width() / 7;
    c.Draw(l.toolbar.left(), l.toolbar.top() + dy, bar, false);
    c.Draw(l.toolbar.left() + cell, l.toolbar.top() + dy, hot, QRect(cell, 0, cell, hot.height()),
           false);
    const QRect list = l.list.adjusted(0, 0, dx, dy);
    listRows(c, d, f, list);
    QImage image = c.Image();
    listText(image, d, list, l.scrollCell.width());
    return image;
}

// Every strip of the skin at its natural size, one per line.
QImage sheet(const Files& f, int width) {
    std::vector<QImage> strips;
    for (const auto& [name, bytes] : f)
        if (name.endsWith(".bmp") && !name.endsWith("_window.bmp"))
            strips.push_back(picture(f, name));
    std::sort(strips.begin(), strips.end(),
              [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
    int height = 4;
    for (const QImage& s : strips)
        height += s.height() + 3;
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(qRgb(128, 128, 128));
    QPainter p(&out);
    int x = 4, y = 4, rowH = 0;
    for (const QImage& s : strips) {
        if (x + s.width() > width - 4)
            x = 4, y += rowH + 3, rowH = 0;
        p.drawImage(x, y, s);
        x += s.width() + 6, rowH = std::max(rowH, s.height());
    }
    return out.copy(0, 0, width, y + rowH + 4);
}

// The windows as they would sit on a plain desktop.
QImage onDesktop(QImage image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000) == kMask)
                image.setPixel(x, y, qRgb(96, 96, 96));
    return image;
}

} // namespace

QImage Compose(const SkinDesign& d, int zoom) {
    const Files f = SkinWriter::Files(d);
    const QImage top = onDesktop(player(d, f));
    const PlaylistLayout l = MakePlaylistLayout(d.style, MakePlayerLayout(d.style));
    const QImage list = onDesktop(playlist(d, f, l.position.size()));
    const QImage wide = onDesktop(playlist(d, f, l.position.size() + QSize(60, 40)));
    const QImage strips = sheet(f, top.width() + wide.width() + 12);
    QImage out(strips.width(),
               std::max(top.height() + list.height(), wide.height()) + 8 + strips.height(),
               QImage::Format_RGB32);
    out.fill(qRgb(96, 96, 96));
    QPainter p(&out);
    p.drawImage(0, 0, top);
    p.drawImage(0, top.height(), list);
    p.drawImage(top.width() + 12, 0, wide);
    p.drawImage(0, out.height() - strips.height(), strips);
    p.end();
    return out.scaled(out.size() * zoom);
}

QImage PlayerWindow(const SkinDesign& d, int zoom) {
    const QImage image = onDesktop(player(d, SkinWriter::Files(d)));
    return image.scaled(image.size() * zoom);
}

} // namespace skingen::Preview
