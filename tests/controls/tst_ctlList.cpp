#include "TestPictures.h"

#include "controls/CKeyedList.h"
#include "controls/CListWindow.h"
#include "controls/ModColor.h"
#include "controls/PropertyBag.h"
#include "controls/ctlList.h"
#include "controls/ctlListItem.h"
#include "controls/ctlVScroll.h"
#include "winsvc/LeaveTracking.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

using namespace TestPictures;

namespace {

constexpr quint32 kOdd = 0x00302010;
constexpr quint32 kEven = 0x00103050;
constexpr quint32 kSelect = 0x0000FFFF;
constexpr int kRow = ctlListItem::kRowHeight;

QRgb Rgb(quint32 colorRef) {
    return ModColor::ToQRgb(colorRef) | 0xFF000000;
}

// Keys in list order, read through the positions.
QStringList Keys(const CKeyedList& list) {
    QStringList keys;
    for (int p = 1; p <= list.Count(); ++p) {
        keys << list.KeyOf(list.At(p));
    }
    return keys;
}

// The same order walked forward and backward, with positions checked.
bool Consistent(const CKeyedList& list) {
    QStringList forward;
    int p = 1;
    for (auto h = list.First(); h; h = list.Next(h), ++p) {
        if (list.PositionOf(h) != p || list.At(p) != h) {
            return false;
        }
        forward << list.KeyOf(h);
    }
    QStringList backward;
    for (auto h = list.Last(); h; h = list.Prev(h)) {
        backward.prepend(list.KeyOf(h));
    }
    return forward == backward && forward == Keys(list) && p - 1 == list.Count();
}

QList<int> SelectedPositions(const ctlList& list) {
    QList<int> positions;
    for (int p = 1; p <= list.Count(); ++p) {
        if (list.ItemData(p)->iSelected) {
            positions << p;
        }
    }
    return positions;
}

QImage Strip(int columns, int rows, int w, int h, QRgb colour) {
    QImage strip(columns * w, rows * h, QImage::Format_RGB32);
    strip.fill(colour);
    return strip;
}

struct Rig {
    LeaveTracking tracking;
    QWidget host;
    ctlList* list;
    QStringList log;
    explicit Rig(int items = 30) {
        host.resize(260, 240);
        list = new ctlList(&host, &tracking);
        list->SetButtonPicture(Strip(3, 2, 12, 10, qRgb(200, 200, 0)));
        list->SetThumbPicture(Strip(3, 1, 12, 20, qRgb(0, 200, 200)));
        list->SetBarPicture(Strip(1, 1, 12, 12, qRgb(60, 60, 60)));
        list->SetBackColor(kOdd);
        list->SetBackColor2(kEven);
        list->SetSelectColor(kSelect);
        list->setGeometry(10, 10, 200, 15 * kRow); // 15 rows
        for (int i = 1; i <= items; ++i) {
            list->Add(QStringLiteral("Song %1").arg(i), QStringLiteral("00:%1").arg(i),
                      QStringLiteral("k%1").arg(i));
        }
        QObject::connect(list, &ctlList::Click,
                         [this](const QString& key) { log << "Click " + key; });
        QObject::connect(list, &ctlList::DBClick,
                         [this](const QString& key) { log << "DBClick " + key; });
        QObject::connect(
            list, &ctlList::MouseDown,
            [this](const QString& title, int b, int s, float x, float y) {
                log << QStringLiteral("Down %1 %2 %3 %4,%5").arg(title).arg(b).arg(s).arg(x).arg(y);
            });
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            qWarning("host not exposed");
        }
    }
    QPoint RowPoint(int row, int x = 60) const { return QPoint(x, (row - 1) * kRow + 6); }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(WindowOf(list), Qt::LeftButton, modifiers, InWindow(list, RowPoint(row)));
    }
    // Wheel notches over the list. (A synthesized event is not passed on from
    // child to parent as the window system's own are, so it goes to the list.)
    void Wheel(int notches) {
        const QPointF local(60, 6);
        QWheelEvent wheel(local, list->mapToGlobal(local), QPoint(),
                          QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
    }
    QRgb BackOfRow(int row) { return PixelOf(list, QPoint(30, (row - 1) * kRow + 6)); }
    QString TitleOfRow(int row) const { return list->Row(row)->TitleText(); }
};

} // namespace

