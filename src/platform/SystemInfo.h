#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <span>

namespace platform {

// The system configuration store (the registry on Windows) as the System Information
// launcher reads it, the file test and the program start it needs.
using ConfigRoot = std::uint32_t;
using ConfigKey = std::uintptr_t;

constexpr ConfigRoot LocalMachine = 0x80000002u;  // HKEY_LOCAL_MACHINE
// Read control plus query value, set value, create subkey, enumerate subkeys, notify, create link.
constexpr std::uint32_t KeyAllAccess = 0x2003F;
constexpr long ConfigSuccess = 0;
constexpr long ConfigNotFound = 2;    // ERROR_FILE_NOT_FOUND
constexpr long ConfigMoreData = 234;  // ERROR_MORE_DATA: the value does not fit the buffer
constexpr std::uint32_t ConfigString = 1;  // REG_SZ
constexpr std::uint32_t ConfigNumber = 4;  // REG_DWORD, little-endian

// Where the launcher looks for the System Information program: the key below LocalMachine
// whose value "PATH" names it, and the key whose value "MSINFO" names its folder.
inline const QString SystemInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString SystemInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

struct SystemInfoCalls {
    // Opens keyName below root; ConfigSuccess means opened, with the handle in *key.
    std::function<long(ConfigRoot root, const QString &keyName, std::uint32_t access, ConfigKey *key)>
        openKey;
    // Reads the value valueName into buffer. *size comes in as the buffer's size and goes out
    // as the number of bytes written; ConfigSuccess means read, with the value's type in *type.
    // A value larger than the buffer fails with ConfigMoreData.
    std::function<long(ConfigKey key, const QString &valueName, std::uint32_t *type,
                       std::span<char> buffer, std::uint32_t *size)>
        queryValue;
    std::function<void(ConfigKey key)> closeKey;
    // The file's name when a normal file stands at exactly path, empty text otherwise.
    std::function<QString(const QString &path)> fileName;
    // Starts the program at path, detached, in a normal window; false when it did not start.
    std::function<bool(const QString &path)> startProgram;
};

// The calls in use. Tests replace members (and restore NativeSystemInfo()) so that no real
// program is ever started.
SystemInfoCalls &SystemInfo();

// The calls of this operating system. Without a registry (Linux), the key
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" below LocalMachine answers, as its value "PATH",
// the full path of the first of SystemInfoPrograms() found on PATH; every other key is missing.
SystemInfoCalls NativeSystemInfo();

// The system information programs looked for on PATH, most preferred first.
QStringList SystemInfoPrograms();

} // namespace platform
