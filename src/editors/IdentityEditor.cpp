#include "IdentityEditor.h"

#include <string>
#include <vector>

#include "transfer/SectionBlocks.h"
#include "transfer/Commands.h"
#include "transfer/DateStamp.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "shell/FileNames.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Settings.h"
#include "shell/Text.h"

namespace cfg {

namespace {

constexpr int kTitleText = kIdentityTitleText;
constexpr int kLabelColumn = 3;
constexpr int kValueColumn = 36;   // labels are dotted up to the column before
constexpr int kPanelByteZero = 4096;  // compared with 86 before a parameter is written
constexpr int kRewritingPanels = 86;  // from this value on the panel rewrites them on a send
constexpr long kDivisorAddress = 193;
constexpr int kBaudCodes = 4;

// Texts.
constexpr int kSpeedNames = 1076;        // 1076..1079: baud codes 1..4
constexpr int kInvalidValue = 1080;
constexpr int kNameTitle = 544, kNameHint = 542, kNameWhere = 543, kNamePrompt = 545;
constexpr int kAddressTitle = 547, kAddressHint = 548, kAddressPrompt = 552;
constexpr int kPlantCodeTitle = 553, kPlantCodeHint = 554, kPlantCodePrompt = 558;
constexpr int kReadingParameters = 1276;
constexpr int kSendRewrites = 559, kSendRewritesHint = 560;
constexpr int kSpeedBusy = 1277, kSpeedBusyHint = 1278;
constexpr int kSpeedRemote = 1412, kSpeedRemoteHint = 1413;
constexpr int kSpeedTitle = 561, kSpeedPrompt = 562;
constexpr int kSpeedChoices = 563, kLastSpeedChoice = 566;  // 9600 .. 1200 baud
constexpr int kNameHeading = 1068;
constexpr int kParametersHeading = 1069, kParametersNote = 1070;
constexpr int kAddressLabel = 1071, kPlantCodeLabel = 1072;
constexpr int kSpeedLabel = 1074, kFixedSpeedLabel = 1075;

// The rates of baud codes 1..4 and the panel's divisor for each.
constexpr int kRateDivisor[kBaudCodes + 1] = {0, 12, 24, 48, 96};

enum Field : int16_t { kName = 1, kLinkNumber = 2, kBaud = 3 };
enum LinkNumber : int16_t { kAddress = 1, kPlantCode = 2 };

std::string Dotted(const Texts& s, int label) {
    std::string text = GetText(s, label) + " ";
    int width = kValueColumn - kLabelColumn - 1;
    int length = static_cast<int>(Utf8Length(text));
    if (length < width) text.append(static_cast<std::size_t>(width - length), '.');
    return text;
}

std::string BaudText(const Texts& s, int code) {
    return GetText(s, code >= 1 && code <= kBaudCodes ? kSpeedNames - 1 + code : kInvalidValue);
}

std::string JoinedTexts(Session& s, int first, int last) {
    std::string text;
    for (int id = first; id <= last; ++id) text += (text.empty() ? "" : "\n") + GetText(s, id);
    return text;
}

void Rebuild(Session& s, int line) {
    BuildIdentityScreen(s);
    RefreshScreen(s);
    if (line > 0) SelectScreenLine(s, line);
}

bool EditName(Session& s) {
    ValueRequest request;
    request.kind = 2;
    request.title = GetText(s, kNameTitle);
    request.prompt = GetText(s, kNameHint) + "\n" + GetText(s, kNameWhere) + "\n\n" + GetText(s, kNamePrompt);
    request.initialText = Trim(s.config.InstallationName);
    request.maxLength = kInstallationNameLength;
    ValueAnswer answer;
    if (AskValue(s, request, answer) != kInputConfirmed) return false;

    const std::string latin1 = Utf8ToLatin1(Utf8PadRight(answer.text, kInstallationNameLength));
    std::vector<Cell> bytes;
    for (char c : latin1) bytes.push_back(static_cast<Cell>(static_cast<unsigned char>(c)));
    if (!WriteSectionBytes(s, kInstallationNameOffset, bytes)) return false;
    s.config.InstallationName = Latin1ToUtf8(latin1);
    // The main window's identification, read back from where it now lives.
    // A read that fails has been reported; the name was written all the same.
    static_cast<void>(RefreshConfigView(s));
    return true;
}

// Writes one byte of the link parameters without waiting for the panel's
// answer: the panel answers with the new values already.
bool WriteParameterByte(Session& s, int offset, int value) {
    s.config.TransferBuffer[1] = static_cast<Cell>(value);
    if (!WritePanelBlock(s, kPanelByteZero + offset, 1, false, 1, s.config.TransferBuffer).Done()) return false;
    s.config.ConfigImage[offset] = static_cast<Cell>(value);
    return true;
}

bool EditLinkNumber(Session& s, int which) {
    if (s.config.ConfigSource != ConfigSource::Panel) return false;
    const bool address = which == kAddress;
    const int offset = kCommParamsOffset + (address ? 0 : 1);
    long value = 0;
    if (AskNumber(s, ValueTopic::Other, GetText(s, address ? kAddressTitle : kPlantCodeTitle), JoinedTexts(s, address ? kAddressHint : kPlantCodeHint, address ? kAddressPrompt : kPlantCodePrompt),
                  s.config.ConfigImage[offset], address ? kPanelAddressMin : kPlantCodeMin,
                  address ? kPanelAddressMax : kPlantCodeMax, value) != kInputConfirmed)
        return false;

    // A panel that rewrites its link parameters on every send keeps this
    // change only until the next one: say so, then write anyway.
    ShowBusy(s, GetText(s, kReadingParameters));
    const bool read = ReadPanelBlock(s, kPanelByteZero, 1, 1, s.config.TransferBuffer).Done();
    const int byteZero = s.config.TransferBuffer[1];
    EndBusy(s, 0);
    if (!read || byteZero >= kRewritingPanels) ShowAlert(s, GetText(s, kSendRewrites), GetText(s, kSendRewritesHint));

    if (!WriteParameterByte(s, offset, static_cast<int>(value))) return false;
    if (address) {
        s.link.PanelAddress = static_cast<int16_t>(value);
    } else if (s.settings.FileLinkMode) {
        s.settings.RelayPlantCode = std::to_string(value);
    } else {
        s.settings.PlantCode = std::to_string(value);
    }
    s.ui->SetSettingsLabel(SettingsCaption(s.settings));
    return true;
}

bool EditBaud(Session& s) {
    if (s.config.ConfigSource != ConfigSource::Panel) return false;
    if (PanelViewsOpen(s) >= 1) {
        ShowAlert(s, GetText(s, kSpeedBusy), GetText(s, kSpeedBusyHint));
        return false;
    }
    if (s.settings.FileLinkMode) {
        ShowAlert(s, GetText(s, kSpeedRemote), GetText(s, kSpeedRemoteHint));
        return false;
    }
    ValueRequest request;
    request.kind = 3;
    request.title = GetText(s, kSpeedTitle);
    request.prompt = GetText(s, kSpeedPrompt);
    for (int id = kSpeedChoices; id <= kLastSpeedChoice; ++id) request.items.push_back(GetText(s, id));
    const int current = s.config.ConfigImage[kCommParamsOffset + 2];
    request.initialIndex = current >= 1 && current <= kBaudCodes ? current - 1 : 0;
    ValueAnswer answer;
    if (AskValue(s, request, answer) != kInputConfirmed || answer.index < 0 || answer.index >= kBaudCodes) return false;
    const int code = answer.index + 1;

    if (!WriteParameterByte(s, kCommParamsOffset + 2, code)) return false;
    // The panel's serial rate divisor for the new rate: from the next byte on
    // the panel listens at that rate.
    s.config.TransferBuffer[1] = static_cast<Cell>(kRateDivisor[code]);
    if (!WritePanelBlock(s, kDivisorAddress, 1, false, 1, s.config.TransferBuffer).Done()) return false;

    // The rate is the first word of the entry's text ("9600 baud").
    s.settings.BaudRate = Trim(Utf8Left(request.items[static_cast<std::size_t>(answer.index)], 5));
    const OpResult reopened = OpenPanelPort(s);
    s.ui->SetSettingsLabel(SettingsCaption(s.settings));
    return reopened.Done();
}

}  // namespace

int PanelViewsOpen(Session& s) { return s.ui->ScreenOpen() ? 1 : 0; }

namespace {

std::string InstallationNameInImage(const ConfigState& c) {
    std::string latin1;
    for (int i = 0; i < kInstallationNameLength; ++i)
        latin1.push_back(static_cast<char>(c.ConfigImage[kInstallationNameOffset + i] & 0xFF));
    return Latin1ToUtf8(latin1);
}

}  // namespace

void BuildIdentityScreen(Session& s, PrintMode mode) {
    s.config.InstallationName = InstallationNameInImage(s.config);
    // Over the relay files the rate is the relay program's, not ours to change.
    RenderIdentity(PageOf(s), mode == PrintMode::Interactive && s.settings.FileLinkMode);
}

void RenderIdentity(const Page& s, bool fixedRate) {
    const auto& image = s.config.ConfigImage;
    ClearScreenLines(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kNameHeading));
    WriteScreenText(s, NewScreenLine(s, kName), kLabelColumn, InstallationNameInImage(s.config));
    NewScreenLine(s);
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kParametersHeading));
    WriteScreenText(s, NewScreenLine(s), 1, GetText(s, kParametersNote));
    int line = NewScreenLine(s, kLinkNumber, kAddress);
    WriteScreenText(s, line, kLabelColumn, Dotted(s.texts, kAddressLabel));
    WriteScreenText(s, line, kValueColumn, PadZeros(3, image[kCommParamsOffset]));
    line = NewScreenLine(s, kLinkNumber, kPlantCode);
    WriteScreenText(s, line, kLabelColumn, Dotted(s.texts, kPlantCodeLabel));
    WriteScreenText(s, line, kValueColumn, std::to_string(image[kCommParamsOffset + 1]));
    line = NewScreenLine(s, kBaud);
    WriteScreenText(s, line, kLabelColumn, Dotted(s.texts, fixedRate ? kFixedSpeedLabel : kSpeedLabel));
    WriteScreenText(s, line, kValueColumn, BaudText(s.texts, image[kCommParamsOffset + 2]));
}