class tst_ctlList : public QObject {
    Q_OBJECT
private slots:
    void storeOrder_data();
    void storeOrder();
    void storeErrorsChangeNothing();
    void storeAgainstModel();
    void windowArithmetic_data();
    void windowArithmetic();
    void addCombinations_data();
    void addCombinations();
    void emptyList();
    void mouseSelection_data();
    void mouseSelection();
    void nextAndPrevious_data();
    void nextAndPrevious();
    void scrollRange();
    void wheelScrolls();
    void coloursFollowItems();
    void renameFields();
    void itemDataAndSelectItem();
    void moveAndRemove();
    void isLeftRows();
    void clearKeepsAnchor();
    void properties();
};

void tst_ctlList::storeOrder_data() {
    QTest::addColumn<QStringList>("steps"); // "+k" append, "k<b" before, "-k", "o>n<b" move
    QTest::addColumn<QStringList>("order");
    QTest::newRow("appends") << QStringList{"+a", "+b", "+c"} << QStringList{"a", "b", "c"};
    QTest::newRow("insert before the first")
        << QStringList{"+a", "+b", "x<a"} << QStringList{"x", "a", "b"};
    QTest::newRow("insert in the middle")
        << QStringList{"+a", "+b", "+c", "x<c"} << QStringList{"a", "b", "x", "c"};
    QTest::newRow("remove first, middle, last")
        << QStringList{"+a", "+b", "+c", "+d", "+e", "-a", "-c", "-e"} << QStringList{"b", "d"};
    QTest::newRow("move to the front under a new key")
        << QStringList{"+a", "+b", "+c", "c>z<a"} << QStringList{"z", "a", "b"};
    QTest::newRow("move to the end")
        << QStringList{"+a", "+b", "+c", "a>a<"} << QStringList{"b", "c", "a"};
    QTest::newRow("move before itself stays")
        << QStringList{"+a", "+b", "+c", "b>b<b"} << QStringList{"a", "b", "c"};
    QTest::newRow("removed key can be used again")
        << QStringList{"+a", "+b", "-a", "+a"} << QStringList{"b", "a"};
}

void tst_ctlList::storeOrder() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, order);
    CKeyedList list;
    for (const QString& step : steps) {
        CListItem item;
        item.iTitle = step;
        if (step.startsWith('+')) {
            list.Append(step.mid(1), item);
        } else if (step.startsWith('-')) {
            list.Remove(step.mid(1));
        } else if (step.contains('>')) {
            const int to = step.indexOf('>');
            const int before = step.indexOf('<');
            list.MoveTo(step.left(to), step.mid(to + 1, before - to - 1), step.mid(before + 1));
        } else {
            const int before = step.indexOf('<');
            list.InsertBefore(step.left(before), item, step.mid(before + 1));
        }
    }
    QCOMPARE(Keys(list), order);
    QVERIFY(Consistent(list));
    for (int p = 1; p <= order.size(); ++p) {
        QCOMPARE(list.PositionOf(list.Find(order.at(p - 1))), p);
    }
    QVERIFY(list.At(0) == nullptr);
    QVERIFY(list.At(order.size() + 1) == nullptr);
}

