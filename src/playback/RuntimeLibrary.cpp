#include "playback/RuntimeLibrary.h"

RuntimeLibrary::RuntimeLibrary(const QString& fileName) : m_fileName(fileName) {
    m_library.setFileName(fileName);
    m_open = m_library.load();
    if (!m_open)
        m_error = m_library.errorString();
}

bool RuntimeLibrary::resolvedAll() {
    if (!m_open)
        return false;
    if (m_missing.isEmpty())
        return true;
    m_error = QStringLiteral("%1 lacks %2").arg(m_fileName, m_missing.join(QStringLiteral(", ")));
    return false;
}
