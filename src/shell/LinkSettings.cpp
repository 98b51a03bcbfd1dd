#include "LinkSettings.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "FileNames.h"
#include "Input.h"
#include "Language.h"
#include "RuntimeError.h"
#include "Settings.h"
#include "Text.h"

namespace cfg {

namespace {

// Texts.
constexpr int kInvalidPortTitle = 1391;
constexpr int kPortWord = 1389;          // "Port", before the port name
constexpr int kPortMissingText = 1390;   // after the port name
constexpr int kNotSerialPortText = 1527;
constexpr int kPortBusyTitle = 1394;
constexpr int kPortInUseWord = 1392;     // "Port", before the port name
constexpr int kPortInUseText = 1393;
constexpr int kNetworkPortTitle = 1960;
constexpr int kAddressWord = 1961;
constexpr int kNotNetworkPortText = 1962;
constexpr int kNoConnectionTo = 1963;
constexpr int kConnectionRefusedText = 1964;
constexpr int kConnectionToWord = 1965;
constexpr int kConnectionClosedText = 1966;
constexpr int kOtherPortTitle = 1967;
constexpr int kPortNamePrompt = 1968;
constexpr int kErrorTitle = 1396;
constexpr int kUnexpectedErrorText = 1395;
constexpr int kTraceTitle = 1969;
constexpr int kTraceOnText = 1970;
constexpr int kTraceOffText = 1971;
constexpr int kTraceUnwritableText = 1972;

constexpr char kNetworkPrefix[] = "tcp://";
constexpr std::size_t kNetworkPrefixLength = sizeof kNetworkPrefix - 1;

bool ValidHostName(const std::string& host) {
    if (host.empty() || host.size() > 253) return false;
    return std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_';
    });
}

bool ValidIpv6(const std::string& host) {
    if (host.size() < 2) return false;
    return std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isxdigit(c) != 0 || c == ':' || c == '.';
    });
}

}  // namespace

bool IsNetworkPortName(const std::string& name) {
    const std::string t = Trim(name);
    if (t.size() < kNetworkPrefixLength) return false;
    for (std::size_t i = 0; i < kNetworkPrefixLength; ++i)
        if (std::tolower(static_cast<unsigned char>(t[i])) != kNetworkPrefix[i]) return false;
    return true;
}

bool ParseNetworkPortName(const std::string& name, std::string& host, uint16_t& port) {
    if (!IsNetworkPortName(name)) return false;
    const std::string rest = Trim(name).substr(kNetworkPrefixLength);
    std::string h;
    std::string portText;
    if (!rest.empty() && rest[0] == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':') return false;
        h = rest.substr(1, close - 1);
        if (!ValidIpv6(h)) return false;
        portText = rest.substr(close + 2);
    } else {
        const std::size_t colon = rest.find(':');
        if (colon == std::string::npos || rest.find(':', colon + 1) != std::string::npos) return false;
        h = rest.substr(0, colon);
        if (!ValidHostName(h)) return false;
        portText = rest.substr(colon + 1);
    }
    if (portText.empty() || portText.size() > 5 ||
        !std::all_of(portText.begin(), portText.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return false;
    const long p = std::stol(portText);
    if (p < 1 || p > 65535) return false;
    host = h;
    port = static_cast<uint16_t>(p);
    return true;
}

bool PortErrorMessage(Session& s, long number, const std::string& portName, std::string& title,
                      std::string& text) {
    std::string before, after;
    switch (number) {
    case err::kInvalidPort:
        title = GetText(s, kInvalidPortTitle);
        before = GetText(s, kPortWord);
        after = GetText(s, kPortMissingText);
        break;
    case err::kPortAlreadyOpen:
        title = GetText(s, kPortBusyTitle);
        before = GetText(s, kPortInUseWord);
        after = GetText(s, kPortInUseText);
        break;
    case err::kNotSerialPort:
        title = GetText(s, kInvalidPortTitle);
        before = GetText(s, kPortWord);
        after = GetText(s, kNotSerialPortText);
        break;
    case err::kBadNetworkAddress:
        title = GetText(s, kNetworkPortTitle);
        before = GetText(s, kAddressWord);
        after = GetText(s, kNotNetworkPortText);
        break;
    case err::kConnectionFailed:
        title = GetText(s, kNetworkPortTitle);
        before = GetText(s, kNoConnectionTo);
        after = GetText(s, kConnectionRefusedText);
        break;
    case err::kConnectionLost:
        title = GetText(s, kNetworkPortTitle);
        before = GetText(s, kConnectionToWord);
        after = GetText(s, kConnectionClosedText);
        break;
    default: return false;
    }
    text = before + " " + portName + after;
    return true;
}

bool ChooseOtherPort(Session& s, const PortProbe& probe) {
    std::string name = s.settings.CommPortName;
    for (;;) {
        ValueRequest req;
        req.kind = 2;
        req.title = GetText(s, kOtherPortTitle);
        req.prompt = GetText(s, kPortNamePrompt);
        req.initialText = name;
        req.maxLength = 255;  // what the settings file keeps
        ValueAnswer answer;
        if (AskValue(s, req, answer) != kInputConfirmed) return false;
        name = Trim(answer.text);
        if (name.empty()) return false;

        // The frame format a port choice sets: 8 data bits, no parity, 1 stop bit.
        PortSettings ps;
        ps.portName = name;
        ps.baud = static_cast<int>(ParseNumber(s.settings.BaudRate));
        const int error = probe(ps);
        if (error == 0) {
            ChoosePort(s, name);
            return true;
        }
        std::string title, text;
        if (!PortErrorMessage(s, error, name, title, text)) {
            title = GetText(s, kErrorTitle);
            text = GetText(s, kUnexpectedErrorText) + " " + std::to_string(error) + "\r" + ErrorDescription(error);
        }
        s.ui->MessageBox(title, text, MsgButtons::Ok, MsgIcon::Critical);
    }
}

std::string TraceFilePath(const Session& s) {
    return JoinPath(FolderOf(SettingsFilePath(s)), std::string(s.main.Shell.ApplicationTitle) + "-trace.txt");
}

bool SwitchTrace(Session& s, bool on) {
    const std::string title = GetText(s, kTraceTitle);
    if (!on) {
        const std::string path = s.link.TraceFile;
        s.link.TraceFile.clear();
        if (!path.empty())
            s.ui->MessageBox(title, GetText(s, kTraceOffText) + "\r" + path, MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    const std::string path = TraceFilePath(s);
    // The trace is added to what the file holds: an earlier trace may be
    // the one that somebody still needs.
    std::ofstream probe(path, std::ios::app | std::ios::binary);
    if (!probe) {
        s.ui->MessageBox(title, GetText(s, kTraceUnwritableText) + "\r" + path, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    s.link.TraceFile = path;
    s.ui->MessageBox(title, GetText(s, kTraceOnText) + "\r" + path, MsgButtons::Ok, MsgIcon::Information);
    return true;
}

bool TraceOn(const LinkState& link) { return !link.TraceFile.empty(); }

}  // namespace cfg
