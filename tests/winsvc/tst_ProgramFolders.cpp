#include "winsvc/ProgramFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class tst_ProgramFolders : public QObject {
    Q_OBJECT
private slots:
    void decide_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("userData");
        const QString exe = "/usr/lib/melodeck";
        QTest::newRow("writable folder keeps all beside it") << "" << true << "/x" << exe << exe;
        QTest::newRow("installed: XDG_DATA_HOME")
            << "" << false << "/x/data/" << exe << "/x/data/melodeck";
        QTest::newRow("installed: relative XDG_DATA_HOME ignored")
            << "" << false << "data" << exe << "/home/u/.local/share/melodeck";
        QTest::newRow("installed: default")
            << "" << false << "" << exe << "/home/u/.local/share/melodeck";
        QTest::newRow("MELODECK_HOME overrides both") << "/srv/m/" << false << "/x"
                                                      << "/srv/m"
                                                      << "/srv/m";
    }
    void decide() {
        QFETCH(QString, home);
        QFETCH(bool, writable);
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, program);
        QFETCH(QString, userData);
        QStringList asked;
        const ProgramFolders::Folders f = ProgramFolders::Decide(
            {home, "/usr/lib/melodeck/", xdgDataHome, "/home/u"}, [&](const QString& dir) {
                asked << dir;
                return writable;
            });
        QCOMPARE(f.Program, program);
        QCOMPARE(f.UserData, userData);
        // Only the program folder itself is judged, and only without a home.
        QCOMPARE(asked, home.isEmpty() ? QStringList{"/usr/lib/melodeck"} : QStringList{});
    }

    void writableFolder() {
        QTemporaryDir dir;
        QVERIFY(ProgramFolders::IsWritableFolder(dir.path()));
        QVERIFY(!ProgramFolders::IsWritableFolder(dir.filePath("missing")));
    }

    // The skins folders follow the same decision: one folder when the user
    // data is the program folder.
    void skinDirsUnderAHome() {
        qputenv("MELODECK_HOME", "/srv/m");
        QCOMPARE(SkinDirs(), QStringList{"/srv/m/skin"});
        QCOMPARE(UserDataDir(), QString("/srv/m"));
        qunsetenv("MELODECK_HOME");
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolders)
#include "tst_ProgramFolders.moc"
