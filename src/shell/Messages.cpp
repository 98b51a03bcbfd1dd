#include "Messages.h"

#include "Language.h"
#include "RuntimeError.h"

namespace cfg {

namespace {

// Texts.
constexpr int kWarningTitle = 1378;
constexpr int kNotConnectedText = 1281;
constexpr int kOpenFromPanelHint = 1282;
constexpr int kFileErrorTitle = 1254;
constexpr int kFileNotFoundText = 1244;
constexpr int kFileAlreadyOpenText = 1245;
constexpr int kFileExistsText = 1246;
constexpr int kDiskFullText = 1247;
constexpr int kBadFileNameText = 1248;
constexpr int kAccessDeniedText = 1249;
constexpr int kDriveNotReadyText = 1250;
constexpr int kDriveNotReadyHint = 1251;
constexpr int kFileAccessErrorText = 1252;
constexpr int kErrorCodeText = 1253;
constexpr int kFileTooShortText = 1533;

}  // namespace

void ShowAlert(Session& s, const std::string& first, const std::string& second) {
    s.ui->MessageBox(GetText(s, kWarningTitle), first + "\r" + second, MsgButtons::Ok, MsgIcon::Critical);
}

void ShowNotConnected(Session& s) { ShowAlert(s, GetText(s, kNotConnectedText), GetText(s, kOpenFromPanelHint)); }

void ShowInfo(Session& s, const std::string& title, const std::string& message) {
    s.ui->MessageBox(title, message, MsgButtons::Ok, MsgIcon::Information);
}

int ReportFileError(Session& s) {
    long n = s.link.LastErrorNumber;
    std::string text;
    int handled = 1;
    switch (n) {
    case err::kBadFileNameOrNumber:
    case err::kPathFileAccess:
    case err::kPathNotFound: text = GetText(s, kBadFileNameText); break;
    case err::kFileNotFound: text = GetText(s, kFileNotFoundText); break;
    case err::kFileAlreadyOpen: text = GetText(s, kFileAlreadyOpenText); break;
    case err::kFileExists: text = GetText(s, kFileExistsText); break;
    case err::kDiskFull: text = GetText(s, kDiskFullText); handled = 0; break;
    case err::kPermissionDenied: text = GetText(s, kAccessDeniedText); break;
    case err::kDiskNotReady: text = GetText(s, kDriveNotReadyText) + GetText(s, kDriveNotReadyHint); break;
    case err::kInputPastEnd:  // a file shorter than its kind
        text = GetText(s, kFileAccessErrorText) + "\r" + GetText(s, kFileTooShortText) + "\r" +
               GetText(s, kErrorCodeText) + " " + std::to_string(n);
        handled = 0;
        break;
    default:
        text = GetText(s, kFileAccessErrorText) + "\r" + GetText(s, kErrorCodeText) + " " + std::to_string(n);
        handled = 0;
        break;
    }
    s.ui->MessageBox(GetText(s, kFileErrorTitle), text, MsgButtons::Ok, MsgIcon::Critical);
    return handled;
}

}  // namespace cfg
