// What the port menus show of a serial port, the same on every system.
#include <cctype>
#include <string>

#include "platform/SerialTransport.h"

namespace cfg {

std::string DescribePort(const SerialPortEntry& p, const std::string& serialLabel) {
    std::string text;
    auto add = [&text](const std::string& part) {
        if (part.empty() || text.find(part) != std::string::npos) return;
        if (!text.empty()) text += ", ";
        text += part;
    };
    add(p.description);
    add(p.manufacturer);
    if (!p.serialNumber.empty()) add(serialLabel.empty() ? p.serialNumber : serialLabel + " " + p.serialNumber);
    return text;
}

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}  // namespace

std::string SerialNumberOfInstance(const std::string& path) {
    // Bus, device and instance, separated by backslashes.
    const std::size_t first = path.find('\\');
    if (first == std::string::npos) return {};
    const std::size_t second = path.find('\\', first + 1);
    if (second == std::string::npos) return {};
    std::string serial;
    if (StartsWithNoCase(path, "USB\\")) {
        // The instance part is the adapter's own number, unless Windows made
        // one up from the port it sits in ("5&1A2B3C4&0&2").
        serial = path.substr(second + 1);
        if (serial.find('&') != std::string::npos || serial.find('\\') != std::string::npos) return {};
    } else if (StartsWithNoCase(path, "FTDIBUS\\")) {
        // VID_0403+PID_6001+A10K3XYZA: the last '+' field of the device part.
        const std::string device = path.substr(first + 1, second - first - 1);
        const std::size_t plus = device.rfind('+');
        if (plus == std::string::npos) return {};
        serial = device.substr(plus + 1);
    } else {
        return {};  // a built-in port, a virtual one: no serial number
    }
    for (unsigned char c : serial)
        if (!std::isalnum(c)) return {};
    return serial;
}

std::string FriendlyNameWithoutPort(const std::string& friendlyName, const std::string& portName) {
    const std::string tail = " (" + portName + ")";
    if (!portName.empty() && friendlyName.size() > tail.size() &&
        friendlyName.compare(friendlyName.size() - tail.size(), tail.size(), tail) == 0)
        return friendlyName.substr(0, friendlyName.size() - tail.size());
    return friendlyName;
}

}  // namespace cfg