void tst_ctlList::storeErrorsChangeNothing() {
    CKeyedList list;
    list.Append("a", {});
    list.Append("b", {});
    list.Append("", {}); // keyless items never clash
    list.Append("", {});
    const QStringList before = Keys(list);
    auto number = [](auto&& call) {
        try {
            call();
        } catch (const ListKeyError& error) {
            return int(error.ErrorNumber());
        }
        return 0;
    };
    QCOMPARE(number([&] { list.Append("a", {}); }), int(ListKeyError::KeyTaken));
    QCOMPARE(number([&] { list.InsertBefore("x", {}, "nope"); }), int(ListKeyError::InvalidCall));
    QCOMPARE(number([&] { list.InsertBefore("b", {}, "a"); }), int(ListKeyError::KeyTaken));
    QCOMPARE(number([&] { list.Remove("nope"); }), int(ListKeyError::InvalidCall));
    QCOMPARE(number([&] { list.Remove(""); }), int(ListKeyError::InvalidCall));
    // A failed move keeps the item where it was.
    QCOMPARE(number([&] { list.MoveTo("nope", "x", "a"); }), int(ListKeyError::InvalidCall));
    QCOMPARE(number([&] { list.MoveTo("a", "x", "nope"); }), int(ListKeyError::InvalidCall));
    QCOMPARE(number([&] { list.MoveTo("a", "b", ""); }), int(ListKeyError::KeyTaken));
    QCOMPARE(Keys(list), before);
    QVERIFY(list.Find("a"));
    QVERIFY(!list.Find("x"));
}

// Random operations against a plain list of keys.
void tst_ctlList::storeAgainstModel() {
    QRandomGenerator random(20240611);
    CKeyedList list;
    QStringList model;
    int next = 0;
    for (int round = 0; round < 4000; ++round) {
        const int choice = random.bounded(10);
        if (model.isEmpty() || choice < 4) {
            const QString key = QString::number(next++);
            list.Append(key, {});
            model << key;
        } else if (choice < 6) {
            const QString key = QString::number(next++);
            const int at = random.bounded(int(model.size()));
            list.InsertBefore(key, {}, model.at(at));
            model.insert(at, key);
        } else if (choice < 8) {
            const int at = random.bounded(int(model.size()));
            list.Remove(model.takeAt(at));
        } else if (choice < 9) {
            const int from = random.bounded(int(model.size()));
            const int to = random.bounded(int(model.size()));
            const QString key = model.at(from);
            const QString before = from == to ? QString() : model.at(to);
            list.MoveTo(key, key, before);
            model.removeAt(from);
            model.insert(before.isEmpty() ? model.size() : model.indexOf(before), key);
        } else {
            const int at = random.bounded(int(model.size()));
            list.SetSelected(list.Find(model.at(at)), true);
        }
        if (round % 500 == 0) {
            QVERIFY(Consistent(list));
        }
    }
    QCOMPARE(Keys(list), model);
    QVERIFY(Consistent(list));
    // The first selected item is the one nearest the start.
    int first = 0;
    while (first < model.size() && !list.Item(list.Find(model.at(first))).iSelected) {
        ++first;
    }
    if (first < model.size()) {
        QCOMPARE(list.KeyOf(list.FirstSelected()), model.at(first));
    }
    list.ClearSelection();
    QVERIFY(list.FirstSelected() == nullptr);
    QCOMPARE(list.SelectedCount(), 0);
}

void tst_ctlList::windowArithmetic_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("needsBar");
    QTest::addColumn<int>("max");
    QTest::newRow("30 items, 15 rows") << 195 << 30 << 15 << 15 << true << 19;
    QTest::newRow("exactly full") << 195 << 15 << 15 << 15 << false << 1;
    QTest::newRow("one too many") << 195 << 16 << 15 << 15 << true << 5;
    QTest::newRow("partial last row") << 200 << 16 << 15 << 16 << true << 5;
    QTest::newRow("half a row rounds to even") << 188 << 20 << 14 << 15 << true << 10;
    QTest::newRow("empty") << 195 << 0 << 15 << 15 << false << 1;
    QTest::newRow("no height") << 0 << 5 << 0 << 0 << true << 9;
    QTest::newRow("taller than the pool") << 2000 << 500 << 154 << 100 << true << 350;
}

void tst_ctlList::windowArithmetic() {
    QFETCH(int, height);
    QFETCH(int, count);
    QFETCH(int, visible);
    QFETCH(int, shown);
    QFETCH(bool, needsBar);
    QFETCH(int, max);
    const CListWindow window{height, kRow, count};
    QCOMPARE(window.VisibleRows(), visible);
    QCOMPARE(window.ShownRows(), shown);
    QCOMPARE(window.NeedsScrollBar(), needsBar);
    QCOMPARE(window.ScrollMax(), max);
    QCOMPARE(window.ClampedValue(1000000), max);
    QCOMPARE(window.ClampedValue(-3), 1);
}

