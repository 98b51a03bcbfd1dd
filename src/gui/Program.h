// The desktop program: start-up (single instance, main window, splash,
// program folder, relay arguments, settings, language) and the main loop,
// which runs until the user closes the main window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/Clock.h"

namespace cfg {
struct Session;
class Transport;
}  // namespace cfg

namespace cfg::gui {

class MainWindow;
class QtUi;
class SingleInstance;

struct ProgramOptions {
    std::string folder;       // the program folder ("" = the executable's folder)
    std::string commandLine;  // the remaining arguments joined by "/" (relay: "TW")
    bool demo = false;        // shown in the title: a simulated panel answers
    bool splash = true;
    double splashSeconds = 2;
    bool singleInstance = true;
    // Any transport the caller owns (tests); overrides the port of the settings.
    Transport* transport = nullptr;
    // Plugs the core's commands and sections into the new session; called
    // once, before start-up.
    std::function<void(Session&)> wire;
    // Called once the settings are loaded: a transport owned by the caller
    // (the demo panel), or nullptr for the serial port.
    std::function<Transport*(Session&, Clock&)> makeTransport;
};

class Program {
public:
    explicit Program(ProgramOptions);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Start-up. Returns false when an earlier copy of the program runs for
    // the same folder: it has been asked to come forward, and this copy
    // should end.
    bool Start();
    // Runs the main loop until the main window is closed, then releases the
    // panel. Returns the process exit code.
    int Run();
    // One turn of the main loop and its yield (tests drive the program so).
    // Throws ProgramEnd once the window was closed.
    void Turn();
    // What closing the main window does once the loop has unwound: leave
    // programming mode when a panel is open, close the port.
    void End();

    Session& session();
    QtUi& ui();
    MainWindow& window();
    Clock& clock() { return clock_; }

private:
    void CreateTransport();

    ProgramOptions options_;
    SystemClock clock_;
    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Transport> port_;  // the port of the settings: serial or tcp://
    std::unique_ptr<SingleInstance> instance_;
};

}  // namespace cfg::gui
