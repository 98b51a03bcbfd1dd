// Driving the desktop program in a test: a program folder of its own, the
// program started without splash, and a script of steps that run while the
// core waits (each step waits for its condition: a dialog open, a list
// filled, ...), since the core's waits run the Qt event loop.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "gui/Program.h"
#include "shell/Clock.h"
#include "sim/loopback/LoopbackTransport.h"

class QAction;
class QWidget;

namespace cfg::gui {
class MainWindow;
}

namespace cfg::gui::test {

class Script : public QObject {
    Q_OBJECT
public:
    // The script fails when a step waits longer than this (a guard, never an
    // assertion about time).
    explicit Script(int stepTimeoutMs = 20000);

    Script& Then(const QString& what, std::function<bool()> ready, std::function<void()> act);
    Script& Do(const QString& what, std::function<void()> act) { return Then(what, [] { return true; }, std::move(act)); }
    // Runs when the script fails: should unwind whatever waits.
    std::function<void()> onFailure;

    bool Done() const { return steps_.empty(); }
    bool Failed() const { return failed_; }
    const QString& FailedStep() const { return failedStep_; }

private:
    void Poll();

    struct Step {
        QString what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::deque<Step> steps_;
    QTimer timer_;
    int stepTimeoutMs_;
    qint64 stepStarted_ = 0;
    bool running_ = false;
    bool failed_ = false;
    QString failedStep_;
};

// A program folder with a language file whose texts are their own ids (and
// optional form sections), the settings and the DEFAULT set.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    std::string Path() const;
    std::string File(const std::string& name) const;
    // "[Strings]" ids 1..2000 with `prefix` + the id; `forms` is appended
    // as is (form sections).
    void WriteLanguage(const std::string& name, const std::string& prefix = "", const std::string& forms = "");
    void WriteSettings(const std::string& language, const std::string& plantCode = "11");
    // Copies DEFAULT.CY2/PY2/UY2/MY2 of the source tree under `base`.
    void CopyDefaultSet(const std::string& base);

private:
    QString previous_;
    QTemporaryDir dir_;
};

// The started program on a folder.
struct GuiProgram {
    explicit GuiProgram(ProgramFolder&, Transport* transport = nullptr);
    ~GuiProgram();
    Program& program() { return *program_; }
    Session& session();
    MainWindow& window();
    // Runs main-loop turns until `done` holds and the script has finished;
    // false when the script failed or the guard ran out.
    bool RunUntil(const std::function<bool()>& done, Script* script = nullptr, int guardMs = 60000);
    // The failure callback that unwinds a stuck wait: dialogs are closed and
    // the editor and the link are told to stop.
    std::function<void()> Unwinder();

    std::unique_ptr<Program> program_;
};

// --- small helpers --------------------------------------------------------

QWidget* Modal();
// The active modal dialog when its objectName is `name`.
QWidget* ModalNamed(const char* name);
bool ModalIs(const char* name);
template <typename T>
T* ModalAs() {
    return qobject_cast<T*>(Modal());
}
// Clicks the Toolbar1 button with this key as a user would.
void ClickToolbar(MainWindow&, const char* key);
// Chooses entry `index` of the open popup of button `button`.
bool PopupOpen(MainWindow&, int button);
void ChoosePopup(MainWindow&, int button, int index);
// A child of the active modal dialog by objectName.
template <typename T>
T* ModalChild(const char* name) {
    QWidget* m = Modal();
    return m ? m->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}
// Byte `offset` of a file (or -1).
int FileByte(const std::string& path, long offset);

// --- flows shared by the program-level tests ------------------------------

// The editing screen shows a filled list.
bool EditScreenShowing(GuiProgram&);
// The main loop waits for a section command with a configuration open.
bool ConfigOpen(GuiProgram&);
// The home screen: nothing open.
bool Home(GuiProgram&);
// Accepts the open-file dialog with `path`.
void AnswerOpenFile(Script&, const std::string& path);
// Presses a button of the message box that is showing (or closes it).
void AnswerMessage(Script&, const QString& what, QMessageBox::StandardButton);
// apre -> from a file set -> the set at `path`.
void OpenFromFile(Script&, MainWindow&, const std::string& path);
// Opens the set at `path` through apre and waits until it is open.
bool OpenFileSet(GuiProgram&, const std::string& path);
// apre -> from the panel -> the address dialog answered with `address`
// ("" keeps the one offered).
void OpenFromPanel(Script&, MainWindow&, const QString& address = QString());

// A program folder ("Test" language, plant code 11) and the in-process
// panel: address 1, plant code 11, the sample plant.
struct PanelBench {
    ProgramFolder folder;
    SystemClock clock;
    LoopbackTransport panel{clock, Settings()};
    PanelBench();
    static vimo::sim::PanelSettings Settings();
};

}  // namespace cfg::gui::test
