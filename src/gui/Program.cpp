#include "Program.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

#include "MainWindow.h"
#include "QtUi.h"
#include "SingleInstance.h"
#include "link/Link.h"
#include "loops/LoopSection.h"
#include "shell/FileNames.h"
#include "shell/Folders.h"
#include "shell/MainLoop.h"
#include "shell/Session.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "shell/Text.h"

#include "platform/PortTransport.h"

namespace cfg::gui {

Program::Program(ProgramOptions options) : options_(std::move(options)) {
    ui_ = std::make_unique<QtUi>();
    session_ = std::make_unique<Session>(*ui_, clock_);
    // The executable's folder or the one chosen; the data, the settings file
    // and the file sets are found from there (an installed program keeps the
    // user's files in the user's folders).
    const std::string exeFolder = S(QCoreApplication::applicationDirPath());
    const std::string chosen = options_.folder.empty() ? std::string() : S(QDir(Q(options_.folder)).absolutePath());
    session_->settings.ProgramFolder = chosen.empty() ? exeFolder : chosen;
    const ProgramFolders folders =
        LocateFolders(exeFolder, chosen, FolderAcceptsFiles(exeFolder), ReadFolderEnvironment());
    if (folders.userFolders) {
        MakeFolders(folders.settings);
        MakeFolders(folders.files);
    }
    ApplyFolders(session_->settings, folders);
    // The window icon; the desktop entry of an installed copy carries the same.
    const std::string icon = ResolveExisting(JoinPath(folders.data, "cfg-veltrano.png"));
    if (!icon.empty()) QGuiApplication::setWindowIcon(QIcon(Q(icon)));
    QGuiApplication::setDesktopFileName(QStringLiteral("cfg-veltrano"));
    if (options_.wire) options_.wire(*session_);
    ui_->Attach(*session_);
    // The loop-module popup offers the modules the configuration has.
    ui_->readLoopModules = [](Session& s) {
        LoopContext c;
        // A directory that cannot be read offers no module.
        static_cast<void>(ReadModuleDirectory(s, c));
        return std::array<bool, 2>{c.present[1], c.present[2]};
    };
    ui_->SetDemoMode(options_.demo);
}

Program::~Program() {
    if (session_) session_->transport = nullptr;
}

Session& Program::session() { return *session_; }
QtUi& Program::ui() { return *ui_; }
MainWindow& Program::window() { return *ui_->mainWindow(); }

bool Program::Start() {
    Session& s = *session_;
    MainWindow& w = window();

    if (options_.singleInstance) {
        // One copy per settings file: per program folder, or per user when
        // the program is installed.
        instance_ = std::make_unique<SingleInstance>(Q(SettingsFolderOf(s.settings)));
        if (!instance_->Claim()) return false;
        instance_->onActivate = [&w] {
            w.showNormal();
            w.raise();
            w.activateWindow();
        };
    }

    try {
        // The main window, centred a little above the middle of the screen.
        const QSize size = w.FixedSize();
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect avail = screen->availableGeometry();
            const int top = std::max(0, (avail.height() - 20 - size.height()) / 2);
            const int left = std::max(0, (avail.width() - size.width()) / 2);
            w.move(avail.left() + left, avail.top() + top);
        }

        // The work form: languages, settings, the chosen language's texts,
        // before the window shows its captions.
        ui_->FillLanguageMenu();
        ui_->TranslateForms();
        w.show();

        if (options_.splash) {
            ui_->ShowAbout(true);
            PauseSeconds(s, options_.splashSeconds);
            ui_->CloseSplash();
        }

        // The folder of the file sets is the working folder from here on.
        QDir::setCurrent(Q(FilesFolderOf(s.settings)));
        s.settings.ProgramDrive = UpperCase(s.settings.ProgramFolder.substr(0, 2));

        ReadRelayParameters(s, options_.commandLine, s.settings.ProgramFolder);
        LoadSettings(s);
        CreateTransport();

        ui_->ProcessEvents();
        s.link.ReplyData.clear();
    } catch (const ProgramEnd&) {
        // Closed during start-up: Run ends at once.
    }
    return true;
}

void Program::CreateTransport() {
    Session& s = *session_;
    if (options_.transport) {
        s.transport = options_.transport;
        return;
    }
    if (options_.makeTransport) {
        if (Transport* t = options_.makeTransport(s, clock_)) {
            s.transport = t;
            return;
        }
    }
    port_ = std::make_unique<PortTransport>();
    s.transport = port_.get();
}

void Program::Turn() {
    MainLoopTurn(*session_);
    Yield(*session_);
}

int Program::Run() {
    if (!ui_->QuitRequested()) {
        try {
            RunMainLoop(*session_, [] { return true; });
        } catch (const ProgramEnd&) {
        }
    }
    End();
    return 0;
}

void Program::End() {
    Session& s = *session_;
    ui_->SetEnding();
    window().hide();
    if (s.link.PortOpened) {
        if (s.commands.closePanel) s.commands.closePanel(s);
        s.link.PortOpened = false;
    }
    if (s.transport && s.transport->IsOpen()) ClosePanelPort(s);
}

}  // namespace cfg::gui
