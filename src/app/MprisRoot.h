#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class PlayerApp;

// org.mpris.MediaPlayer2: who the player is, and bringing it to the front or
// ending it the way the program's own ways do (a hand-off's raise, the one
// exit path).
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    MprisRoot(PlayerApp& app, QObject* object);

    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Melodeck"); }
    QString desktopEntry() const { return QStringLiteral("melodeck"); }
    QStringList supportedUriSchemes() const;
    // Worked out when asked: the MIME database is not loaded at every start.
    QStringList supportedMimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    PlayerApp& m_app;
};
