#pragma once

#include <QMenu>
#include <QObject>
#include <QStringList>

class PlayerApp;
class SkinStore;
class UpdateCheck;

// The program's two pop-up menus and their commands: the main menu of the
// player window (the updater, and the skin list with the live switch) and
// the play modes, and the link menu over the song list (skip to the next candidate address of a
// link item).
class MainMenus : public QObject {
    Q_OBJECT
public:
    // Fills `mainMenu` (the player window's right-click menu).
    MainMenus(PlayerApp& app, UpdateCheck& update, QMenu& mainMenu);

    // The names offered in the skin list for the skins `skins` finds:
    // "Default" first, then every other folder in natural order (a folder
    // "default" spelt otherwise is an entry of its own).
    static QStringList SkinNames(const SkinStore& skins);

    // Switches both windows to skin `name` and docks the playlist window
    // under the player window. A skin that fails to load is reported and
    // both windows keep the current one; returns false then.
    bool ChooseSkin(const QString& name);

    // The item selected in the shown list moves on to its next candidate
    // address (restarting playback when it is the one loaded). Items not
    // made from a link, or with a single candidate left, are left alone.
    void NextLink();

    QMenu& SkinMenu() { return m_skinMenu; }
    QMenu& LinkMenu() { return m_linkMenu; }
    QMenu& ModeMenu() { return m_modeMenu; }

signals:
    // Both windows took a new skin; other windows follow it.
    void SkinApplied();

private:
    void FillSkinMenu();
    bool ApplySkin(const QString& name);
    void DockPlaylistWindow();
    void FillModeMenu();

    PlayerApp& m_app;
    UpdateCheck& m_update;
    QMenu m_skinMenu;
    QMenu m_linkMenu;
    QMenu m_modeMenu;
    // The skin the user picked from the list; checked in it from then on.
    QString m_chosenSkin;
};
