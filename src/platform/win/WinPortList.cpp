// The serial ports of a Windows system: every present device of the Ports
// class with a COM name (through SetupAPI, which knows what a USB adapter
// reports of itself), then any further COM port that the system's serial
// map names (virtual ports, ports that Wine maps to Unix devices).
#include <windows.h>
// clang-format off
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

#include "platform/SerialTransport.h"

namespace cfg {

namespace {

std::string Utf8(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}

// A registry string may or may not end with its NUL.
std::string Utf8(const std::vector<wchar_t>& text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] != L'\0') ++n;
    return Utf8(text.data(), n);
}

std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD property) {
    std::vector<wchar_t> buffer(256);
    DWORD type = 0, size = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &dev, property, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                           static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        if (!SetupDiGetDeviceRegistryPropertyW(set, &dev, property, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                               static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &size))
            return {};
    }
    return type == REG_SZ ? Utf8(buffer) : std::string();
}

std::string RegistryString(HKEY key, const wchar_t* name) {
    std::vector<wchar_t> buffer(256);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    buffer.resize(size / sizeof(wchar_t));
    return Utf8(buffer);
}

bool IsComName(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) return false;
    return std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void AddDevicePorts(std::vector<SerialPortEntry>& ports) {
    HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &dev, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        const std::string name = RegistryString(key, L"PortName");
        RegCloseKey(key);
        if (!IsComName(name)) continue;  // printer ports share the class

        SerialPortEntry p;
        p.name = name;
        p.location = "\\\\.\\" + name;
        std::string friendly = DeviceProperty(set, dev, SPDRP_FRIENDLYNAME);
        if (friendly.empty()) friendly = DeviceProperty(set, dev, SPDRP_DEVICEDESC);
        p.description = FriendlyNameWithoutPort(friendly, name);
        p.manufacturer = DeviceProperty(set, dev, SPDRP_MFG);
        wchar_t instance[512];
        DWORD length = 0;
        if (SetupDiGetDeviceInstanceIdW(set, &dev, instance, 512, &length))
            p.serialNumber = SerialNumberOfInstance(Utf8(instance, wcsnlen(instance, 512)));
        ports.push_back(std::move(p));
    }
    SetupDiDestroyDeviceInfoList(set);
}

void AddMappedPorts(std::vector<SerialPortEntry>& ports) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        std::vector<wchar_t> data(64);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LONG rc = RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
        data.resize(size / sizeof(wchar_t));
        const std::string name = Utf8(data);
        if (!IsComName(name)) continue;
        if (std::any_of(ports.begin(), ports.end(), [&](const SerialPortEntry& p) { return p.name == name; }))
            continue;
        ports.push_back({name, "\\\\.\\" + name, "", "", ""});
    }
    RegCloseKey(key);
}

}  // namespace

std::vector<SerialPortEntry> ListSerialPorts() {
    std::vector<SerialPortEntry> ports;
    AddDevicePorts(ports);
    AddMappedPorts(ports);
    // COM2 before COM10.
    std::sort(ports.begin(), ports.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return ports;
}

}  // namespace cfg
