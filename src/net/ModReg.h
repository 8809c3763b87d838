#pragma once

#include "net/Registry.h"

#include <QString>
#include <QVariant>

#include <cstdint>

// The registry writer. It is the one operation of the program that reports
// its failures to the caller instead of absorbing them.
namespace ModReg {

// The program's own error number: the object-error base plus 1.
inline constexpr std::int32_t kErrorNumber = std::int32_t(0x80040001u);
// Runtime errors of the value conversion, numbered as the platform numbers
// them.
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kTypeMismatch = 13;

// Writes `value` as `valueName` (empty: the default value) of `subKey` under
// `root`, creating the key when needed. Types 1 and 2 write the value as
// text; 3 and 4 write it as a 32-bit signed number (rounded to nearest, halves
// to even) in 4 little-endian bytes; any other type is refused with
// "不支持该参数类型". A registry failure gives "设置注册表时出错". On failure
// returns false with `errNumber` and `errDescription` set; on success true
// with 0 and an empty text. Nothing is shown.
bool SetRegValue(Registry& registry, RegRoot root, const QString& subKey, const QString& valueName,
                 int valueType, const QVariant& value, std::int32_t& errNumber,
                 QString& errDescription);

} // namespace ModReg
