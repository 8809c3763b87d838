// Lengths of video files, which the tag reader cannot measure, filled in the
// list by the demuxer reader without playing them: through a loaded list (the
// background fill) and through adding a few files (read at once, then in the
// background), with the engine never made.
#include "PlaylistRig.h"
#include "playback/DemuxerLengthReader.h"
#include "playlist/MediaAdder.h"
#include "support/TestMedia.h"
#include "support/VideoContainers.h"
#include "winsvc/LegacyText.h"

#include <QProcess>
#include <QTemporaryDir>
#include <future>
#include <sys/stat.h>

namespace {

// Whether a library whose file name contains `name` is mapped into this process.
bool mapped(const char* name) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

// An HLS playlist naming another local file: a demuxer that followed it would
// read outside the file it was given.
QByteArray playlistNaming(const QString& other) {
    return "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10.0,\nfile://" + other.toUtf8() +
           "\n#EXT-X-ENDLIST\n";
}

// A Flash movie's header, stored: an empty stage (a rectangle of no bits),
// the frame rate `rate` (8.8 fixed point) and `frames` frames, no tags.
QByteArray swfHeader(quint16 rate, quint16 frames) {
    QByteArray head("FWS\x06\x16\0\0\0\0", 9);
    for (const quint16 value : {rate, frames})
        head += char(value & 0xFF) + QByteArray(1, char(value >> 8));
    return head + QByteArray(4, '\0'); // the end tag
}

} // namespace

class tst_VideoLengths : public QObject {
    Q_OBJECT
private slots:
    void init();
    // First, while nothing has loaded the demuxer library in this process.
    void audioListsLeaveTheDemuxerLibraryUnloaded();
    void lengthsFillWithoutPlaying_data();
    void lengthsFillWithoutPlaying();
    void muxedLengths_data();
    void muxedLengths();
    void readerRefuses_data();
    void readerRefuses();
    void missingLibraryLeavesLengthsUnknown();

private:
    QString mediaFile(const QString& name, const QByteArray& data);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_lists;
};

void tst_VideoLengths::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_lists = m_dir->path() + QStringLiteral("/PlayList/");
    QVERIFY(QDir().mkpath(m_lists));
}

QString tst_VideoLengths::mediaFile(const QString& name, const QByteArray& data) {
    const QString path = m_dir->filePath(name);
    if (!TestMedia::WriteFile(path, data))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_VideoLengths::audioListsLeaveTheDemuxerLibraryUnloaded() {
    if (mapped("libavformat"))
        QSKIP("another test of this run has loaded the library already");
    QStringList lines{QStringLiteral("{a}")};
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("s%1=").arg(i) +
                     mediaFile(QStringLiteral("s%1.mp3").arg(i), TestMedia::SilentMp3(1.0 + i));
    lines << QStringLiteral("gone=") + m_dir->filePath("missing.avi");
    WriteBytes(m_lists + "0.MLF", LegacyText::ToGb18030(lines.join("\r\n")));
    PlaylistRig rig(m_lists);
    QVERIFY(rig.store.LoadPlaylists());
    QVERIFY(rig.WaitForItemInfo());
    QCOMPARE(rig.store.Items(rig.store.ListKeys().at(0)).at(39)->Duration, QStringLiteral("00:40"));
    QVERIFY(!mapped("libavformat"));
}

void tst_VideoLengths::lengthsFillWithoutPlaying_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("length");
    QTest::newRow("AVI") << "clip.avi" << TestMedia::MjpegAvi(72, QSize(32, 24), 10) << "00:07";
    QTest::newRow("MPEG") << "clip.mpg" << VideoContainers::MpegProgramStream(65.3) << "01:05";
    // The tag reader measures ASF from its header; either way the list shows it.
    QTest::newRow("WMV/ASF") << "clip.wmv" << VideoContainers::Asf(12.4) << "00:12";
    QTest::newRow("FLV") << "clip.flv" << VideoContainers::Flv(9.6) << "00:10";
    // Named for what it is not: the content decides.
    QTest::newRow("MPEG named .avi")
        << "mpeg.avi" << VideoContainers::MpegProgramStream(3.2) << "00:03";
    QTest::newRow("audio, from its tags") << "song.mp3" << TestMedia::SilentMp3(75.2) << "01:15";
    QTest::newRow("SWF, 250 frames at 12.5 a second")
        << "movie.swf" << swfHeader(12 * 256 + 128, 250) << "00:20";
    QTest::newRow("SWF at no frame rate") << "movie.swf" << swfHeader(0, 250) << "00:00";
    QTest::newRow("SWF longer than a film can be") << "movie.swf" << swfHeader(1, 65535) << "00:00";
    QTest::newRow("SWF cut inside its header")
        << "movie.swf" << swfHeader(12 * 256, 250).left(11) << "00:00";
    QTest::newRow("compressed SWF, broken stream")
        << "movie.swf" << QByteArray("CWS\x0a\x40\0\0\0xxxxxxxxxxxxxxxxxxxxxxxx") << "00:00";
    QTest::newRow("cut-off AVI") << "cut.avi" << TestMedia::MjpegAvi(20).left(200) << "00:00";
    QTest::newRow("not media") << "text.avi" << QByteArray(5000, 'x') << "00:00";
    QTest::newRow("empty") << "empty.wmv" << QByteArray() << "00:00";
}

