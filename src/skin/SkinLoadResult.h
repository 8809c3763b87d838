#pragma once

#include "skin/SkinInfo.h"

#include <QString>
#include <optional>

// The outcome of reading a "skin.xml": the skin, or the reason it could not
// be used (a text for skin authors, ready to be shown to the user).
struct SkinLoadResult {
    std::optional<SkinInfo> Skin;
    QString Error;

    bool Ok() const { return Skin.has_value(); }
};
