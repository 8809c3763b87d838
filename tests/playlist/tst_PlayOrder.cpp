// The play modes' way through a list, without widgets.
#include "playlist/PlayOrder.h"

#include <QtTest>

namespace {

QStringList Keys(int count) {
    QStringList keys;
    for (int i = 0; i < count; ++i)
        keys << QStringLiteral("k%1").arg(i);
    return keys;
}

} // namespace

class tst_PlayOrder : public QObject {
    Q_OBJECT

private slots:
    void Step_data();
    void Step();
    void ShuffleDealsEverySongOncePerRound_data();
    void ShuffleDealsEverySongOncePerRound();
    void ShufflePreviousWalksBackThroughThePlayed();
    void ShuffleSurvivesTheListChanging();
};

using Event = PlayOrder::Event;

// current -1: no song chosen or the playing song was removed; expected -1: stop.
void tst_PlayOrder::Step_data() {
    QTest::addColumn<PlayMode>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("current");
    QTest::addColumn<Event>("event");
    QTest::addColumn<int>("expected");
    struct Row {
        const char* name;
        PlayMode mode;
        int count, current;
        Event event;
        int expected;
    };
    const Row rows[] = {
        {"default: middle ends", PlayMode::Default, 3, 1, Event::Ended, 2},
        {"default: last ends, last again", PlayMode::Default, 3, 2, Event::Ended, 2},
        {"default: previous at top", PlayMode::Default, 3, 0, Event::Previous, 0},
        {"in order: last ends, stop", PlayMode::InOrder, 3, 2, Event::Ended, -1},
        {"in order: next at last, stop", PlayMode::InOrder, 3, 2, Event::Next, -1},
        {"in order: one item ends, stop", PlayMode::InOrder, 1, 0, Event::Ended, -1},
        {"in order: previous at top", PlayMode::InOrder, 3, 0, Event::Previous, 0},
        {"in order: middle ends", PlayMode::InOrder, 3, 0, Event::Ended, 1},
        {"repeat list: last ends, first", PlayMode::RepeatList, 3, 2, Event::Ended, 0},
        {"repeat list: previous at top, last", PlayMode::RepeatList, 3, 0, Event::Previous, 2},
        {"repeat list: one item", PlayMode::RepeatList, 1, 0, Event::Next, 0},
        {"repeat one: ends, same", PlayMode::RepeatOne, 3, 1, Event::Ended, 1},
        {"repeat one: next moves on", PlayMode::RepeatOne, 3, 1, Event::Next, 2},
        {"repeat one: next at last wraps", PlayMode::RepeatOne, 3, 2, Event::Next, 0},
        {"repeat one: previous", PlayMode::RepeatOne, 3, 1, Event::Previous, 0},
        {"removed song: first", PlayMode::RepeatOne, 3, -1, Event::Ended, 0},
        {"removed song, in order: first", PlayMode::InOrder, 3, -1, Event::Next, 0},
        {"shuffle: one item, again", PlayMode::Shuffle, 1, 0, Event::Ended, 0},
        {"shuffle: one item, previous", PlayMode::Shuffle, 1, 0, Event::Previous, 0},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << r.mode << r.count << r.current << r.event << r.expected;
    for (PlayMode mode : {PlayMode::Default, PlayMode::InOrder, PlayMode::RepeatList,
                          PlayMode::RepeatOne, PlayMode::Shuffle})
        for (Event event : {Event::Ended, Event::Next, Event::Previous})
            QTest::addRow("empty list %d/%d", int(mode), int(event))
                << mode << 0 << -1 << event << -1;
}

void tst_PlayOrder::Step() {
    QFETCH(PlayMode, mode);
    QFETCH(int, count);
    QFETCH(int, current);
    QFETCH(Event, event);
    QFETCH(int, expected);
    PlayOrder order(7);
    order.SetMode(mode);
    const QStringList keys = Keys(count);
    const QString now = current < 0 ? QStringLiteral("gone") : keys[current];
    const std::optional<QString> next = order.Step(event, keys, now);
    if (expected < 0)
        QVERIFY(!next);
    else
        QCOMPARE(next.value_or(QStringLiteral("stop")), keys[expected]);
}

void tst_PlayOrder::ShuffleDealsEverySongOncePerRound_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("two") << 2 << 1u;
    QTest::newRow("five") << 5 << 2u;
    QTest::newRow("twelve") << 12 << 3u;
}

void tst_PlayOrder::ShuffleDealsEverySongOncePerRound() {
    QFETCH(int, count);
    QFETCH(quint32, seed);
    PlayOrder order(seed);
    order.SetMode(PlayMode::Shuffle);
    const QStringList keys = Keys(count);
    QString current = keys[0];
    QStringList played{current};
    for (int i = 1; i < 3 * count; ++i) {
        const std::optional<QString> next = order.Step(Event::Ended, keys, current);
        QVERIFY(next && keys.contains(*next));
        QVERIFY2(*next != current, "a song followed itself");
        current = *next;
        played << current;
    }
    QStringList sorted = keys;
    sorted.sort();
    QStringList orders;
    for (int round = 0; round < 3; ++round) {
        QStringList dealt = played.mid(round * count, count);
        orders << dealt.join(u',');
        dealt.sort();
        QCOMPARE(dealt, sorted);
    }
    if (count > 2)
        QVERIFY2(orders[0] != orders[1] || orders[1] != orders[2], "every round in one order");
    QVERIFY2(played.mid(0, count) != keys || count < 5, "not shuffled");
}

void tst_PlayOrder::ShufflePreviousWalksBackThroughThePlayed() {
    PlayOrder order(11);
    order.SetMode(PlayMode::Shuffle);
    const QStringList keys = Keys(6);
    QStringList played{keys[3]};
    for (int i = 0; i < 4; ++i)
        played << *order.Step(Event::Next, keys, played.last());
    QString current = played.last();
    for (int i = played.size() - 2; i >= 0; --i) {
        current = order.Step(Event::Previous, keys, current).value();
        QCOMPARE(current, played[i]);
    }
    // At the start of the history previous stays; next walks forward again.
    QCOMPARE(order.Step(Event::Previous, keys, current).value(), played[0]);
    for (int i = 1; i < played.size(); ++i) {
        current = order.Step(Event::Next, keys, current).value();
        QCOMPARE(current, played[i]);
    }
}

void tst_PlayOrder::ShuffleSurvivesTheListChanging() {
    PlayOrder order(5);
    order.SetMode(PlayMode::Shuffle);
    QStringList keys = Keys(5);
    QString current = keys[0];
    current = order.Step(Event::Next, keys, current).value();
    const QString before = current;
    current = order.Step(Event::Next, keys, current).value();
    // The playing song and one played before leave; a new one joins.
    keys.removeAll(current);
    keys.removeAll(before);
    keys << QStringLiteral("new");
    QSet<QString> rest;
    for (int i = 0; i < int(keys.size()); ++i) {
        const std::optional<QString> next = order.Step(Event::Next, keys, current);
        QVERIFY(next && keys.contains(*next));
        rest.insert(*next);
        current = *next;
    }
    QVERIFY(rest.contains(QStringLiteral("new")));
    const std::optional<QString> back = order.Step(Event::Previous, keys, current);
    QVERIFY(back && keys.contains(*back));
    QVERIFY(!order.Step(Event::Next, QStringList(), current));
}

QTEST_APPLESS_MAIN(tst_PlayOrder)
#include "tst_PlayOrder.moc"
