#include "app/MprisRoot.h"

#include "app/MprisState.h"
#include "app/PlayerApp.h"

MprisRoot::MprisRoot(PlayerApp& app, QObject* object) : QDBusAbstractAdaptor(object), m_app(app) {
}

QStringList MprisRoot::supportedUriSchemes() const {
    return MprisState::SupportedUriSchemes();
}

QStringList MprisRoot::supportedMimeTypes() const {
    return MprisState::SupportedMimeTypes();
}

// A hand-off without a text is exactly "come to the front".
void MprisRoot::Raise() {
    m_app.HandOff({});
}

void MprisRoot::Quit() {
    m_app.QuitApplication();
}