bool EditIdentityLine(Session& s, int line) {
    LineDescriptor d = DescriptorOf(s.screen, line);
    bool written = false;
    switch (d.field) {
    case kName: written = EditName(s); break;
    case kLinkNumber: written = EditLinkNumber(s, d.value2); break;
    case kBaud: written = EditBaud(s); break;
    default: return false;
    }
    Rebuild(s, line);
    return written;
}

void IdentitySection(Session& s, PrintMode mode, int /*option*/) {
    if (!LoadSectionBlock(s, kInstallationNameOffset, kInstallationNameLength) ||
        !LoadSectionBlock(s, kCommParamsOffset, kCommParamLength)) {
        EndSection(s);
        return;
    }
    BuildIdentityScreen(s, mode);
    if (mode == PrintMode::LinesOnly) {
        EndSection(s);
        return;
    }
    ShowEditScreen(s, GetText(s, kTitleText));
    RefreshScreen(s);
    if (SelectedScreenLine(s) == 0) MoveToEditableLine(s, +1);
    RunEditLoop(s, [&s](int line) {
        if (EditIdentityLine(s, line) && !s.config.DateStamped) static_cast<void>(StampDate(s));
    });
    EndSection(s);
}

bool PrintIdentity(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintListSection({.blocks = {{kInstallationNameOffset, kInstallationNameLength},
                                        {kCommParamsOffset, kCommParamLength}},
                             .build = [](const Page& p, bool) { RenderIdentity(p, false); }},
                            set, texts, lines);
}

}  // namespace cfg
