#include "ScriptedUi.h"

#include <fstream>

namespace cfg::test {

void ScriptedUi::AnswerNumber(double v) {
    ValueAnswer a;
    a.confirmed = true;
    a.number = v;
    a.text = std::to_string(static_cast<long long>(v));
    valueAnswers.push_back(a);
}

void ScriptedUi::AnswerText(const std::string& t) {
    ValueAnswer a;
    a.confirmed = true;
    a.text = t;
    valueAnswers.push_back(a);
}

void ScriptedUi::AnswerIndex(int i) {
    ValueAnswer a;
    a.confirmed = true;
    a.index = i;
    valueAnswers.push_back(a);
}

void ScriptedUi::Cancel() { valueAnswers.push_back(ValueAnswer{}); }

std::string ScriptedUi::AllMessages() const {
    std::string all;
    for (const auto& m : messages) all += m.title + ":" + m.text + "|";
    return all;
}

bool ScriptedUi::Showed(const std::string& fragment) const {
    return AllMessages().find(fragment) != std::string::npos;
}

void ScriptedUi::ProcessEvents() {
    ++processEventsCalls;
    if (!events.empty()) {
        auto e = std::move(events.front());
        events.pop_front();
        if (e) e();
    }
    if (onProcessEvents) onProcessEvents();
}

MsgAnswer ScriptedUi::MessageBox(const std::string& title, const std::string& text, MsgButtons b,
                                 MsgIcon icon) {
    messages.push_back({title, text, b, icon});
    if (!messageAnswers.empty()) {
        MsgAnswer a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    switch (b) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

ValueAnswer ScriptedUi::ShowValueDialog(const ValueRequest& r) {
    valueRequests.push_back(r);
    if (valueAnswers.empty()) return {};
    ValueAnswer a = valueAnswers.front();
    valueAnswers.pop_front();
    return a;
}

int ScriptedUi::AskChoice(const ChoiceRequest& r) {
    choiceRequests.push_back(r);
    if (choiceAnswers.empty()) return -1;
    int a = choiceAnswers.front();
    choiceAnswers.pop_front();
    return a;
}

std::string ScriptedUi::AskOpenFile(const FileDialogRequest& r) {
    fileRequests.push_back(r);
    if (openFileAnswers.empty()) return {};
    auto a = openFileAnswers.front();
    openFileAnswers.pop_front();
    return a;
}

std::string ScriptedUi::AskSaveFile(const FileDialogRequest& r) {
    fileRequests.push_back(r);
    if (saveFileAnswers.empty()) return {};
    auto a = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return a;
}

CopyDialogAnswer ScriptedUi::AskCopyFiles(const CopyDialogRequest& r) {
    copyRequests.push_back(r);
    if (copyAnswers.empty()) return {};
    auto a = copyAnswers.front();
    copyAnswers.pop_front();
    return a;
}

MessageAnswer ScriptedUi::AskMessage(const MessageRequest& r) {
    messageRequests.push_back(r);
    if (messageInputAnswers.empty()) return {};
    auto a = messageInputAnswers.front();
    messageInputAnswers.pop_front();
    return a;
}

bool ScriptedUi::AskDateTime(const std::string&, DateTimeFields& f, int focus) {
    dateTimeFocus.push_back(focus);
    if (dateTimeAnswers.empty()) return false;
    auto a = dateTimeAnswers.front();
    dateTimeAnswers.pop_front();
    if (a.first) f = a.second;
    return a.first;
}

void ScriptedUi::SetStatusText(const std::string& t) {
    statusText = t;
    statusHistory.push_back(t);
}

LogicCommand ScriptedUi::WaitLogicCommand() {
    ProcessEvents();
    if (logicCommands.empty()) return {};
    LogicCommand c = logicCommands.front();
    logicCommands.pop_front();
    return c;
}

LogicSettingsAnswer ScriptedUi::AskLogicSettings(const LogicSettingsRequest& r) {
    logicSettingsRequests.push_back(r);
    if (logicSettingsAnswers.empty()) return {};
    LogicSettingsAnswer a = logicSettingsAnswers.front();
    logicSettingsAnswers.pop_front();
    return a;
}

LogicConditionAnswer ScriptedUi::AskLogicCondition(const LogicConditionRequest& r) {
    logicConditionRequests.push_back(r);
    if (logicConditionAnswers.empty()) return {};
    LogicConditionAnswer a = logicConditionAnswers.front();
    logicConditionAnswers.pop_front();
    return a;
}

LoopListInput ScriptedUi::TakeLoopListInput() {
    if (loopListInputs.empty()) return {};
    LoopListInput in = loopListInputs.front();
    loopListInputs.pop_front();
    return in;
}

WalkTestInput ScriptedUi::TakeWalkTestInput() {
    WalkTestInput in;
    if (walkInputs.empty()) {
        in.closed = true;
        return in;
    }
    in = walkInputs.front();
    walkInputs.pop_front();
    return in;
}

bool ScriptedUi::WriteReportPdf(const std::string& path, const ReportPrintJob& job) {
    if (!pdfWritable) return false;
    pdfWrites.emplace_back(path, job);
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : job.lines) out << line << '\n';
    return static_cast<bool>(out);
}

std::string ScriptedUi::ColorTag(ScreenColor c) {
    switch (c) {
    case ScreenColor::Red: return "{red}";
    case ScreenColor::Green: return "{green}";
    case ScreenColor::Default: return "";
    default: return "{other}";
    }
}

int ScriptedUi::AskSensorInput(const SensorInputRequest& r) {
    sensorInputRequests.push_back(r);
    if (sensorInputAnswers.empty()) return kSensorInputCancelled;
    int a = sensorInputAnswers.front();
    sensorInputAnswers.pop_front();
    return a;
}

}  // namespace cfg::test