void tst_VideoLengths::lengthsFillWithoutPlaying() {
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QString, length);
    const QString path = mediaFile(name, data);
    WriteBytes(m_lists + "0.MLF", LegacyText::ToGb18030("{a}\r\nclip=" + path));

    PlaylistRig rig(m_lists);
    QVERIFY(rig.store.LoadPlaylists());
    QVERIFY(rig.WaitForItemInfo());
    QCOMPARE(PlaylistRig::Rows(rig.songs), QStringList{"clip|" + length + "|1"});

    // Added by hand, to a new list: listed at once, measured in the background.
    const QString others = m_dir->filePath(QStringLiteral("Other/"));
    QVERIFY(QDir().mkpath(others));
    PlaylistRig added(others);
    added.store.ShowPlaylist(added.store.AddPlaylist(QStringLiteral("x")));
    MediaAdder adder(added.store, added.prompts);
    added.prompts.files = QStringList{path, path};
    QCOMPARE(adder.AddFiles().size(), 2);
    QVERIFY(added.WaitForItemInfo());
    const QString title = QFileInfo(name).completeBaseName();
    QCOMPARE(PlaylistRig::Rows(added.songs),
             (QStringList{title + "|" + length + "|1", title + "|" + length + "|2"}));
    QVERIFY(!mapped("libmpv"));
}

// Containers written by libavformat's own muxers (mux_clip), where this
// libavformat has them: the list shows their length without playing, and
// every cut-off copy reads as no length or one no longer than the clip's,
// promptly.
void tst_VideoLengths::muxedLengths_data() {
    QTest::addColumn<QString>("format"); // the muxer
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("zlib"); // the written file compressed as Flash does
    QTest::addColumn<QString>("length");
    QTest::newRow("RM") << "rm"
                        << "clip.rm" << 13.4 << false << "00:13";
    // The same container under the name of its variable-rate files.
    QTest::newRow("RMVB") << "rm"
                          << "clip.rmvb" << 65.0 << false << "01:05";
    QTest::newRow("SWF") << "swf"
                         << "clip.swf" << 9.6 << false << "00:10";
    QTest::newRow("SWF, compressed") << "swf"
                                     << "clip.swf" << 74.6 << true << "01:15";
}

