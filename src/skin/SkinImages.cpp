#include "skin/SkinImages.h"

#include "skin/SkinPaths.h"

#include <utility>

SkinImages::SkinImages(QString folder) : m_folder(std::move(folder)) {
}

QString SkinImages::PathOf(const QString& name) const {
    return SkinPaths::Join(m_folder, name);
}

bool SkinImages::Load(const QString& name) {
    if (name.isEmpty() || m_loaded.contains(name)) {
        return true;
    }
    const QString path = PathOf(name);
    QImage picture(path);
    if (picture.isNull()) {
        m_failedFile = path;
        return false;
    }
    m_loaded.insert(name, picture.convertToFormat(QImage::Format_RGB32));
    return true;
}

QImage SkinImages::Image(const QString& name) {
    if (!Load(name)) {
        return QImage();
    }
    return m_loaded.value(name);
}
