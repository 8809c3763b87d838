#include "skin/SkinStore.h"

#include "skin/ModSkinFile.h"
#include "skin/SkinPaths.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

SkinStore::SkinStore(QString skinsDir) : m_skinsDirs{std::move(skinsDir)} {
}

SkinStore::SkinStore(QStringList skinsDirs) : m_skinsDirs(std::move(skinsDirs)) {
}

QList<ModTextFile::FolderEntry> SkinStore::SkinFolders() const {
    QList<ModTextFile::FolderEntry> all;
    for (const QString& dir : m_skinsDirs) {
        const auto folders = ModTextFile::ListSkinFolders(dir);
        if (!folders)
            continue;
        const qsizetype earlier = all.size();
        for (const ModTextFile::FolderEntry& folder : *folders) {
            const auto hidden =
                std::any_of(all.cbegin(), all.cbegin() + earlier, [&](const auto& e) {
                    return e.Name.compare(folder.Name, Qt::CaseInsensitive) == 0;
                });
            if (!hidden)
                all.append(folder);
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return ModTextFile::NaturalLess(a.Name, b.Name);
    });
    return all;
}

QString SkinStore::FolderOf(const QString& name) const {
    for (const QString& dir : m_skinsDirs) {
        const QString folder = SkinPaths::Join(dir, name);
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return SkinPaths::Join(m_skinsDirs.isEmpty() ? QString() : m_skinsDirs.last(), name);
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
