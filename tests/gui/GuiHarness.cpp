#include "GuiHarness.h"

#include "app/core/Wiring.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>
#include <fstream>

#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "gui/WorkForm.h"
#include "loops/LoopSection.h"
#include "shell/Session.h"

namespace cfg::gui::test {

// --- Script -------------------------------------------------------------------

Script::Script(int stepTimeoutMs) : stepTimeoutMs_(stepTimeoutMs) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &Script::Poll);
    timer_.start();
}

Script& Script::Then(const QString& what, std::function<bool()> ready, std::function<void()> act) {
    if (steps_.empty()) stepStarted_ = QDateTime::currentMSecsSinceEpoch();
    steps_.push_back({what, std::move(ready), std::move(act)});
    return *this;
}

void Script::Poll() {
    if (running_) return;
    if (failed_) {
        // Keep unwinding: a closed dialog may be followed by another.
        if (onFailure) onFailure();
        return;
    }
    if (steps_.empty()) return;
    if (QDateTime::currentMSecsSinceEpoch() - stepStarted_ > stepTimeoutMs_) {
        failed_ = true;
        failedStep_ = steps_.front().what;
        std::fprintf(stderr, "script step timed out: %s\n", qPrintable(failedStep_));
        // What a person would have seen instead.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                std::fprintf(stderr, "  open window: %s %s \"%s\"%s\n", w->metaObject()->className(),
                             qPrintable(w->objectName()), qPrintable(w->windowTitle()), w->isModal() ? " (modal)" : "");
        steps_.clear();
        if (onFailure) onFailure();
        return;
    }
    if (!steps_.front().ready()) return;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    running_ = true;
    step.act();
    running_ = false;
    stepStarted_ = QDateTime::currentMSecsSinceEpoch();
}

// --- ProgramFolder ------------------------------------------------------------

ProgramFolder::ProgramFolder() : previous_(QDir::currentPath()) { dir_.setAutoRemove(true); }

// The program makes its folder of file sets the current one; a folder that
// is current cannot be removed on Windows.
ProgramFolder::~ProgramFolder() { QDir::setCurrent(previous_); }

std::string ProgramFolder::Path() const { return dir_.path().toStdString(); }

std::string ProgramFolder::File(const std::string& name) const {
    return QDir(dir_.path()).filePath(QString::fromStdString(name)).toStdString();
}

void ProgramFolder::WriteLanguage(const std::string& name, const std::string& prefix, const std::string& forms) {
    std::ofstream out(File(name + ".lng"), std::ios::binary);
    out << "[Strings]\n";
    char buf[64];
    for (int i = 1; i <= 2000; ++i) {
        std::snprintf(buf, sizeof buf, "%04d=%s%04d\n", i, prefix.c_str(), i);
        out << buf;
    }
    out << forms;
}

void ProgramFolder::WriteSettings(const std::string& language, const std::string& plantCode) {
    std::ofstream out(File("CFG-Veltrano.ini"), std::ios::binary);
    out << "[startup]\nSerial=COM1\nBaud=9600\nNbit=8\nParity=N\nStopb=1\nCodimp=" << plantCode
        << "\n[Language]\nCurrentLanguage=" << language << "\n";
}

