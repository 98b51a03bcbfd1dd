#include "Messages.h"

#include "Language.h"

namespace cfg {

void ShowAlert(Session& s, const std::string& first, const std::string& second) {
    s.ui->MessageBox(GetText(s, 1378), first + "\r" + second, MsgButtons::Ok, MsgIcon::Critical);
}

void ShowNotConnected(Session& s) { ShowAlert(s, GetText(s, 1281), GetText(s, 1282)); }

void ShowInfo(Session& s, const std::string& title, const std::string& message) {
    s.ui->MessageBox(title, message, MsgButtons::Ok, MsgIcon::Information);
}

int ReportFileError(Session& s) {
    long n = s.link.LastErrorNumber;
    std::string text;
    int handled = 1;
    switch (n) {
    case 52:
    case 75:
    case 76: text = GetText(s, 1248); break;
    case 53: text = GetText(s, 1244); break;
    case 55: text = GetText(s, 1245); break;
    case 58: text = GetText(s, 1246); break;
    case 61: text = GetText(s, 1247); handled = 0; break;
    case 70: text = GetText(s, 1249); break;
    case 71: text = GetText(s, 1250) + GetText(s, 1251); break;
    case 62:  // input past the end: a file shorter than its kind
        text = GetText(s, 1252) + "\r" + GetText(s, 1533) + "\r" + GetText(s, 1253) + " " + std::to_string(n);
        handled = 0;
        break;
    default:
        text = GetText(s, 1252) + "\r" + GetText(s, 1253) + " " + std::to_string(n);
        handled = 0;
        break;
    }
    s.ui->MessageBox(GetText(s, 1254), text, MsgButtons::Ok, MsgIcon::Critical);
    return handled;
}

}  // namespace cfg