void tst_ctlList::addCombinations_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("titles"); // after adding "new" to k1..k3
    QTest::addColumn<bool>("throws");
    const QStringList old{"Song 1", "Song 2", "Song 3"};
    QTest::newRow("no key") << ""
                            << ""
                            << "" << (old + QStringList{"new"}) << false;
    QTest::newRow("key") << "kx"
                         << ""
                         << "" << (old + QStringList{"new"}) << false;
    QTest::newRow("key before") << "kx"
                                << "k2"
                                << "" << QStringList{"Song 1", "new", "Song 2", "Song 3"} << false;
    QTest::newRow("key before and after") << "kx"
                                          << "k2"
                                          << "k1" << old << true;
    QTest::newRow("key and after only") << "kx"
                                        << ""
                                        << "k1" << old << false;
    QTest::newRow("before without key") << ""
                                        << "k2"
                                        << "" << old << false;
    QTest::newRow("after without key") << ""
                                       << ""
                                       << "k2" << old << false;
    QTest::newRow("taken key") << "k2"
                               << ""
                               << "" << old << true;
    QTest::newRow("unknown before") << "kx"
                                    << "k9"
                                    << "" << old << true;
}

void tst_ctlList::addCombinations() {
    QFETCH(QString, key);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QStringList, titles);
    QFETCH(bool, throws);
    Rig rig(3);
    bool threw = false;
    try {
        rig.list->Add("new", "01:00", key, before, after);
    } catch (const ListKeyError&) {
        threw = true;
    }
    QCOMPARE(threw, throws);
    QStringList shown;
    for (int r = 1; r <= rig.list->Count(); ++r) {
        QVERIFY(rig.list->Row(r)->isVisible());
        shown << rig.TitleOfRow(r);
        QCOMPARE(rig.list->Row(r)->NumText(), QString::number(r));
    }
    QCOMPARE(shown, titles);
    QVERIFY(!rig.list->Row(rig.list->Count() + 1)->isVisible());
    if (!key.isEmpty() && !throws && titles.size() == 4) {
        const auto item = rig.list->ItemData(key);
        QVERIFY(item);
        QCOMPARE(item->iData.toString(), key);
        QCOMPARE(item->iTime, QStringLiteral("01:00"));
        QVERIFY(!item->iSelected);
    }
}

void tst_ctlList::emptyList() {
    Rig rig(0);
    for (int r = 1; r <= 16; ++r) {
        QVERIFY(!rig.list->Row(r)->isVisible());
    }
    QVERIFY(!rig.list->FirstItem());
    QVERIFY(!rig.list->NextItem());
    QVERIFY(!rig.list->PrevItem());
    QVERIFY(!rig.list->SelectItem());
    QVERIFY(!rig.list->ItemData("k1"));
    QVERIFY(!rig.list->ItemData(1));
    QCOMPARE(rig.list->ScrollBar()->Max(), 1);
    QCOMPARE(rig.list->ScrollBar()->x(), rig.list->width()); // out of sight
    QCOMPARE(rig.BackOfRow(1), Rgb(kOdd));                   // the list's own background
}

