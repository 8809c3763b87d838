#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// Small media files made on the fly for tests of the real engine and tag reader.
namespace TestMedia {

// Silent MPEG-1 Layer III audio, 44.1 kHz, 128 kbit/s, about `seconds` long.
// `id3v2Title` is written as an ID3v2.3 TIT2 frame with encoding byte 0
// (the legacy 8-bit form), its bytes exactly as given.
QByteArray SilentMp3(double seconds, const QByteArray& id3v2Title = QByteArray());

// The same audio with a 128-byte ID3v1 tag whose title field holds `title` bytes.
QByteArray SilentMp3WithId3v1(double seconds, const QByteArray& title);

// Silent MPEG-2 Layer III audio, 24 kHz (576 samples a frame), 64 kbit/s,
// mono, about `seconds` long, without tags.
QByteArray SilentMpeg2Mp3(double seconds);

// 16-bit mono PCM WAV of silence.
QByteArray SilentWav(double seconds, int sampleRate = 8000);

// Motion-JPEG video in an AVI file: `frames` frames of `size` pixels at
// `fps` frames a second, each a different flat colour.
QByteArray MjpegAvi(int frames, QSize size = QSize(64, 48), int fps = 10);

// Writes `data` to `path`; returns false on failure.
bool WriteFile(const QString& path, const QByteArray& data);

} // namespace TestMedia
