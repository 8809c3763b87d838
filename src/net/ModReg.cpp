#include "net/ModReg.h"

#include <cmath>
#include <limits>
#include <optional>

namespace ModReg {
namespace {

struct RegFailure {
    std::int32_t Number;
    QString Description;
};

RegFailure RegistryError() {
    return {kErrorNumber, QStringLiteral("设置注册表时出错")};
}

// The value as a 32-bit signed number, or the conversion error.
std::variant<std::int32_t, RegFailure> ToInt32(const QVariant& value) {
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString
                              ? value.toString().trimmed().toDouble(&ok)
                              : value.toDouble(&ok);
    if (!ok || std::isnan(number))
        return RegFailure{kTypeMismatch, QStringLiteral("类型不匹配")};
    const double rounded = std::nearbyint(number);
    if (rounded < double(std::numeric_limits<std::int32_t>::min()) ||
        rounded > double(std::numeric_limits<std::int32_t>::max()))
        return RegFailure{kOverflow, QStringLiteral("溢出")};
    return std::int32_t(rounded);
}

std::optional<RegFailure> Write(Registry& registry, RegRoot root, const QString& subKey,
                                const QString& valueName, int valueType, const QVariant& value) {
    const std::unique_ptr<RegistryKey> key = registry.CreateKey(root, subKey);
    if (!key)
        return RegistryError();
    RegData data;
    switch (valueType) {
    case RegType::String:
    case RegType::ExpandString:
        data = value.toString();
        break;
    case RegType::Binary:
    case RegType::Dword: {
        auto number = ToInt32(value);
        if (const RegFailure* failure = std::get_if<RegFailure>(&number))
            return *failure;
        data = std::get<std::int32_t>(number);
        break;
    }
    default:
        return RegFailure{kErrorNumber, QStringLiteral("不支持该参数类型")};
    }
    if (!key->SetValue(valueName, valueType, data))
        return RegistryError();
    if (!key->Close())
        return RegistryError();
    return std::nullopt;
}

} // namespace

bool SetRegValue(Registry& registry, RegRoot root, const QString& subKey, const QString& valueName,
                 int valueType, const QVariant& value, std::int32_t& errNumber,
                 QString& errDescription) {
    const std::optional<RegFailure> failure =
        Write(registry, root, subKey, valueName, valueType, value);
    errNumber = failure ? failure->Number : 0;
    errDescription = failure ? failure->Description : QString();
    return !failure;
}

} // namespace ModReg