void tst_ctlList::mouseSelection_data() {
    QTest::addColumn<QStringList>("clicks"); // row, with "s" Shift, "c" Ctrl, "a" Alt
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("plain") << QStringList{"4"} << QList<int>{4};
    QTest::newRow("plain replaces") << QStringList{"4", "6"} << QList<int>{6};
    QTest::newRow("range down") << QStringList{"3", "7s"} << QList<int>{3, 4, 5, 6, 7};
    QTest::newRow("range up") << QStringList{"7", "3s"} << QList<int>{3, 4, 5, 6, 7};
    QTest::newRow("range back to the anchor") << QStringList{"3", "7s", "3s"} << QList<int>{3};
    QTest::newRow("ctrl adds") << QStringList{"3", "7s", "9c"} << QList<int>{3, 4, 5, 6, 7, 9};
    QTest::newRow("ctrl never deselects") << QStringList{"3", "3c"} << QList<int>{3};
    QTest::newRow("range replaces ctrl picks")
        << QStringList{"3", "9c", "5s"} << QList<int>{3, 4, 5};
    QTest::newRow("other modifiers change nothing") << QStringList{"3", "8a"} << QList<int>{3};
    QTest::newRow("range before any anchor") << QStringList{"3s"} << QList<int>{1, 2, 3};
}

void tst_ctlList::mouseSelection() {
    QFETCH(QStringList, clicks);
    QFETCH(QList<int>, selected);
    Rig rig;
    for (const QString& click : clicks) {
        Qt::KeyboardModifiers modifiers;
        if (click.endsWith('s')) {
            modifiers = Qt::ShiftModifier;
        } else if (click.endsWith('c')) {
            modifiers = Qt::ControlModifier;
        } else if (click.endsWith('a')) {
            modifiers = Qt::AltModifier;
        }
        QString row = click;
        row.remove(QRegularExpression("[sca]"));
        rig.ClickRow(row.toInt(), modifiers);
    }
    QCOMPARE(SelectedPositions(*rig.list), selected);
    for (int r = 1; r <= 15; ++r) {
        QCOMPARE(rig.list->Row(r)->Selected(), selected.contains(r));
    }
    // Every press reports the row's title and where it lies in the list.
    const int last = clicks.last().left(1).toInt();
    const int shift = clicks.last().endsWith('s')   ? 1
                      : clicks.last().endsWith('c') ? 2
                      : clicks.last().endsWith('a') ? 4
                                                    : 0;
    QVERIFY(rig.log.contains(
        QStringLiteral("Down Song %1 1 %2 60,%3").arg(last).arg(shift).arg((last - 1) * kRow + 6)));
}

void tst_ctlList::nextAndPrevious_data() {
    QTest::addColumn<QList<int>>("start");
    QTest::addColumn<bool>("next");
    QTest::addColumn<int>("returned");
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("next from the middle") << QList<int>{4} << true << 5 << QList<int>{5};
    QTest::newRow("next at the end stays") << QList<int>{30} << true << 30 << QList<int>{30};
    QTest::newRow("next with nothing selected takes the last")
        << QList<int>{} << true << 30 << QList<int>{30};
    QTest::newRow("next moves only the first of several")
        << QList<int>{4, 9} << true << 5 << QList<int>{5, 9};
    QTest::newRow("previous from the middle") << QList<int>{4} << false << 3 << QList<int>{3};
    QTest::newRow("previous at the start stays") << QList<int>{1} << false << 1 << QList<int>{1};
    QTest::newRow("previous with nothing selected takes the first")
        << QList<int>{} << false << 1 << QList<int>{1};
    QTest::newRow("previous moves only the first of several")
        << QList<int>{4, 9} << false << 3 << QList<int>{3, 9};
}

void tst_ctlList::nextAndPrevious() {
    QFETCH(QList<int>, start);
    QFETCH(bool, next);
    QFETCH(int, returned);
    QFETCH(QList<int>, selected);
    Rig rig;
    for (int p : start) {
        CListItem item = *rig.list->ItemData(p);
        item.iSelected = true;
        rig.list->SetItemData(p, item);
    }
    const auto item = next ? rig.list->NextItem() : rig.list->PrevItem();
    QVERIFY(item);
    QCOMPARE(item->iTitle, QStringLiteral("Song %1").arg(returned));
    QCOMPARE(SelectedPositions(*rig.list), selected);
    QCOMPARE(rig.list->SelectItem()->iTitle, QStringLiteral("Song %1").arg(selected.first()));
    if (selected.first() <= 15) {
        QVERIFY(rig.list->Row(selected.first())->Selected()); // redrawn
    }
}

