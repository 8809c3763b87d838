#include "TestPictures.h"

#include "controls/ModColor.h"
#include "controls/PropertyBag.h"
#include "controls/ctlListItem.h"

#include <QSignalSpy>
#include <QtTest>

using namespace TestPictures;

namespace {

constexpr quint32 kBack = 0x00102030;
constexpr quint32 kTitle = 0x0000C0C0;
constexpr quint32 kTime = 0x00C000C0;
constexpr quint32 kNum = 0x00C0C000;
constexpr quint32 kSelect = 0x000000FF;
constexpr quint32 kOtherBack = 0x00404040;

QRgb Rgb(quint32 colorRef) {
    return ModColor::ToQRgb(colorRef) | 0xFF000000;
}

struct Rig {
    QWidget host;
    ctlListItem* row;
    QStringList log;
    Rig() {
        host.resize(340, 60);
        row = new ctlListItem(&host);
        row->setGeometry(10, 10, 313, 40);
        row->SetBkColor(kBack);
        row->SetTitleColor(kTitle);
        row->SetTimeColor(kTime);
        row->SetNumColor(kNum);
        row->SetSelectColor(kSelect);
        QObject::connect(row, &ctlListItem::Click, [this] { log << "Click"; });
        QObject::connect(row, &ctlListItem::DblClick, [this] { log << "DblClick"; });
        QObject::connect(row, &ctlListItem::MouseDown, [this](int b, int s, float x, float y) {
            log << QStringLiteral("Down %1 %2 %3,%4").arg(b).arg(s).arg(x).arg(y);
        });
        QObject::connect(row, &ctlListItem::MouseUp, [this](int b, int, float, float) {
            log << QStringLiteral("Up %1").arg(b);
        });
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            qWarning("host not exposed");
        }
    }
};

} // namespace

class tst_ctlListItem : public QObject {
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
    void selectionColours_data();
    void selectionColours();
    void selectionIsDrawn();
    void layout_data();
    void layout();
    void isLeftWaitsForResize();
    void mouseEvents();
    void properties();
};

void tst_ctlListItem::numberText_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<bool>("asCaption");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("read");
    QTest::newRow("number") << "12" << false << "12."
                            << "12";
    QTest::newRow("stored caption keeps its dot") << "7." << true << "7."
                                                  << "7";
    QTest::newRow("every dot goes") << "1.5." << true << "1.5."
                                    << "15";
    QTest::newRow("empty") << "" << false << "."
                           << "";
}

void tst_ctlListItem::numberText() {
    QFETCH(QString, set);
    QFETCH(bool, asCaption);
    QFETCH(QString, caption);
    QFETCH(QString, read);
    ctlListItem row;
    if (asCaption) {
        PropertyBag bag;
        bag.WriteProperty("NumText", set);
        row.ReadProperties(bag);
    } else {
        row.SetNumText(set);
    }
    QCOMPARE(row.NumCaption(), caption);
    QCOMPARE(row.NumText(), read);
}

void tst_ctlListItem::selectionColours_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<quint32>("title");
    QTest::addColumn<quint32>("time");
    QTest::addColumn<quint32>("back");
    QTest::newRow("selected") << QStringList{"select"} << kSelect << kSelect << kBack;
    QTest::newRow("deselected again")
        << QStringList{"select", "deselect"} << kTitle << kTime << kBack;
    QTest::newRow("selected twice remembers the select colours")
        << QStringList{"select", "select", "deselect"} << kSelect << kSelect << kBack;
    QTest::newRow("background set while selected is what comes back")
        << QStringList{"select", "back", "deselect"} << kTitle << kTime << kOtherBack;
    QTest::newRow("title colour set while selected shows at once")
        << QStringList{"select", "title"} << kOtherBack << kSelect << kBack;
    QTest::newRow("deselecting an unselected row keeps its colours")
        << QStringList{"deselect"} << kTitle << kTime << kBack;
}

void tst_ctlListItem::selectionColours() {
    QFETCH(QStringList, steps);
    QFETCH(quint32, title);
    QFETCH(quint32, time);
    QFETCH(quint32, back);
    Rig rig;
    for (const QString& step : steps) {
        if (step == "select") {
            rig.row->SetSelected(true);
        } else if (step == "deselect") {
            rig.row->SetSelected(false);
        } else if (step == "back") {
            rig.row->SetBkColor(kOtherBack);
        } else if (step == "title") {
            rig.row->SetTitleColor(kOtherBack);
        }
    }
    QCOMPARE(rig.row->TitleColor(), title);
    QCOMPARE(rig.row->TimeColor(), time);
    QCOMPARE(rig.row->BkColor(), back);
    QCOMPARE(rig.row->NumColor(), kNum); // the number never takes the select colour
}

