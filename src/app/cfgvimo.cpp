// cfgvimo: the desktop program.
//
//   cfgvimo [--folder DIR] [--demo] [--no-splash] [RELAY ARGUMENTS]
//
// --folder DIR   the program folder (settings, language files, DEFAULT set,
//                relay files); default: the folder of the executable
// --demo         a simulated panel with a sample plant instead of the serial
//                port, to try the program without hardware
// --no-splash    start without the two-second picture
// Other arguments are the relay program's, "/"-separated ("TW" selects the
// file link mode).
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include <memory>

#include "app/DemoPanel.h"
#include "app/core/Wiring.h"
#include "gui/Program.h"
#include "shell/MainLoop.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CFG-Veltrano"));
    QApplication::setApplicationVersion(QString::fromLatin1(cfg::kProgramVersion));

    cfg::gui::ProgramOptions options;
    QStringList relay;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--folder") && i + 1 < args.size()) {
            options.folder = args[++i].toStdString();
        } else if (a == QLatin1String("--demo")) {
            options.demo = true;
        } else if (a == QLatin1String("--no-splash")) {
            options.splash = false;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::printf("usage: cfgvimo [--folder DIR] [--demo] [--no-splash] [relay arguments]\n");
            return 0;
        } else if (a == QLatin1String("--version")) {
            std::printf("%s %s\n", cfg::kProgramName, cfg::kProgramVersion);
            return 0;
        } else {
            relay << a.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        }
    }
    options.commandLine = relay.join(QLatin1Char('/')).toStdString();

    // The composition root: the core's commands and, in demo mode, the
    // simulated panel in place of the serial port.
    std::unique_ptr<cfg::LoopbackTransport> demo;
    options.wire = cfg::RegisterCoreCommands;
    if (options.demo)
        options.makeTransport = [&demo](cfg::Session& s, cfg::Clock& clock) -> cfg::Transport* {
            demo = cfg::MakeDemoPanel(s, clock);
            return demo.get();
        };

    cfg::gui::Program program(options);
    if (!program.Start()) return 0;  // the running copy came forward
    return program.Run();
}