void tst_ctlList::scrollRange() {
    Rig rig;
    ctlVScroll* bar = rig.list->ScrollBar();
    QCOMPARE(bar->Min(), 1);
    QCOMPARE(bar->Max(), 19);
    QCOMPARE(bar->x(), rig.list->width() - bar->width());
    QCOMPARE(bar->height(), rig.list->height());
    QCOMPARE(rig.list->Row(1)->width(), bar->x());
    rig.Wheel(-10); // far past the end
    QCOMPARE(bar->Value(), 19);
    QCOMPARE(bar->ThumbTop(), bar->Track().BottomEnd());
    for (int r = 1; r <= 12; ++r) {
        QCOMPARE(rig.TitleOfRow(r), QStringLiteral("Song %1").arg(18 + r));
        QCOMPARE(rig.list->Row(r)->NumText(), QString::number(18 + r));
    }
    for (int r = 13; r <= 16; ++r) {
        QVERIFY(!rig.list->Row(r)->isVisible());
    }
    QCOMPARE(rig.BackOfRow(14), Rgb(kOdd)); // empty rows show the list itself
    // Removing items shrinks the range and takes the value along.
    for (int i = 30; i > 20; --i) {
        rig.list->Remove(QStringLiteral("k%1").arg(i));
    }
    QCOMPARE(bar->Max(), 9);
    QCOMPARE(bar->Value(), 9);
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 9"));
    for (int i = 20; i > 14; --i) {
        rig.list->Remove(QStringLiteral("k%1").arg(i));
    }
    QCOMPARE(bar->Max(), 1); // everything fits: nothing to scroll
    QCOMPARE(bar->Value(), 1);
    QCOMPARE(bar->x(), rig.list->width());
    QCOMPARE(rig.list->Row(1)->width(), rig.list->width());
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 1"));
    // Adding past the window leaves the rows alone but grows the range.
    rig.list->Add("Song 15", "", "k15");
    rig.list->Add("Song 16", "", "k16");
    QCOMPARE(bar->Max(), 5);
    QCOMPARE(rig.list->Row(1)->width(), bar->x());
}

