#include "net/HandOffFrame.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

const QLatin1StringView kCommandLinePrefix("CommandLine=");

} // namespace

qsizetype HandOffFrame::Feed(QByteArrayView data) {
    if (m_state != State::Incomplete)
        return 0;
    qsizetype taken = 0;
    if (m_declared < 0) {
        const qsizetype want = std::min<qsizetype>(kHeaderSize - m_header.size(), data.size());
        m_header.append(data.first(want));
        taken = want;
        if (m_header.size() < kHeaderSize)
            return taken;
        const auto* b = reinterpret_cast<const uchar*>(m_header.constData());
        m_declared = (qint64(b[0]) << 24) | (qint64(b[1]) << 16) | (qint64(b[2]) << 8) | b[3];
        if (m_declared > kMaxPayload) {
            // Refused on the length alone: the payload is never buffered.
            m_state = State::TooLarge;
            return taken;
        }
        m_payload.reserve(qsizetype(m_declared));
    }
    const qsizetype want =
        std::min<qsizetype>(qsizetype(m_declared) - m_payload.size(), data.size() - taken);
    m_payload.append(data.sliced(taken, want));
    taken += want;
    if (m_payload.size() == m_declared)
        finishPayload();
    return taken;
}

void HandOffFrame::finishPayload() {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(m_payload);
    m_payload.clear();
    if (decoder.hasError()) {
        m_state = State::BadText;
        return;
    }
    m_text = std::move(text);
    m_state = State::Complete;
}

void HandOffFrame::Reset() {
    m_state = State::Incomplete;
    m_header.clear();
    m_payload.clear();
    m_declared = -1;
    m_text.clear();
}

std::optional<QByteArray> HandOffFrame::Encode(const QString& text) {
    const QByteArray payload = text.toUtf8();
    if (payload.size() > kMaxPayload)
        return std::nullopt;
    const quint32 n = quint32(payload.size());
    QByteArray frame;
    frame.reserve(kHeaderSize + payload.size());
    frame.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    frame.append(payload);
    return frame;
}

std::optional<QString> HandOffFrame::CommandLineOf(const QString& text) {
    if (!text.startsWith(kCommandLinePrefix, Qt::CaseSensitive))
        return std::nullopt;
    return text.mid(kCommandLinePrefix.size());
}

QString HandOffFrame::CommandText(const QString& commandLine) {
    return kCommandLinePrefix + commandLine;
}

QString HandOffFrame::JoinItems(const QStringList& items) {
    return items.join(QChar(u'\0'));
}

QStringList HandOffFrame::ItemsOf(const QString& commandLine) {
    return commandLine.split(QChar(u'\0'), Qt::SkipEmptyParts);
}
