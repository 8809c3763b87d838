#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>

// The little of the Windows registry the program writes, behind an interface
// so that the writer's rules run (and are tested) on every platform.
enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine };

// Registry value types by their Windows numbers.
namespace RegType {
inline constexpr int String = 1;       // REG_SZ
inline constexpr int ExpandString = 2; // REG_EXPAND_SZ
inline constexpr int Binary = 3;       // REG_BINARY
inline constexpr int Dword = 4;        // REG_DWORD
} // namespace RegType

// Text for the string types, a 32-bit number (written as 4 little-endian
// bytes) for the binary and number types.
using RegData = std::variant<QString, std::int32_t>;

// One key opened for writing.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // An empty name is the key's default value.
    virtual bool SetValue(const QString& name, int type, const RegData& data) = 0;
    // Closes the key; false when the registry reports a failure.
    virtual bool Close() = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Creates the key (and its parents) or opens it if it exists; null on
    // failure. `subKey` uses "\" between levels.
    virtual std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const QString& subKey) = 0;
};

#ifdef Q_OS_WIN
// The real registry (compiled on Windows only). Strings are written through
// the Unicode interface, so no character of a path is lost.
std::unique_ptr<Registry> MakeWindowsRegistry();
#endif