void tst_ctlList::wheelScrolls() {
    Rig rig;
    ctlVScroll* bar = rig.list->ScrollBar();
    QSignalSpy scrolled(bar, &ctlVScroll::Scroll);
    rig.Wheel(-1);
    QCOMPARE(bar->Value(), 4);
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 4"));
    QCOMPARE(bar->ThumbTop(), bar->Track().ThumbTopFor(4, 1, 19));
    rig.Wheel(-2);
    QCOMPARE(bar->Value(), 10);
    rig.Wheel(5);
    QCOMPARE(bar->Value(), 1);
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 1"));
    // A fine-grained wheel adds its small turns up to whole notches.
    const QPointF at(60, 6);
    for (int i = 0; i < 4; ++i) {
        QWheelEvent wheel(at, rig.list->mapToGlobal(at), QPoint(), QPoint(0, -30), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(rig.list, &wheel);
        QCOMPARE(bar->Value(), i < 3 ? 1 : 4);
    }
    QCOMPARE(scrolled.count(), 0); // the list scrolls the bar; it raises nothing itself
}

void tst_ctlList::coloursFollowItems() {
    Rig rig;
    QCOMPARE(rig.BackOfRow(1), Rgb(kOdd));
    QCOMPARE(rig.BackOfRow(2), Rgb(kEven));
    QCOMPARE(rig.BackOfRow(3), Rgb(kOdd));
    rig.ClickRow(3);
    // Scroll by one with the down arrow of the list's own scroll bar.
    ctlVScroll* bar = rig.list->ScrollBar();
    const QPoint arrow = bar->mapTo(rig.list, QPoint(6, bar->height() - 5));
    QTimer::singleShot(50, [&] {
        QTest::mouseRelease(WindowOf(rig.list), Qt::LeftButton, {}, InWindow(rig.list, arrow));
    });
    QTest::mousePress(WindowOf(rig.list), Qt::LeftButton, {}, InWindow(rig.list, arrow));
    QCOMPARE(bar->Value(), 2);
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 2"));
    QCOMPARE(rig.BackOfRow(1), Rgb(kEven)); // item 2 keeps its colour in row 1
    QCOMPARE(rig.BackOfRow(2), Rgb(kOdd));
    // The selection moved up with its item, and the row it left is plain.
    QVERIFY(rig.list->Row(2)->Selected());
    QVERIFY(!rig.list->Row(3)->Selected());
    QCOMPARE(PixelOf(rig.list, QPoint(0, kRow)), Rgb(kSelect));
    QCOMPARE(PixelOf(rig.list, QPoint(0, 2 * kRow)), Rgb(kEven)); // row 3, item 4
    QCOMPARE(rig.list->Row(3)->TitleColor(), rig.list->TextColor());
    QCOMPARE(rig.list->Row(2)->TitleColor(), kSelect);
    // New colours show at once.
    rig.list->SetBackColor2(0x00FFFFFF);
    QCOMPARE(rig.BackOfRow(1), Rgb(0x00FFFFFF));
}

void tst_ctlList::renameFields() {
    Rig rig;
    rig.Wheel(-1); // item 4 in row 1
    rig.ClickRow(3);
    QCOMPARE(rig.list->m_X, 0.0f);
    QCOMPARE(rig.list->m_Y, float(2 * kRow));
    QCOMPARE(rig.list->m_Title, QStringLiteral("Song 6"));
    QVERIFY(rig.log.contains("Click k6"));
    rig.log.clear();
    DoubleClick(rig.list, rig.RowPoint(5));
    QVERIFY(rig.log.contains("DBClick k8"));
    QCOMPARE(rig.log.count("Click k8"), 1);
    // A press alone moves the selection but not the rename fields.
    rig.log.clear();
    QTest::mousePress(WindowOf(rig.list), Qt::RightButton, {}, InWindow(rig.list, rig.RowPoint(1)));
    QTest::mouseRelease(WindowOf(rig.list), Qt::RightButton, {},
                        InWindow(rig.list, rig.RowPoint(1)));
    QCOMPARE(SelectedPositions(*rig.list), QList<int>{4});
    QCOMPARE(rig.list->m_Title, QStringLiteral("Song 8"));
    QCOMPARE(rig.log, QStringList{"Down Song 4 2 0 60,6"});
}

void tst_ctlList::itemDataAndSelectItem() {
    Rig rig;
    QCOMPARE(rig.list->ItemData("k7")->iTitle, QStringLiteral("Song 7"));
    QCOMPARE(rig.list->ItemData(7)->iData.toString(), QStringLiteral("k7"));
    QVERIFY(!rig.list->ItemData("k99"));
    QVERIFY(!rig.list->ItemData(31));
    CListItem changed = *rig.list->ItemData("k2");
    changed.iTitle = "Renamed";
    changed.iTime = "09:09";
    changed.iSelected = true;
    rig.list->SetItemData("k2", changed);
    QCOMPARE(rig.TitleOfRow(2), QStringLiteral("Renamed"));
    QCOMPARE(rig.list->Row(2)->TimeText(), QStringLiteral("09:09"));
    QVERIFY(rig.list->Row(2)->Selected());
    QVERIFY_THROWS_EXCEPTION(ListKeyError, rig.list->SetItemData("k99", changed));
    // An item out of sight shows its new data once it scrolls into view.
    changed.iTitle = "Far";
    changed.iSelected = false;
    rig.list->SetItemData("k20", changed);
    QCOMPARE(rig.TitleOfRow(2), QStringLiteral("Renamed"));
    rig.Wheel(-3); // rows from item 10 on
    QCOMPARE(rig.TitleOfRow(11), QStringLiteral("Far"));
    QCOMPARE(rig.list->Row(11)->TimeText(), QStringLiteral("09:09"));
    rig.Wheel(3);
    QCOMPARE(rig.list->SelectItem("k5")->iTitle, QStringLiteral("Song 5"));
    QCOMPARE(SelectedPositions(*rig.list), QList<int>{5});
    QVERIFY(!rig.list->SelectItem("k99"));
    QVERIFY(SelectedPositions(*rig.list).isEmpty());
    QCOMPARE(rig.list->SelectItem()->iTitle, QStringLiteral("Song 1")); // none: the first
}

void tst_ctlList::moveAndRemove() {
    Rig rig(5);
    rig.list->MoveTo("k5", "k5", "k1");
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 1")); // not redrawn yet
    rig.list->SelectItem("k5");
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 5"));
    QVERIFY(rig.list->Row(1)->Selected());
    QCOMPARE(rig.BackOfRow(1), Rgb(kOdd));
    QCOMPARE(rig.list->RowKey(1), QStringLiteral("k5"));
    QVERIFY_THROWS_EXCEPTION(ListKeyError, rig.list->MoveTo("k9", "k9", "k1"));
    QVERIFY_THROWS_EXCEPTION(ListKeyError, rig.list->Remove("k9"));
    QCOMPARE(rig.list->Count(), 5);
    rig.list->Remove("k5");
    QCOMPARE(rig.list->Count(), 4);
    QCOMPARE(rig.TitleOfRow(1), QStringLiteral("Song 1"));
    QVERIFY(!rig.list->Row(5)->isVisible());
}

void tst_ctlList::isLeftRows() {
    Rig rig(3);
    QVERIFY(rig.list->Row(1)->TimeVisible());
    rig.list->SetIsLeft(true);
    QVERIFY(rig.list->IsLeft());
    for (int r = 1; r <= 3; ++r) {
        QVERIFY(!rig.list->Row(r)->TimeVisible());
        QVERIFY(!rig.list->Row(r)->NumVisible());
        QCOMPARE(rig.list->Row(r)->TitleRect().left(), 1);
    }
}

void tst_ctlList::clearKeepsAnchor() {
    Rig rig;
    rig.Wheel(-1);
    rig.ClickRow(1); // anchor at item 4
    rig.list->Clear();
    QCOMPARE(rig.list->Count(), 0);
    QCOMPARE(rig.list->ScrollBar()->Value(), 1);
    QVERIFY(!rig.list->Row(1)->isVisible());
    for (int i = 1; i <= 10; ++i) {
        rig.list->Add(QStringLiteral("Again %1").arg(i), "", QStringLiteral("k%1").arg(i));
    }
    rig.ClickRow(7, Qt::ShiftModifier);
    QCOMPARE(SelectedPositions(*rig.list), (QList<int>{4, 5, 6, 7}));
}

void tst_ctlList::properties() {
    Rig rig(0);
    rig.list->SetTextColor(0x00112233);
    rig.list->SetNumberColor(0x00445566);
    rig.list->SetDurationColor(0x00778899);
    rig.list->SetHilightColor(0x00ABCDEF);
    PropertyBag bag;
    rig.list->WriteProperties(bag);
    LeaveTracking tracking;
    ctlList copy(nullptr, &tracking);
    QCOMPARE(copy.BackColor(), ModSysColor::kButtonFace);
    QCOMPARE(copy.BackColor2(), 0u);
    QCOMPARE(copy.SelectColor(), 0u);
    copy.ReadProperties(bag);
    QCOMPARE(copy.BackColor(), kOdd);
    QCOMPARE(copy.BackColor2(), kEven);
    QCOMPARE(copy.SelectColor(), kSelect);
    QCOMPARE(copy.TextColor(), 0x00112233u);
    QCOMPARE(copy.NumberColor(), 0x00445566u);
    QCOMPARE(copy.DurationColor(), 0x00778899u);
    QCOMPARE(copy.HilightColor(), 0x00ABCDEFu);
    QCOMPARE(copy.ButtonPicture(), rig.list->ButtonPicture());
    QCOMPARE(copy.ScrollBar()->ThumbPicture(), rig.list->ThumbPicture());
    QCOMPARE(copy.ScrollBar()->width(), 12);
}

QTEST_MAIN(tst_ctlList)
#include "tst_ctlList.moc"
