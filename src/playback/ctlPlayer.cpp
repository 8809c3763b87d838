#include "playback/ctlPlayer.h"

#include "controls/ModInput.h"
#include "playback/FormatDuration.h"
#include "playback/MpvEngine.h"

#include <QGuiApplication>
#include <QMouseEvent>

QString PlayerControls::currentPositionString() const {
    return FormatDuration(m_engine.currentPosition());
}

namespace {

// Video can only be embedded into a real native window.
bool platformHasNativeWindows() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows");
}

} // namespace

ctlPlayer::ctlPlayer(QWidget* parent, std::unique_ptr<MediaEngine> engine)
    : QWidget(parent), m_engine(std::move(engine)), m_surface(new QWidget(this)) {
    if (!m_engine)
        m_engine = std::make_unique<MpvEngine>();
    m_surface->setObjectName(QStringLiteral("WMP"));
    m_surface->setAutoFillBackground(true);
    QPalette black = m_surface->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_surface->setPalette(black);
    // The surface lets mouse events through so double clicks reach us even
    // while the engine shows nothing.
    m_surface->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (platformHasNativeWindows()) {
        m_surface->setAttribute(Qt::WA_DontCreateNativeAncestors);
        m_surface->setAttribute(Qt::WA_NativeWindow);
        m_engine->setVideoWindow(m_surface->winId());
    }
    connectEngine();
    fitSurface();
}

ctlPlayer::~ctlPlayer() {
    m_engine->stop();
}

void ctlPlayer::connectEngine() {
    MediaEngine* e = m_engine.get();
    connect(e, &MediaEngine::DoubleClick, this, &ctlPlayer::DoubleClick);
    connect(e, &MediaEngine::DurationUnitChange, this, &ctlPlayer::DurationUnitChange);
    connect(e, &MediaEngine::EndOfStream, this, &ctlPlayer::EndOfStream);
    connect(e, &MediaEngine::MediaChange, this, &ctlPlayer::MediaChange);
    connect(e, &MediaEngine::MediaError, this, &ctlPlayer::MediaError);
    connect(e, &MediaEngine::SwitchedToControl, this, &ctlPlayer::SwitchedToControl);
    connect(e, &MediaEngine::StatusChange, this, [this] {
        emit StatusChange();
        fitSurface();
    });
}

void ctlPlayer::play() {
    m_engine->play();
}

void ctlPlayer::pause() {
    m_engine->pause();
}

void ctlPlayer::Stop1() {
    m_engine->stop();
}

void ctlPlayer::setFileName(const QString& fileName) {
    m_engine->setURL(fileName);
    m_FileName = fileName;
    m_changed.insert(QStringLiteral("FileName"));
}

QString ctlPlayer::status() const {
    return m_engine->status();
}

bool ctlPlayer::stretchToFit() const {
    return m_engine->stretchToFit();
}

void ctlPlayer::setStretchToFit(bool stretch) {
    m_engine->setStretchToFit(stretch);
    m_changed.insert(QStringLiteral("stretchToFit"));
}

bool ctlPlayer::enableContextMenu() const {
    return m_engine->enableContextMenu();
}

void ctlPlayer::setEnableContextMenu(bool enable) {
    m_engine->setEnableContextMenu(enable);
    m_changed.insert(QStringLiteral("enableContextMenu"));
}

EngineMedia ctlPlayer::currentMedia() const {
    return m_engine->currentMedia();
}

int ctlPlayer::playState() const {
    return m_engine->playState();
}

EngineMedia ctlPlayer::newMedia(const QString& bstrURL) const {
    return m_engine->newMedia(bstrURL);
}

void ctlPlayer::ReadProperties(const PropertyBag& bag) {
    m_engine->setStretchToFit(bag.ReadProperty(QStringLiteral("stretchToFit"), false).toBool());
    m_engine->setEnableContextMenu(
        bag.ReadProperty(QStringLiteral("enableContextMenu"), true).toBool());
    // Only remembered: restoring must never start playback.
    m_FileName = bag.ReadProperty(QStringLiteral("FileName"), QString()).toString();
}

void ctlPlayer::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("stretchToFit"), m_engine->stretchToFit());
    bag.WriteProperty(QStringLiteral("enableContextMenu"), m_engine->enableContextMenu());
    bag.WriteProperty(QStringLiteral("FileName"), m_FileName);
    bag.WriteProperty(QStringLiteral("fullScreen"), m_engine->fullScreen());
}

void ctlPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitSurface();
}

void ctlPlayer::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    emit DoubleClick(short(ModInput::ButtonCode(event->button())),
                     short(ModInput::ShiftCode(event->modifiers())), int(p.x()), int(p.y()));
}

void ctlPlayer::fitSurface() {
    m_surface->setGeometry(0, 0, width(), height());
}
