#include "skin/SkinStore.h"

#include "skin/ModSkinFile.h"
#include "skin/SkinPaths.h"

#include <QFileInfo>
#include <utility>

SkinStore::SkinStore(QString skinsDir) : m_skinsDir(std::move(skinsDir)) {
}

QString SkinStore::FolderOf(const QString& name) const {
    return SkinPaths::Join(m_skinsDir, name);
}

QString SkinStore::PlaylistColorsFile(const QString& name) const {
    const QString own =
        SkinPaths::Join(FolderOf(name), QLatin1String(ModSkinFile::kPlaylistFileName));
    if (QFileInfo(own).isFile())
        return own;
    return SkinPaths::Join(FolderOf(QStringLiteral("default")),
                           QLatin1String(ModSkinFile::kPlaylistFileName));
}

bool SkinStore::LoadSkin(const QString& name, Prompts& prompts, QString* error) {
    SkinLoadResult result = ModSkinFile::LoadSkinFile(
        SkinPaths::Join(FolderOf(name), QLatin1String(ModSkinFile::kSkinFileName)), prompts);
    if (!result.Ok()) {
        if (error)
            *error = result.Error;
        return false;
    }
    m_colors = ModSkinFile::LoadPlaylistColors(PlaylistColorsFile(name), prompts);
    m_skin = std::move(*result.Skin);
    m_name = name;
    m_loaded = true;
    return true;
}
