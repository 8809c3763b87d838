#pragma once

#include "controls/PropertyBag.h"
#include "playback/MediaEngine.h"
#include "playback/PlayerObjects.h"

#include <QSet>
#include <QWidget>
#include <memory>

// The one control that hosts the media engine. It keeps the engine's video
// surface sized to itself, remembers the last file name it was given, saves
// and restores its four settings, and re-raises seven engine events under
// its own names. Everything else is forwarded to the engine unchanged.
class ctlPlayer : public QWidget {
    Q_OBJECT
public:
    // Without an engine the real one (libmpv) is made.
    explicit ctlPlayer(QWidget* parent = nullptr, std::unique_ptr<MediaEngine> engine = nullptr);
    ~ctlPlayer() override;

    void play();
    void pause();
    void Stop1();

    // Writing starts loading and playing the text; reading gives the last
    // text written, whatever the engine made of it.
    QString FileName() const { return m_FileName; }
    void setFileName(const QString& fileName);

    QString status() const;
    bool stretchToFit() const;
    void setStretchToFit(bool stretch);
    bool enableContextMenu() const;
    void setEnableContextMenu(bool enable);
    EngineMedia currentMedia() const;
    PlayerSettings settings() { return PlayerSettings(*m_engine); }
    PlayerControls Controls() { return PlayerControls(*m_engine); }
    int playState() const;
    EngineMedia newMedia(const QString& bstrURL) const;

    // Saved settings: "stretchToFit", "enableContextMenu", "FileName" and
    // "fullScreen" (written only). Restoring never starts playback.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    bool IsPropertyChanged(const QString& name) const { return m_changed.contains(name); }

    // The engine's video surface.
    QWidget* WMP() const { return m_surface; }
    MediaEngine& engine() const { return *m_engine; }

signals:
    void DoubleClick(short nButton, short nShiftState, int fX, int fY);
    void DurationUnitChange(int NewDurationUnit);
    void EndOfStream(int result);
    void MediaChange(const EngineMedia& Item);
    void MediaError(const EngineMedia& pMediaObject);
    void SwitchedToControl();
    void StatusChange();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void fitSurface();
    void connectEngine();

    std::unique_ptr<MediaEngine> m_engine;
    QWidget* m_surface;
    QString m_FileName;
    QSet<QString> m_changed;
};
