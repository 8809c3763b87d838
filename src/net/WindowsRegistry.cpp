// The real registry behind the Registry interface; Windows only.
#include "net/Registry.h"

#ifdef Q_OS_WIN

#include <qt_windows.h>

namespace {

HKEY RootHandle(RegRoot root) {
    switch (root) {
    case RegRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

class WindowsKey : public RegistryKey {
public:
    explicit WindowsKey(HKEY key) : m_key(key) {}
    ~WindowsKey() override {
        if (m_key)
            RegCloseKey(m_key);
    }

    bool SetValue(const QString& name, int type, const RegData& data) override {
        const std::wstring valueName = name.toStdWString();
        if (const QString* text = std::get_if<QString>(&data)) {
            const std::wstring value = text->toStdWString();
            const DWORD bytes = DWORD((value.size() + 1) * sizeof(wchar_t));
            return RegSetValueExW(m_key, valueName.c_str(), 0, DWORD(type),
                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                  bytes) == ERROR_SUCCESS;
        }
        const std::int32_t number = std::get<std::int32_t>(data);
        const BYTE little[4] = {BYTE(number), BYTE(number >> 8), BYTE(number >> 16),
                                BYTE(number >> 24)};
        return RegSetValueExW(m_key, valueName.c_str(), 0, DWORD(type), little, 4) == ERROR_SUCCESS;
    }

    bool Close() override {
        const LONG rc = RegCloseKey(m_key);
        m_key = nullptr;
        return rc == ERROR_SUCCESS;
    }

private:
    HKEY m_key;
};

class WindowsRegistry : public Registry {
public:
    std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const QString& subKey) override {
        HKEY key = nullptr;
        const std::wstring path = subKey.toStdWString();
        if (RegCreateKeyExW(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<WindowsKey>(key);
    }
};

} // namespace

std::unique_ptr<Registry> MakeWindowsRegistry() {
    return std::make_unique<WindowsRegistry>();
}

#endif
