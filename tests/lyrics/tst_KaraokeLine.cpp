// A line with word times in the real view, driven by the real follower from
// a parsed enhanced LRC: what is sung is drawn in the selection colour, the
// rest in the text colour, a word change repaints that line alone, and the
// follower wakes for the next word rather than the next line.
#include "lyrics/LrcParser.h"
#include "lyrics/LyricsFollower.h"
#include "lyrics/ctlLyrics.h"
#include "support/TestWindows.h"

#include <QPaintEvent>
#include <QtTest>

namespace {

// COLORREF values (0x00BBGGRR) and what they are on screen.
constexpr quint32 kText = 0x0000FF, kSelected = 0x00FF00, kBackground = 0x000000;
constexpr QRgb kTextRgb = qRgb(255, 0, 0), kSelectedRgb = qRgb(0, 255, 0);

// "O" throughout, so the split after the first half is at the centre.
const QString kLrc = QStringLiteral("[00:01]whole line\n"
                                    "[00:02]<00:02.00>OOOOO <00:03.00>OOOOO<00:03.50>\n"
                                    "[00:06]<00:07.00>OOOOO OOOOO\n");

// Records the rectangles the view is asked to paint.
class PaintLog : public QObject {
public:
    QList<QRect> rects;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

} // namespace

class tst_KaraokeLine : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sungPartInTheSelectionColour_data();
    void sungPartInTheSelectionColour();
    void wordChangeRepaintsTheLineAlone();
    void followerWakesForTheNextWord();

private:
    std::unique_ptr<ctlLyrics> m_view;
    std::unique_ptr<LyricsFollower> m_follower;
    double m_position = 0;
};

void tst_KaraokeLine::init() {
    m_view = std::make_unique<ctlLyrics>();
    m_view->resize(320, 160);
    m_view->SetColors(kText, kSelected, kBackground);
    m_follower = std::make_unique<LyricsFollower>([this] { return m_position; });
    connect(m_follower.get(), &LyricsFollower::LineChanged, m_view.get(),
            [this](int index, bool jump) { m_view->SetCurrentLine(index, !jump); });
    connect(m_follower.get(), &LyricsFollower::SungChanged, m_view.get(), &ctlLyrics::SetSung);
    const Lyrics lyrics = LrcParser::Parse(kLrc);
    m_view->SetLyrics(lyrics);
    m_follower->SetLyrics(lyrics);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void tst_KaraokeLine::cleanup() {
    m_follower.reset();
    m_view.reset();
}

void tst_KaraokeLine::sungPartInTheSelectionColour_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("line");
    // The colours of the line's glyphs left and right of the centre:
    // "S" selection, "T" text.
    QTest::addColumn<QString>("colours");
    QTest::newRow("a line without word times is all selected") << 1.5 << 0 << "SS";
    QTest::newRow("first word sung") << 2.5 << 1 << "ST";
    QTest::newRow("both words sung") << 3.2 << 1 << "SS";
    QTest::newRow("lead-in: nothing sung yet") << 6.5 << 2 << "TT";
}

void tst_KaraokeLine::sungPartInTheSelectionColour() {
    QFETCH(double, seconds);
    QFETCH(int, line);
    QFETCH(QString, colours);
    // Through every earlier state, as playing on would come.
    for (double at : {0.0, 1.5, 2.5, 3.2, 6.5}) {
        if (at <= seconds)
            m_follower->Resync(false, at);
    }
    QCOMPARE(m_view->CurrentLine(), line);
    const QImage shot = m_view->grab().toImage();
    const int lh = m_view->LineHeight();
    const int mid = m_view->height() / 2;
    const int centre = m_view->width() / 2;
    const QRect left(0, mid - lh / 2, centre - 2, lh);
    const QRect right(centre + 8, mid - lh / 2, m_view->width() - centre - 8, lh);
    const auto colourOf = [&](const QRect& area) {
        const int selected = TestWindows::CountColour(shot, kSelectedRgb, area);
        const int text = TestWindows::CountColour(shot, kTextRgb, area);
        return selected > 10 && text == 0   ? QLatin1Char('S')
               : text > 10 && selected == 0 ? QLatin1Char('T')
                                            : QLatin1Char('?');
    };
    QCOMPARE(QString(colourOf(left)) + colourOf(right), colours);
}

// Following a karaoke line costs a repaint of its row per word, no more.
void tst_KaraokeLine::wordChangeRepaintsTheLineAlone() {
    m_follower->Resync(false, 2.5);
    QTest::qWait(50);
    PaintLog log;
    m_view->installEventFilter(&log);
    m_follower->Resync(false, 3.2);
    QTRY_VERIFY(!log.rects.isEmpty());
    QTest::qWait(50);
    const int lh = m_view->LineHeight();
    const QRect row(0, int(std::lround(m_view->LineCentreY(1) - lh / 2.0)), m_view->width(), lh);
    QCOMPARE(log.rects, QList<QRect>{row});
    // The same part sung again paints nothing.
    log.rects.clear();
    m_follower->Resync(false, 3.3);
    QTest::qWait(50);
    QCOMPARE(log.rects.size(), 0);
}

// Playing on, the follower's timer is set for the next word (3 s), not for
// the next line (6 s, beyond its longest wait).
void tst_KaraokeLine::followerWakesForTheNextWord() {
    m_position = 2.5;
    m_follower->Resync(true);
    QCOMPARE(m_follower->SungLength(), 6);
    m_position = 3.05;
    QTRY_COMPARE_WITH_TIMEOUT(m_follower->SungLength(), 11, 1200);
    QCOMPARE(m_follower->CurrentLine(), 1);
}

QTEST_MAIN(tst_KaraokeLine)
#include "tst_KaraokeLine.moc"