void tst_VideoLengths::muxedLengths() {
    QFETCH(QString, format);
    QFETCH(QString, name);
    QFETCH(double, seconds);
    QFETCH(bool, zlib);
    QFETCH(QString, length);
#ifndef MELODECK_MUX_CLIP
    QSKIP("built without libavcodec's headers: no mux_clip to write the clip");
#else
    const QString path = m_dir->filePath(name);
    QProcess mux;
    mux.start(QStringLiteral(MELODECK_MUX_CLIP), {format, QString::number(seconds), path});
    QVERIFY(mux.waitForFinished(30000));
    const QByteArray why = mux.readAllStandardError().trimmed();
    if (mux.exitCode() == 3 || mux.exitCode() == 4)
        QSKIP(why.constData()); // this libavformat cannot write it
    QVERIFY2(mux.exitStatus() == QProcess::NormalExit && mux.exitCode() == 0, why.constData());
    QByteArray bytes = ReadBytes(path);
    if (zlib) {
        // "CWS", then all after the first 8 bytes as one zlib stream (qCompress
        // puts its own 4-byte size first).
        QVERIFY(bytes.startsWith("FWS"));
        bytes = "CWS" + bytes.mid(3, 5) + qCompress(bytes.mid(8)).mid(4);
        WriteBytes(path, bytes);
    }

    // The clip and its cut-off copies in one list.
    QString list = QStringLiteral("{a}\r\nclip=") + path;
    const qsizetype cuts[] = {16, 100, bytes.size() / 3, bytes.size() - 9};
    for (const qsizetype cut : cuts)
        list += QStringLiteral("\r\ncut=") +
                mediaFile(QStringLiteral("cut%1.").arg(cut) + QFileInfo(name).suffix(),
                          bytes.left(cut));
    WriteBytes(m_lists + "0.MLF", LegacyText::ToGb18030(list));
    PlaylistRig rig(m_lists);
    QVERIFY(rig.store.LoadPlaylists());
    QVERIFY(rig.WaitForItemInfo());
    const QStringList rows = PlaylistRig::Rows(rig.songs);
    QCOMPARE(rows.value(0), "clip|" + length + "|1");
    QCOMPARE(rows.size(), 1 + qsizetype(std::size(cuts)));
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QString time = rows[i].section(u'|', 1, 1);
        // Same width, so the texts compare as the lengths do.
        QVERIFY2(time.size() == length.size() && time <= length, qPrintable(rows[i]));
    }
    QVERIFY(!mapped("libmpv"));
#endif
}

void tst_VideoLengths::readerRefuses_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("folder") << "folder";
    QTest::newRow("missing") << "missing";
    QTest::newRow("address") << "address";
    QTest::newRow("playlist naming another file") << "playlist";
}

void tst_VideoLengths::readerRefuses() {
    QFETCH(QString, kind);
    const QString clip = mediaFile("real.mpg", VideoContainers::MpegProgramStream(30.2));
    QString path = m_dir->filePath("subject.mpg");
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "address")
        path = QStringLiteral("http://127.0.0.1:9/clip.mpg");
    else if (kind == "playlist")
        mediaFile("subject.mpg", playlistNaming(clip));
    const DemuxerLengthReader reader;
    // A reader that waited on the FIFO would never return.
    auto reading = std::async(std::launch::async, [&] { return reader.Read(path); });
    QCOMPARE(reading.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    QCOMPARE(reading.get(), 0.0);
    // The same reader still measures a real file afterwards.
    QVERIFY(qAbs(reader.Read(clip) - 30.2) < 0.1);
}

void tst_VideoLengths::missingLibraryLeavesLengthsUnknown() {
    const QString clip = mediaFile("clip.avi", TestMedia::MjpegAvi(30));
    const DemuxerLengthReader reader(QStringLiteral("libavformat-missing.so.59"));
    QCOMPARE(reader.Read(clip), 0.0);
    QVERIFY(!reader.IsLoaded());
    QVERIFY(qAbs(DemuxerLengthReader().Read(clip) - 3.0) < 0.01);
}

QTEST_MAIN(tst_VideoLengths)
#include "tst_VideoLengths.moc"
