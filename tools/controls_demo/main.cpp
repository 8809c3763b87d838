// A small window made of the skinnable controls: a shaped background, three
// buttons, a seek bar, a vertical volume slider and the time display. Every
// picture is drawn here, pixel-exact, with magenta as the mask colour.

#include "controls/ModMask.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "controls/ctlNumber.h"
#include "controls/ctlProgress.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWidget>

namespace {

const QColor kMagenta(255, 0, 255);

QImage Blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kMagenta);
    return image;
}

// The window: a rounded panel with a darker inset for the display.
QImage Background() {
    QImage image = Blank(300, 110);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(52, 58, 70));
    p.drawRoundedRect(QRect(0, 0, 300, 110), 14, 14);
    p.setBrush(QColor(30, 33, 40));
    p.drawRect(12, 12, 250, 28);
    p.setBrush(QColor(70, 78, 94));
    p.drawRect(12, 44, 250, 2);
    return image;
}

enum class Glyph { Play, Pause, Stop };

// Four looks of a round button: normal, hot, pressed, disabled.
QImage ButtonStrip(Glyph glyph) {
    const int w = 26, h = 26;
    QImage strip = Blank(4 * w, h);
    const QColor faces[4] = {QColor(90, 100, 120), QColor(120, 150, 200), QColor(50, 70, 110),
                             QColor(80, 80, 80)};
    const QColor marks[4] = {QColor(230, 230, 230), Qt::white, QColor(200, 220, 255),
                             QColor(130, 130, 130)};
    QPainter p(&strip);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        const int x = k * w;
        const int shift = k == 2 ? 1 : 0; // the pressed look sinks a pixel
        p.setBrush(faces[k]);
        p.drawEllipse(QRect(x, 0, w, h));
        p.setBrush(marks[k]);
        if (glyph == Glyph::Play) {
            const QPoint tri[3] = {QPoint(x + 10 + shift, 7 + shift),
                                   QPoint(x + 19 + shift, 13 + shift),
                                   QPoint(x + 10 + shift, 19 + shift)};
            p.drawPolygon(tri, 3);
        } else if (glyph == Glyph::Pause) {
            p.drawRect(x + 8 + shift, 8 + shift, 3, 10);
            p.drawRect(x + 15 + shift, 8 + shift, 3, 10);
        } else {
            p.drawRect(x + 8 + shift, 8 + shift, 10, 10);
        }
    }
    return strip;
}

// Seven-segment glyphs "0".."9", ":" and "-", 9 by 13 pixels each.
QImage DigitStrip() {
    const int g = 9;
    QImage strip = Blank(12 * g, 13);
    // Segments a..g as rectangles within a cell.
    const QRect segments[7] = {QRect(2, 0, 5, 2),  QRect(7, 1, 2, 5), QRect(7, 7, 2, 5),
                               QRect(2, 11, 5, 2), QRect(0, 7, 2, 5), QRect(0, 1, 2, 5),
                               QRect(2, 6, 5, 1)};
    const char* lit[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                           "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    QPainter p(&strip);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 255, 140));
    for (int i = 0; i < 10; ++i) {
        for (const char* s = lit[i]; *s; ++s) {
            p.drawRect(segments[*s - 'a'].translated(i * g, 0));
        }
    }
    p.drawRect(10 * g + 3, 3, 2, 2); // ":"
    p.drawRect(10 * g + 3, 8, 2, 2);
    p.drawRect(segments[6].translated(11 * g, 0)); // "-"
    return strip;
}

QImage Track(int w, int h, QColor colour) {
    QImage image = Blank(w, h);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(0, 1, w, h - 2);
    return image;
}

QImage ThumbStrip(int w, int h) {
    QImage strip = Blank(4 * w, h);
    const QColor faces[4] = {QColor(210, 210, 220), Qt::white, QColor(160, 180, 230),
                             QColor(110, 110, 110)};
    QPainter p(&strip);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        p.setBrush(faces[k]);
        p.drawRect(k * w + 1, 0, w - 2, h);
        p.drawRect(k * w, 1, w, h - 2);
    }
    return strip;
}

class DemoWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture)
public:
    DemoWindow() : QWidget(nullptr, Qt::FramelessWindowHint), m_picture(Background()) {
        resize(m_picture.size());
        auto* time = new ctlNumber(this);
        time->SetPicture(DigitStrip());
        time->move(20, 19);
        time->SetText("03:25");

        auto* seek = new ctlProgress(this);
        seek->SetPicBack(m_picture);
        seek->SetPicBar(Track(230, 6, QColor(25, 28, 34)));
        seek->SetPicFill(Track(230, 6, QColor(90, 160, 255)));
        seek->SetPicThumb(ThumbStrip(12, 10));
        seek->setGeometry(22, 52, 230, 10);
        seek->SetMax(100);
        seek->SetValue(40);

        auto* volume = new ctlProgress(this);
        volume->SetVertical(true);
        volume->SetPicBack(m_picture);
        volume->SetPicBar(Track(6, 86, QColor(25, 28, 34)).transformed(QTransform()));
        volume->SetPicFill(Track(6, 86, QColor(120, 255, 140)));
        volume->SetPicThumb(ThumbStrip(10, 8));
        volume->setGeometry(274, 12, 10, 86);
        volume->SetValue(70);

        const Glyph glyphs[3] = {Glyph::Play, Glyph::Pause, Glyph::Stop};
        for (int i = 0; i < 3; ++i) {
            auto* button = new ctlButton(this);
            button->SetPicture(ButtonStrip(glyphs[i]));
            button->move(22 + i * 34, 72);
            button->SetEnabled(i != 1); // pause shows its disabled look
            connect(button, &ctlButton::Click, time,
                    [time, i] { time->SetText(i == 2 ? "00:00" : "-00:01"); });
            m_buttons[i] = button;
        }
        connect(seek, &ctlProgress::Scroll, time, [time, seek] {
            time->SetText(QString("%1:%2")
                              .arg(seek->Value() / 60, 2, 10, QLatin1Char('0'))
                              .arg(seek->Value() % 60, 2, 10, QLatin1Char('0')));
        });

        auto* shaper = new TransFormCtl(this);
        shaper->SetForm();
    }
    QImage Picture() const { return m_picture; }
    ctlButton* ButtonAt(int i) const { return m_buttons[i]; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture); }

private:
    QImage m_picture;
    ctlButton* m_buttons[3] = {};
};

// What the window shows, with the pixels outside its shape left transparent.
QImage Shot(DemoWindow& window) {
    const QImage grabbed = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shot(grabbed.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    QPainter p(&shot);
    p.setClipRegion(window.mask());
    p.drawImage(0, 0, grabbed);
    return shot;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DemoWindow window;
    window.show();
    const QStringList args = app.arguments();
    const qsizetype shotAt = args.indexOf("--shot");
    if (shotAt >= 0 && shotAt + 1 < args.size()) {
        // Show the play button hot, as with the pointer over it.
        window.ButtonAt(0)->DrawState(ctlButton::Hot);
        const qsizetype scaleAt = args.indexOf("--scale");
        const int scale =
            scaleAt >= 0 && scaleAt + 1 < args.size() ? args.at(scaleAt + 1).toInt() : 1;
        QTimer::singleShot(0, &app, [&, scale] {
            QImage shot = Shot(window);
            if (scale > 1) { // enlarged pixel by pixel, for looking at
                shot =
                    shot.scaled(shot.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            }
            const bool saved = shot.save(args.at(shotAt + 1));
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}

#include "main.moc"
