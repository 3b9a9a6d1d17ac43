#include "platform/SystemInfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_WIN
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace platform {

namespace {

QString existingFileName(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() ? info.fileName() : QString();
}

bool startDetached(const QString &path)
{
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

#ifdef Q_OS_WIN

HKEY toHandle(ConfigRoot root)
{
    // Predefined roots are sign-extended 32-bit values.
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

long openRegistryKey(ConfigRoot root, const QString &keyName, std::uint32_t access, ConfigKey *key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(toHandle(root), keyName.toLocal8Bit().constData(), 0, access, &opened);
    *key = reinterpret_cast<ConfigKey>(opened);
    return result;
}

long queryRegistryValue(ConfigKey key, const QString &valueName, std::uint32_t *type,
                        std::span<char> buffer, std::uint32_t *size)
{
    DWORD valueType = 0;
    DWORD bytes = std::min<DWORD>(*size, static_cast<DWORD>(buffer.size()));
    const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.toLocal8Bit().constData(),
                                         nullptr, &valueType, reinterpret_cast<BYTE *>(buffer.data()), &bytes);
    *type = valueType;
    *size = bytes;
    return result;
}

void closeRegistryKey(ConfigKey key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

#else

// Without a registry, the one key the launcher reads first is mapped onto a program search.
const QString ToolValue = QStringLiteral("PATH");
constexpr ConfigKey ToolKeyHandle = 1;

QString findSystemInfoProgram()
{
    for (const QString &name : SystemInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

long openMappedKey(ConfigRoot root, const QString &keyName, std::uint32_t, ConfigKey *key)
{
    *key = 0;
    if (root != LocalMachine || keyName.compare(SystemInfoKey, Qt::CaseInsensitive) != 0)
        return ConfigNotFound;
    *key = ToolKeyHandle;
    return ConfigSuccess;
}

long queryMappedValue(ConfigKey key, const QString &valueName, std::uint32_t *type,
                      std::span<char> buffer, std::uint32_t *size)
{
    if (key != ToolKeyHandle || valueName.compare(ToolValue, Qt::CaseInsensitive) != 0)
        return ConfigNotFound;
    const QString path = findSystemInfoProgram();
    if (path.isEmpty())
        return ConfigNotFound;
    // A string value as the registry stores it: the text with its terminating NUL.
    const QByteArray data = path.toLocal8Bit() + '\0';
    const std::size_t room = std::min<std::size_t>(*size, buffer.size());
    if (static_cast<std::size_t>(data.size()) > room)
        return ConfigMoreData;
    std::memcpy(buffer.data(), data.constData(), static_cast<std::size_t>(data.size()));
    *type = ConfigString;
    *size = static_cast<std::uint32_t>(data.size());
    return ConfigSuccess;
}

#endif

} // namespace

QStringList SystemInfoPrograms()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("lshw-gtk"), QStringLiteral("gnome-system-monitor")};
}

SystemInfoCalls NativeSystemInfo()
{
    SystemInfoCalls calls;
#ifdef Q_OS_WIN
    calls.openKey = openRegistryKey;
    calls.queryValue = queryRegistryValue;
    calls.closeKey = closeRegistryKey;
#else
    calls.openKey = openMappedKey;
    calls.queryValue = queryMappedValue;
    calls.closeKey = [](ConfigKey) {};
#endif
    calls.fileName = existingFileName;
    calls.startProgram = startDetached;
    return calls;
}

SystemInfoCalls &SystemInfo()
{
    static SystemInfoCalls calls = NativeSystemInfo();
    return calls;
}

} // namespace platform
