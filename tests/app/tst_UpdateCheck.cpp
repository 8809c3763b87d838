#include "MenuRig.h"
#include "app/PlayerTransport.h"
#include "app/UpdateCheck.h"
#include "net/TestHttpServer.h"

#include <QAction>
#include <QElapsedTimer>
#include <QtTest>

// The version check against a server on 127.0.0.1, and the updater: a
// stand-in script in the program folder that records its arguments.
class tst_UpdateCheck : public QObject {
    Q_OBJECT

    static const QString kQuestion;

    static void WriteUpdater(const QString& home) {
        const QString path = home + QStringLiteral("/MelodeckUpdate");
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                     "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
        script.close();
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    static QStringList RecordedArguments(const QString& home) {
        QFile file(home + QStringLiteral("/args.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void comparesTheServedVersion_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<int>("status");
        QTest::newRow("newer patch") << QByteArray("5.0.008") << true << 200;
        QTest::newRow("newer minor") << QByteArray("5.1") << true << 200;
        QTest::newRow("older") << QByteArray("5.0.006") << false << 200;
        QTest::newRow("equal") << QByteArray("5.0.007") << false << 200;
        QTest::newRow("equal + line break") << QByteArray("5.0.007\r\n") << false << 200;
        QTest::newRow("longer, same prefix") << QByteArray("5.0.0070") << true << 200;
        QTest::newRow("newer + line break + note")
            << QByteArray(" 5.0.008 \nfixes\n") << true << 200;
        QTest::newRow("older major") << QByteArray("4.9.999") << false << 200;
        QTest::newRow("empty") << QByteArray() << false << 200;
        QTest::newRow("html page") << QByteArray("<html><body>404</body></html>") << false << 200;
        QTest::newRow("word after the number") << QByteArray("5.1beta") << false << 200;
        QTest::newRow("byte order mark before a newer one") << QByteArray("\xEF\xBB\xBF"
                                                                          "5.0.008")
                                                            << true << 200;
        QTest::newRow("byte order mark before our own") << QByteArray("\xEF\xBB\xBF"
                                                                      "5.0.007\r\n")
                                                        << false << 200;
        QTest::newRow("503 page saying 503") << QByteArray("503") << false << 503;
        QTest::newRow("404 page saying 5.1") << QByteArray("5.1") << false << 404;
        QTest::newRow("203 with a newer one") << QByteArray("5.1") << false << 203;
        QTest::newRow("4 MiB answer")
            << (QByteArray("5.1\n") + QByteArray(4 << 20, '9')) << false << 200;
    }
    void comparesTheServedVersion() {
        QFETCH(QByteArray, body);
        QFETCH(bool, asks);
        QFETCH(int, status);
        TestHttpServer server(
            [body, status](const QByteArray&) { return TestHttpServer::Response(body, status); });
        qputenv("MELODECK_UPDATE_URL", server.Base().toUtf8());
        AnsweringPrompts prompts;
        int quits = 0;
        UpdateCheck check(prompts, [&quits] { ++quits; });
        check.CheckForUpdate();
        QCOMPARE(server.RequestLines(),
                 QList<QByteArray>{"GET /melodeck/5.0/update/version.txt HTTP/1.1"});
        QCOMPARE(prompts.messages, asks ? QStringList{kQuestion} : QStringList());
        QCOMPARE(quits, 0); // the question was answered "no"
    }

    void silentServerGivesUpWithinTheTimeout() {
        TestHttpServer server([](const QByteArray&) { return std::nullopt; });
        qputenv("MELODECK_UPDATE_URL", server.Base().toUtf8());
        AnsweringPrompts prompts;
        UpdateCheck check(prompts, [] {});
        check.SetTimeout(std::chrono::milliseconds(300));
        QElapsedTimer clock;
        clock.start();
        check.CheckForUpdate();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(prompts.messages.isEmpty());
    }

    void acceptedUpdateStartsTheUpdaterAndQuitsAfterSaving() {
        MenuRig rig;
        WriteUpdater(rig.home.path());
        TestHttpServer server(QByteArray("5.0.008\n"));
        qputenv("MELODECK_UPDATE_URL", server.Base().toUtf8());
        rig.prompts.answer = true;
        QVERIFY(rig.Start());
        // From the running event loop, as the program does: quitting ends it.
        QTimer::singleShot(0, rig.app.get(), [&rig] { rig.app->CheckForUpdate(); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(rig.prompts.messages, QStringList{kQuestion});
        QCOMPARE(rig.prompts.titles, QStringList{QCoreApplication::applicationName()});
        QVERIFY(rig.app->HasQuit());
        QVERIFY(QFile::exists(rig.home.filePath(QStringLiteral("PlayList/0.MLF"))));
        QTRY_COMPARE(RecordedArguments(rig.home.path()),
                     (QStringList{QStringLiteral("1"), QStringLiteral("5.0.007")}));
    }

    void missingUpdaterIsReportedAndTheProgramStays() {
        MenuRig rig;
        TestHttpServer server(QByteArray("5.1"));
        qputenv("MELODECK_UPDATE_URL", server.Base().toUtf8());
        rig.prompts.answer = true;
        QVERIFY(rig.Start());
        rig.app->CheckForUpdate();
        QCOMPARE(rig.prompts.messages.size(), 2);
        QVERIFY2(
            rig.prompts.messages[1].contains(rig.home.filePath(QStringLiteral("MelodeckUpdate"))),
            qPrintable(rig.prompts.messages[1]));
        QVERIFY(!rig.app->HasQuit());
    }

    void menuItemStartsTheUpdaterWithoutQuitting() {
        MenuRig rig;
        WriteUpdater(rig.home.path());
        QVERIFY(rig.Start());
        QAction* updateMe = rig.app->Transport().MainMenu().findChild<QAction*>(
            QStringLiteral("UpdateMe"), Qt::FindDirectChildrenOnly);
        if (!updateMe) {
            for (QAction* action : rig.app->Transport().MainMenu().actions())
                if (action->objectName() == QStringLiteral("UpdateMe"))
                    updateMe = action;
        }
        QVERIFY(updateMe);
        QCOMPARE(updateMe->text(), QStringLiteral("自动升级"));
        updateMe->trigger();
        QTRY_COMPARE(RecordedArguments(rig.home.path()),
                     (QStringList{QStringLiteral("1"), QStringLiteral("5.0.007")}));
        QVERIFY(rig.prompts.messages.isEmpty());
        QVERIFY(!rig.app->HasQuit());
    }

    void updaterThatCannotRunIsReported() {
        MenuRig rig;
        QDir(rig.home.path()).mkdir(QStringLiteral("MelodeckUpdate"));
        QVERIFY(rig.Start());
        QVERIFY(!rig.app->Update().StartUpdater());
        QCOMPARE(rig.prompts.messages.size(), 1);
        QVERIFY(rig.prompts.messages[0].contains(QStringLiteral("MelodeckUpdate")));
    }
};

const QString tst_UpdateCheck::kQuestion = QStringLiteral("发现最新版本，是否确定升级？");

QTEST_MAIN(tst_UpdateCheck)
#include "tst_UpdateCheck.moc"
