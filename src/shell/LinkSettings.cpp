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
        title = GetText(s, 1391);
        before = GetText(s, 1389);
        after = GetText(s, 1390);
        break;
    case err::kPortAlreadyOpen:
        title = GetText(s, 1394);
        before = GetText(s, 1392);
        after = GetText(s, 1393);
        break;
    case err::kNotSerialPort:
        title = GetText(s, 1391);
        before = GetText(s, 1389);
        after = GetText(s, 1527);
        break;
    case err::kBadNetworkAddress:
        title = GetText(s, 1960);
        before = GetText(s, 1961);
        after = GetText(s, 1962);
        break;
    case err::kConnectionFailed:
        title = GetText(s, 1960);
        before = GetText(s, 1963);
        after = GetText(s, 1964);
        break;
    case err::kConnectionLost:
        title = GetText(s, 1960);
        before = GetText(s, 1965);
        after = GetText(s, 1966);
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
        req.title = GetText(s, 1967);
        req.prompt = GetText(s, 1968);
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
            title = GetText(s, 1396);
            text = GetText(s, 1395) + " " + std::to_string(error) + "\r" + ErrorDescription(error);
        }
        s.ui->MessageBox(title, text, MsgButtons::Ok, MsgIcon::Critical);
    }
}

std::string TraceFilePath(const Session& s) {
    return JoinPath(FolderOf(SettingsFilePath(s)), std::string(s.main.Shell.ApplicationTitle) + "-trace.txt");
}

bool SwitchTrace(Session& s, bool on) {
    const std::string title = GetText(s, 1969);
    if (!on) {
        const std::string path = s.link.TraceFile;
        s.link.TraceFile.clear();
        if (!path.empty())
            s.ui->MessageBox(title, GetText(s, 1971) + "\r" + path, MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    const std::string path = TraceFilePath(s);
    // The trace is added to what the file holds: an earlier trace may be
    // the one that somebody still needs.
    std::ofstream probe(path, std::ios::app | std::ios::binary);
    if (!probe) {
        s.ui->MessageBox(title, GetText(s, 1972) + "\r" + path, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    s.link.TraceFile = path;
    s.ui->MessageBox(title, GetText(s, 1970) + "\r" + path, MsgButtons::Ok, MsgIcon::Information);
    return true;
}

bool TraceOn(const LinkState& link) { return !link.TraceFile.empty(); }

}  // namespace cfg
