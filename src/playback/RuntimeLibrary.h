#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

// A shared library opened at run time and the functions taken from it, for
// the engine's libraries that a start without playing should never map.
//
// Every function is resolved even after one is missing, so that the message
// names all of them at once: a library of the wrong version usually lacks
// several.
class RuntimeLibrary {
public:
    // Opens `fileName`; isOpen() says whether it worked and errorString() why not.
    explicit RuntimeLibrary(const QString& fileName);

    bool isOpen() const { return m_open; }
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // Points `slot` at `symbol`, or at nothing and remembers the name.
    template <typename Function> void resolve(const char* symbol, Function& slot) {
        slot = reinterpret_cast<Function>(m_library.resolve(symbol));
        if (!slot)
            m_missing << QString::fromLatin1(symbol);
    }

    // True when every resolve() found its function; otherwise errorString()
    // lists the missing ones.
    bool resolvedAll();

    // Marks the library unusable for a reason found by its user.
    void refuse(const QString& why) { m_error = why; }

private:
    QLibrary m_library;
    QString m_fileName;
    QString m_error;
    QStringList m_missing;
    bool m_open = false;
};