void ProgramFolder::CopyDefaultSet(const std::string& base) {
    for (const char* ext : {".CY2", ".PY2", ".UY2", ".MY2"}) {
        const QString from = QStringLiteral(CFG_SOURCE_DIR "/data/DEFAULT") + QLatin1String(ext);
        const QString to = QString::fromStdString(File(base)) + QLatin1String(ext);
        QFile::remove(to);
        QFile::copy(from, to);
        QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
}

// --- GuiProgram ------------------------------------------------------------------

GuiProgram::GuiProgram(ProgramFolder& folder, Transport* transport) {
    ProgramOptions options;
    options.folder = folder.Path();
    options.splash = false;
    options.singleInstance = false;
    options.transport = transport;
    options.wire = RegisterCoreCommands;
    program_ = std::make_unique<Program>(options);
    program_->Start();
}

GuiProgram::~GuiProgram() {
    // Nothing may stay modal for the next test.
    while (QWidget* m = Modal()) {
        if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
        else m->close();
        QApplication::processEvents();
    }
}

Session& GuiProgram::session() { return program_->session(); }
MainWindow& GuiProgram::window() { return program_->window(); }

std::function<void()> GuiProgram::Unwinder() {
    Session* s = &session();
    return [s] {
        if (QWidget* m = Modal()) {
            if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
            else m->close();
        }
        s->events.ExitRequested = true;
        s->events.AbortRequested = true;
        // A wait for a loop-module button ends only with a button: End.
        s->main.PostCommand({.diagnostic = loopview::kEnd});
    };
}

bool GuiProgram::RunUntil(const std::function<bool()>& done, Script* script, int guardMs) {
    if (script && !script->onFailure) script->onFailure = Unwinder();
    QElapsedTimer guard;
    guard.start();
    for (;;) {
        if (script && script->Failed()) return false;
        if (done() && (!script || script->Done())) return true;
        if (guard.elapsed() > guardMs) {
            std::fprintf(stderr, "RunUntil: guard ran out (state %d)\n", session().main.MainState);
            return false;
        }
        program_->Turn();
    }
}

// --- helpers ------------------------------------------------------------------------

QWidget* Modal() {
    if (QWidget* m = QApplication::activeModalWidget()) return m;
    // The offscreen platform on Windows may not report a modal window that
    // was never activated: then the visible modal window is the one.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isModal()) return w;
    return nullptr;
}

QWidget* ModalNamed(const char* name) {
    QWidget* m = Modal();
    return m && m->objectName() == QLatin1String(name) ? m : nullptr;
}

bool ModalIs(const char* name) { return ModalNamed(name) != nullptr; }

void ClickToolbar(MainWindow& w, const char* key) {
    QAction* a = w.ToolbarButtonByKey(QString::fromLatin1(key));
    QWidget* button = a ? w.toolbar1()->widgetForAction(a) : nullptr;
    if (!button) button = a ? w.toolbar2()->widgetForAction(a) : nullptr;
    if (button) QTest::mouseClick(button, Qt::LeftButton);
}

bool PopupOpen(MainWindow& w, int button) {
    QMenu* m = w.PopupMenu(button);
    return m && m->isVisible();
}

void ChoosePopup(MainWindow& w, int button, int index) {
    QMenu* m = w.PopupMenu(button);
    QAction* a = w.PopupEntry(button, index);
    if (m) m->hide();
    if (a && a->isEnabled()) a->trigger();
}

int FileByte(const std::string& path, long offset) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return -1;
    in.seekg(offset);
    char c = 0;
    if (!in.get(c)) return -1;
    return static_cast<unsigned char>(c);
}

bool EditScreenShowing(GuiProgram& p) {
    return p.window().workForm()->EditScreenVisible() && p.window().workForm()->list()->count() > 0;
}

bool ConfigOpen(GuiProgram& p) { return p.session().main.MainState == 4 && p.session().config.ConfigSource != ConfigSource::None; }

bool Home(GuiProgram& p) { return p.session().main.MainState == 2 && p.session().config.ConfigSource == ConfigSource::None; }

void AnswerOpenFile(Script& script, const std::string& path) {
    script.Then("open-file dialog", [] { return ModalAs<QFileDialog>() != nullptr; },
                [path] {
                    auto* d = ModalAs<QFileDialog>();
                    d->selectFile(QString::fromStdString(path));
                    static_cast<QDialog*>(d)->accept();
                });
}

void AnswerMessage(Script& script, const QString& what, QMessageBox::StandardButton button) {
    script.Then(what, [] { return ModalAs<QMessageBox>() != nullptr; },
                [button] {
                    auto* box = ModalAs<QMessageBox>();
                    if (QAbstractButton* b = box->button(button)) b->click();
                    else box->reject();
                });
}

void OpenFromFile(Script& script, MainWindow& w, const std::string& path) {
    script.Do("click apre", [&w] { ClickToolbar(w, "apre"); })
        .Then("open popup", [&w] { return PopupOpen(w, 3); }, [&w] { ChoosePopup(w, 3, 0); });
    AnswerOpenFile(script, path);
}

bool OpenFileSet(GuiProgram& p, const std::string& path) {
    Script open;
    OpenFromFile(open, p.window(), path);
    return p.RunUntil([&p] { return ConfigOpen(p); }, &open);
}

void OpenFromPanel(Script& script, MainWindow& w, const QString& address) {
    script.Do("click apre", [&w] { ClickToolbar(w, "apre"); })
        .Then("open popup", [&w] { return PopupOpen(w, 3); }, [&w] { ChoosePopup(w, 3, 2); })
        .Then("panel address", [] { return ModalIs("FRMInput"); },
              [address] {
                  auto* box = ModalChild<QLineEdit>("TXTNumero");
                  if (!address.isEmpty()) {
                      box->selectAll();
                      QTest::keyClicks(box, address);
                  }
                  QTest::keyClick(box, Qt::Key_Return);
              });
}

PanelBench::PanelBench() {
    folder.WriteLanguage("Test");
    folder.WriteSettings("Test", "11");
    panel.Panel().LoadSample();
}

vimo::sim::PanelSettings PanelBench::Settings() {
    vimo::sim::PanelSettings ps;
    ps.address = 1;
    ps.plantCode = 11;
    return ps;
}

}  // namespace cfg::gui::test