void tst_ctlListItem::selectionIsDrawn() {
    Rig rig;
    QCOMPARE(rig.row->height(), ctlListItem::kRowHeight);
    QCOMPARE(PixelOf(rig.row, QPoint(0, 0)), Rgb(kBack));
    QCOMPARE(PixelOf(rig.row, QPoint(30, 6)), Rgb(kBack)); // between number and title
    rig.row->SetSelected(true);
    QVERIFY(rig.row->ShapeVisible());
    QCOMPARE(PixelOf(rig.row, QPoint(0, 0)), Rgb(kSelect));
    QCOMPARE(PixelOf(rig.row, QPoint(312, 12)), Rgb(kSelect));
    QCOMPARE(PixelOf(rig.row, QPoint(30, 6)), Rgb(kBack));
    rig.row->SetSelected(false);
    QCOMPARE(PixelOf(rig.row, QPoint(0, 0)), Rgb(kBack));
    // Title text is drawn in the title colour.
    rig.row->SetTitleText(QString(20, QChar(0x2588)));
    const QImage shot = rig.row->grab().toImage();
    bool found = false;
    for (int x = 32; x < 200 && !found; ++x) {
        found = (shot.pixel(x, 6) | 0xFF000000) == Rgb(kTitle);
    }
    QVERIFY(found);
}

void tst_ctlListItem::layout_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("isLeft");
    QTest::addColumn<QRect>("title");
    QTest::addColumn<QRect>("time");
    QTest::newRow("313 wide") << 313 << false << QRect(32, 1, 248, 12) << QRect(280, 1, 30, 12);
    QTest::newRow("narrow row has no title")
        << 50 << false << QRect(32, 1, 0, 12) << QRect(17, 1, 30, 12);
    QTest::newRow("title only") << 313 << true << QRect(1, 1, 311, 11) << QRect();
}

void tst_ctlListItem::layout() {
    QFETCH(int, width);
    QFETCH(bool, isLeft);
    QFETCH(QRect, title);
    QFETCH(QRect, time);
    QWidget host;
    auto* row = new ctlListItem(&host);
    row->SetIsLeft(isLeft);
    row->resize(width, 100);
    host.show(); // a hidden widget gets its resize when shown
    QCOMPARE(row->height(), ctlListItem::kRowHeight);
    QCOMPARE(row->TitleRect(), title);
    QCOMPARE(row->NumVisible(), !isLeft);
    QCOMPARE(row->TimeVisible(), !isLeft);
    if (!isLeft) {
        QCOMPARE(row->TimeRect(), time);
        QCOMPARE(row->NumRect(), QRect(0, 1, 28, 12));
    }
}

void tst_ctlListItem::isLeftWaitsForResize() {
    Rig rig;
    const QRect before = rig.row->TitleRect();
    rig.row->SetIsLeft(true);
    QCOMPARE(rig.row->TitleRect(), before);
    QVERIFY(rig.row->TimeVisible());
    rig.row->resize(200, 13);
    QCOMPARE(rig.row->TitleRect(), QRect(1, 1, 198, 11));
    QVERIFY(!rig.row->TimeVisible());
    rig.row->SetIsLeft(false);
    rig.row->Layout();
    QCOMPARE(rig.row->TitleRect(), QRect(32, 1, 135, 12));
}

void tst_ctlListItem::mouseEvents() {
    Rig rig;
    Click(rig.row, QPoint(40, 5));
    QCOMPARE(rig.log, (QStringList{"Down 1 0 40,5", "Up 1", "Click"}));
    rig.log.clear();
    QTest::mouseClick(WindowOf(rig.row), Qt::RightButton, Qt::ShiftModifier,
                      InWindow(rig.row, QPoint(7, 3)));
    QCOMPARE(rig.log, (QStringList{"Down 2 1 7,3", "Up 2"}));
    rig.log.clear();
    DoubleClick(rig.row, QPoint(40, 5));
    QCOMPARE(rig.log.count("Click"), 1);
    QCOMPARE(rig.log.count("DblClick"), 1);
    QCOMPARE(rig.log.last(), QStringLiteral("Up 1"));
}

void tst_ctlListItem::properties() {
    Rig rig;
    rig.row->SetNumText("9");
    rig.row->SetTitleText("Song");
    rig.row->SetTimeText("03:15");
    rig.row->SetIsLeft(true);
    PropertyBag bag;
    rig.row->WriteProperties(bag);
    QCOMPARE(bag.ReadProperty("NumText").toString(), QStringLiteral("9."));
    QVERIFY(!bag.Contains("IsLeft")); // IsLeft is set by the host only
    ctlListItem copy;
    copy.ReadProperties(bag);
    QCOMPARE(copy.NumText(), QStringLiteral("9"));
    QCOMPARE(copy.TitleText(), QStringLiteral("Song"));
    QCOMPARE(copy.TimeText(), QStringLiteral("03:15"));
    QCOMPARE(copy.BkColor(), kBack);
    QCOMPARE(copy.TitleColor(), kTitle);
    QCOMPARE(copy.SelectColor(), kSelect);
    QVERIFY(!copy.IsLeft());
    ctlListItem fresh;
    QCOMPARE(fresh.BkColor(), ModSysColor::kButtonFace);
    QCOMPARE(fresh.TitleColor(), ModSysColor::kButtonText);
    QCOMPARE(fresh.SelectColor(), 0u);
    QCOMPARE(fresh.TimeText(), QStringLiteral("00:00"));
}

QTEST_MAIN(tst_ctlListItem)
#include "tst_ctlListItem.moc"
