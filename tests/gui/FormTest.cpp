// The dialogs and the window rules on their own: what each form answers and
// which flags its controls raise.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

#include "GuiHarness.h"
#include "gui/CopyFileForm.h"
#include "gui/HelpWindow.h"
#include "gui/InputForm.h"
#include "gui/MainWindow.h"
#include "gui/MenuForm.h"
#include "gui/QtUi.h"
#include "gui/ScreenForm.h"
#include "gui/SingleInstance.h"
#include "gui/WorkForm.h"
#include "shell/Session.h"
#include "shell/LinkSettings.h"
#include "shell/Settings.h"

using namespace cfg;
using namespace cfg::gui;
using namespace cfg::gui::test;

namespace {

ValueRequest Number(double lo, double hi, const char* initial) {
    ValueRequest r;
    r.kind = 1;
    r.minimum = lo;
    r.maximum = hi;
    r.initialText = initial;
    return r;
}

// Types `text` into the focused field of the dialog and presses Enter.
void TypeAndEnter(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

}  // namespace

class FormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder_;
    std::unique_ptr<GuiProgram> program_;

    QtUi& ui() { return program_->program().ui(); }
    Session& s() { return program_->session(); }
    MainWindow& w() { return program_->window(); }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolder>();
        folder_->WriteLanguage("Test");
        folder_->WriteSettings("Test");
        program_ = std::make_unique<GuiProgram>(*folder_);
    }
    void cleanup() {
        program_.reset();
        folder_.reset();
    }

    void NumberOutsideTheRangeKeepsTheDialogOpen() {
        int attempts = 0;
        Script script;
        script.Then("dialog", [] { return ModalIs("FRMInput"); },
                    [&] {
                        auto* box = ModalChild<QLineEdit>("TXTNumero");
                        QCOMPARE(box->text(), QStringLiteral("11"));
                        TypeAndEnter(box, QStringLiteral("224"));
                        ++attempts;
                    })
            .Then("still open", [] { return ModalIs("FRMInput"); },
                  [&] {
                      TypeAndEnter(ModalChild<QLineEdit>("TXTNumero"), QStringLiteral("12a"));
                      ++attempts;
                  })
            .Then("still open", [] { return ModalIs("FRMInput"); },
                  [&] { TypeAndEnter(ModalChild<QLineEdit>("TXTNumero"), QStringLiteral("223")); });
        ValueAnswer a = ui().ShowValueDialog(Number(0, 223, "11"));
        QVERIFY(script.Done());
        QCOMPARE(attempts, 2);
        QVERIFY(a.confirmed);
        QCOMPARE(a.number, 223.0);
        QCOMPARE(a.text, std::string("223"));
    }

    void AbortLeavesWithoutAnAnswer() {
        Script script;
        script.Then("dialog", [] { return ModalIs("FRMInput"); },
                    [] { ModalChild<QPushButton>("CMDAbort")->click(); });
        QVERIFY(!ui().ShowValueDialog(Number(0, 10, "5")).confirmed);
        QVERIFY(script.Done());
    }

    void TextAndListKinds() {
        ValueRequest text;
        text.kind = 2;
        text.maxLength = 5;
        text.initialText = "ab";
        Script script;
        script.Then("text", [] { return ModalIs("FRMInput"); },
                    [] {
                        QVERIFY(!ModalChild<QLineEdit>("TXTNumero")->isVisible());
                        auto* box = ModalChild<QLineEdit>("TXTStringa");
                        box->end(false);
                        QTest::keyClicks(box, QStringLiteral("cdefgh"));
                        QTest::keyClick(box, Qt::Key_Enter);
                    });
        ValueAnswer a = ui().ShowValueDialog(text);
        QVERIFY(a.confirmed);
        QCOMPARE(a.text, std::string("abcde"));

        ValueRequest list;
        list.kind = 3;
        list.items = {"zero", "one", "two"};
        list.initialIndex = 1;
        Script pick;
        pick.Then("list", [] { return ModalIs("FRMInput"); },
                  [] {
                      auto* combo = ModalChild<QComboBox>("CMBInp");
                      QCOMPARE(combo->currentIndex(), 1);
                      combo->setCurrentIndex(2);
                      ModalChild<QPushButton>("CMDOk")->click();
                  });
        a = ui().ShowValueDialog(list);
        QVERIFY(a.confirmed);
        QCOMPARE(a.index, 2);
    }

    void NumberRules() {
        ValueRequest r = Number(0, 250, "");
        double v = 0;
        QVERIFY(InputForm::AcceptsNumber(r, QStringLiteral(" 7 "), v));
        QCOMPARE(v, 7.0);
        QVERIFY(!InputForm::AcceptsNumber(r, QStringLiteral(""), v));
        QVERIFY(!InputForm::AcceptsNumber(r, QStringLiteral("7a"), v));
        QVERIFY(!InputForm::AcceptsNumber(r, QStringLiteral("7.5"), v));
        QVERIFY(!InputForm::AcceptsNumber(r, QStringLiteral("-1"), v));
        QVERIFY(!InputForm::AcceptsNumber(r, QStringLiteral("251"), v));
        QVERIFY(InputForm::AcceptsNumber(Number(0, 1.5, ""), QStringLiteral("0.5"), v));
    }

    void DateTimeFieldsComeBackAsTyped() {
        DateTimeFields f;
        f.field = {"5", "12", "2026", "10", "20", "30"};
        Script script;
        script.Then("date dialog", [] { return ModalIs("FRMInput"); },
                    [] {
                        auto* year = ModalChild<QLineEdit>("TXTAnno");
                        // The field named by the caller is selected for correction.
                        QCOMPARE(year->selectedText(), QStringLiteral("2026"));
                        QTest::keyClicks(year, QStringLiteral("1999"));
                        ModalChild<QPushButton>("CMDOk")->click();
                    });
        QVERIFY(ui().AskDateTime("clock", f, 2));
        QCOMPARE(f.field[2], std::string("1999"));
        QCOMPARE(f.field[0], std::string("5"));
    }

    void ChoiceMenuAnswersTheButtonIndex() {
        ChoiceRequest req;
        req.title = "Option";
        req.prompts = {"line one", "line two"};
        req.items = {"first", "second", "third"};
        req.current = 1;
        Script script;
        script.Then("menu", [] { return ModalIs("FRMMenu"); },
                    [] {
                        const auto buttons = Modal()->findChildren<QPushButton*>(QStringLiteral("CMDSele"));
                        QCOMPARE(buttons.size(), 3);
                        QVERIFY(buttons[1]->hasFocus() || buttons[1]->isDefault());
                        buttons[2]->click();
                    });
        QCOMPARE(ui().AskChoice(req), 2);
        Script escape;
        escape.Then("menu", [] { return ModalIs("FRMMenu"); }, [] { QTest::keyClick(Modal(), Qt::Key_Escape); });
        QCOMPARE(ui().AskChoice(req), -1);
    }

    void CopyDialogPathsAndAnswer() {
        // As typed: the command takes the set's extension off.
        QCOMPARE(CopyFileForm::ChosenPath(QStringLiteral("  plant.cy2 "), QStringLiteral("/data/sets")),
                 QStringLiteral("/data/sets/plant.cy2"));
        QCOMPARE(CopyFileForm::ChosenPath(QStringLiteral("/other/PLANT"), QStringLiteral("/data")),
                 QStringLiteral("/other/PLANT"));
        QCOMPARE(CopyFileForm::ChosenPath(QStringLiteral("sub.d/PLANT"), QStringLiteral("/data")),
                 QStringLiteral("/data/sub.d/PLANT"));
        QCOMPARE(CopyFileForm::ChosenPath(QStringLiteral("   "), QStringLiteral("/data")), QString());

        folder_->CopyDefaultSet("SOURCE");
        CopyDialogRequest req;
        req.caption = "Copy";
        req.sourceLabel = "From";
        req.destLabel = "To";
        req.folder = folder_->Path();
        Script script;
        script.Then("copy dialog", [] { return ModalIs("FRMCopyFile"); },
                    [] {
                        QCOMPARE(ModalChild<QGroupBox>("FRASource")->title(), QStringLiteral("From"));
                        // The file list shows the sets; a click names the source.
                        auto* files = ModalChild<QListWidget>("FILLSource");
                        QCOMPARE(files->count(), 1);
                        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                                          files->visualItemRect(files->item(0)).center());
                        QCOMPARE(ModalChild<QLineEdit>("TXTSource")->text(), QStringLiteral("SOURCE"));
                        ModalChild<QLineEdit>("TXTDest")->setText(QStringLiteral("COPY"));
                        ModalChild<QPushButton>("CMDOk")->click();
                    });
        CopyDialogAnswer a = ui().AskCopyFiles(req);
        QVERIFY(a.confirmed);
        QCOMPARE(a.source, folder_->File("SOURCE"));
        QCOMPARE(a.dest, folder_->File("COPY"));
    }

    void ScreenFormLockAndButtons() {
        ui().OpenScreen("title", 8, 32);
        ScreenForm* screen = ui().screenForm();
        QVERIFY(ui().ScreenOpen());
        ui().WriteScreen(2, 3, "12:30", ScreenColor::Green);
        QCOMPARE(screen->grid()->RowText(2).mid(2, 5), QStringLiteral("12:30"));
        // A longer text widens the window instead of being cut.
        ui().WriteScreen(1, 30, "not cut here", ScreenColor::Default);
        QCOMPARE(screen->grid()->Columns(), 41);
        QCOMPARE(screen->grid()->RowText(1).mid(29), QStringLiteral("not cut here"));
        QCOMPARE(screen->grid()->RowText(2).mid(2, 5), QStringLiteral("12:30"));

        s().screen.ScreenLocked = true;
        screen->close();
        QVERIFY(ui().ScreenOpen());
        QTest::mouseClick(screen->auxButton(), Qt::LeftButton);
        QVERIFY(s().events.ScreenDismissed);
        QVERIFY(s().events.PauseBreak);
        QVERIFY(ui().ScreenOpen());
        QTest::mouseClick(screen->closeButton(), Qt::LeftButton);
        QVERIFY(!ui().ScreenOpen());
        QVERIFY(!s().screen.ScreenLocked);
    }

    void ToolbarAndPopupsLeaveCodesForTheLoop() {
        struct Key {
            const char* key;
            int code;
        };
        for (Key k : {Key{"zone", 2}, Key{"tempi", 3}, Key{"opzioni", 4}, Key{"opsup", 5}, Key{"logiche", 7},
                      Key{"display", 8}, Key{"parcom", 9}, Key{"moduli", 10}, Key{"chiude", 12}}) {
            QAction* a = w().ToolbarButtonByKey(QString::fromLatin1(k.key));
            a->setEnabled(true);
            s().main.PostCommand({.section = 0});
            a->trigger();
            QCOMPARE(int(s().main.SectionCommand), k.code);
            QCOMPARE(int(s().main.ToolbarButtonIndex), a->property("buttonIndex").toInt());
        }
        // The file buttons are 1..3, the popups sit at 5, 11 and 17.
        QCOMPARE(w().ToolbarButton(1)->property("key").toString(), QStringLiteral("crea"));
        QCOMPARE(w().ToolbarButton(2)->property("key").toString(), QStringLiteral("trasferisce"));
        QCOMPARE(w().ToolbarButton(3)->property("key").toString(), QStringLiteral("apre"));
        QCOMPARE(w().ToolbarButton(5)->property("key").toString(), QStringLiteral("vimom"));
        QCOMPARE(w().ToolbarButton(11)->property("key").toString(), QStringLiteral("orologio"));
        QCOMPARE(w().ToolbarButton(17)->property("key").toString(), QStringLiteral("stampa"));

        struct Entry {
            int button, index, code, option;
        };
        for (Entry e : {Entry{1, 0, 53, 1}, Entry{1, 2, 53, 2}, Entry{2, 0, 52, 1}, Entry{2, 2, 52, 2},
                        Entry{3, 0, 51, 1}, Entry{3, 2, 51, 2}, Entry{5, 4, 1, 3}, Entry{11, 0, 6, 1},
                        Entry{11, 5, 6, 6}, Entry{17, 1, 11, 2}}) {
            s().main.PostCommand({.section = 0, .option = 0});
            QAction* a = w().PopupEntry(e.button, e.index);
            a->setEnabled(true);
            a->trigger();
            QCOMPARE(int(s().main.SectionCommand), e.code);
            QCOMPARE(int(s().main.CommandOption), e.option);
        }
        // Toolbar2 leaves the view's code.
        w().Toolbar2Button(4)->trigger();
        QCOMPARE(int(s().main.DiagnosticCommand), 1);
        w().Toolbar2Button(2)->trigger();
        QCOMPARE(int(s().main.DiagnosticCommand), 7);

        // The title area asks for the serial numbering.
        s().main.PostCommand({.section = 0});
        QTest::mouseClick(w().identificationLabel(), Qt::LeftButton);
        QCOMPARE(int(s().main.SectionCommand), 255);
    }

    void LoopModulePopupShowsWhichModulesArePresent() {
        ui().readLoopModules = [](Session&) { return std::array<bool, 2>{true, false}; };
        w().ToolbarButtonByKey(QStringLiteral("vimom"))->setEnabled(true);
        ClickToolbar(w(), "vimom");
        QVERIFY(PopupOpen(w(), 5));
        QVERIFY(w().PopupEntry(5, 0)->isEnabled());
        QVERIFY(!w().PopupEntry(5, 2)->isEnabled());
        QVERIFY(w().PopupEntry(5, 2)->text().contains(QStringLiteral("0211")));
        QVERIFY(!w().PopupEntry(5, 4)->isVisible());
        w().PopupMenu(5)->hide();
    }

    void BusyAreaTimers() {
        // The abort button appears only while the status line shows.
        ui().SetStatusVisible(false);
        w().abortTimer()->setInterval(10);
        ui().SetAbortTimer(true);
        QTRY_VERIFY(!w().abortTimer()->isActive());
        QVERIFY(!w().abortButton()->isVisible());

        ui().SetStatusVisible(true);
        ui().SetStatusText("Reading");
        ui().SetProgressMaximum(10);
        ui().SetProgressValue(4);
        ui().SetAbortTimer(true);
        QTRY_VERIFY(w().abortButton()->isVisible());
        QTest::mouseClick(w().abortButton(), Qt::LeftButton);
        QVERIFY(s().events.AbortRequested);
        QVERIFY(!w().abortButton()->isVisible());

        ui().SetStatusTimer(10);
        QVERIFY(ui().StatusTimerEnabled());
        QTRY_VERIFY(!ui().StatusTimerEnabled());
        QCOMPARE(ui().StatusText(), std::string());
        QCOMPARE(w().progressBar()->value(), 0);
        QVERIFY(ui().StatusVisible());

        // A status line brings the settings label back.
        w().settingsLabel()->hide();
        ui().ShowSettingsLabel();
        QVERIFY(w().settingsLabel()->isVisible());
    }

    void WindowKeepsItsSizeAndRefusesToCloseWhenBlocked() {
        QCOMPARE(w().minimumSize(), w().maximumSize());
        const QSize size = w().size();
        w().setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(!(w().windowState() & Qt::WindowMaximized));
        QCOMPARE(w().size(), size);

        s().link.CloseBlocked = true;
        w().close();
        QVERIFY(!ui().QuitRequested());
        QVERIFY(w().isVisible());
        s().link.CloseBlocked = false;
        w().close();
        QVERIFY(ui().QuitRequested());
        bool ended = false;
        try {
            ui().ProcessEvents();
        } catch (const ProgramEnd&) {
            ended = true;
        }
        QVERIFY(ended);
        program_->program().End();
        QVERIFY(!w().isVisible());
    }

    void SettingsMenuStoresThePort() {
        w().workForm()->FillSettingsMenu();
        QMenu* ports = w().workForm()->settingsMenu()->findChild<QMenu*>(QStringLiteral("MNUPorta"));
        QVERIFY(ports);
        const auto entries = ports->actions();
        QVERIFY(!entries.isEmpty());
        // The port of the settings file is offered and ticked.
        QVERIFY(entries[0]->isChecked());
        QCOMPARE(entries[0]->text(), QStringLiteral("COM1"));
        entries[0]->trigger();
        const std::string ini = folder_->File("CFG-Veltrano.ini");
        QCOMPARE(GetProfileString(ini, "startup", "Parity", ""), std::string("N"));
        QCOMPARE(w().settingsLabel()->text(), QStringLiteral("COM1  9600  11"));

        QMenu* bauds = w().workForm()->settingsMenu()->findChild<QMenu*>(QStringLiteral("MNUBaud"));
        for (QAction* a : bauds->actions())
            if (a->text() == QLatin1String("2400")) a->trigger();
        QCOMPARE(GetProfileString(ini, "startup", "Baud", ""), std::string("2400"));
        for (QAction* a : bauds->actions()) QCOMPARE(a->isChecked(), a->text() == QLatin1String("2400"));
        QCOMPARE(w().settingsLabel()->text(), QStringLiteral("COM1  2400  11"));
    }

    // In demo mode no port is opened: the status area names the built-in
    // simulated panel instead of a port, a speed and a code.
    void DemoModeNamesTheSimulatedPanelNotAPort() {
        ui().SetDemoMode(true);
        SaveSettings(s());
        QCOMPARE(w().settingsLabel()->text(), QStringLiteral("1640"));
        ui().SetDemoMode(false);
        SaveSettings(s());
        QCOMPARE(w().settingsLabel()->text(), QStringLiteral("COM1  9600  11"));
    }

    void OtherPortChecksTheNameBeforeKeepingIt() {
        // A device server that listens, and a port where nobody does.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QTcpServer gone;
        QVERIFY(gone.listen(QHostAddress::LocalHost));
        const QString refused = QStringLiteral("tcp://127.0.0.1:%1").arg(gone.serverPort());
        gone.close();
        const QString good = QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort());

        WorkForm* form = w().workForm();
        form->FillSettingsMenu();
        QVERIFY(form->portMenu()->actions().contains(form->otherPortAction()));
        QString refusal;
        Script script;
        script.Then("name", [] { return ModalIs("FRMInput"); },
                    [&] {
                        auto* box = ModalChild<QLineEdit>("TXTStringa");
                        QCOMPARE(box->text(), QStringLiteral("COM1"));
                        TypeAndEnter(box, refused);
                    })
            .Then("refused", [] { return ModalAs<QMessageBox>() != nullptr; },
                  [&] {
                      refusal = ModalAs<QMessageBox>()->text();
                      ModalAs<QMessageBox>()->button(QMessageBox::Ok)->click();
                  })
            .Then("name again", [] { return ModalIs("FRMInput"); },
                  [&] {
                      auto* box = ModalChild<QLineEdit>("TXTStringa");
                      QCOMPARE(box->text(), refused);
                      TypeAndEnter(box, good);
                  });
        form->otherPortAction()->trigger();
        QTRY_VERIFY(script.Done());
        QVERIFY2(refusal.contains(QStringLiteral("1963 ") + refused), qPrintable(refusal));
        QCOMPARE(QString::fromStdString(s().settings.CommPortName), good);
        QCOMPARE(GetProfileString(folder_->File("CFG-Veltrano.ini"), "startup", "Serial", ""), good.toStdString());
        // From now on the menu offers the name, ticked.
        form->FillSettingsMenu();
        const auto entries = form->portMenu()->actions();
        QCOMPARE(entries[0]->data().toString(), good);
        QVERIFY(entries[0]->isChecked());
    }

    void TraceSwitchShowsWhereAndThatItRuns() {
        WorkForm* form = w().workForm();
        QMetaObject::invokeMethod(form->settingsMenu(), "aboutToShow");
        QVERIFY(!form->traceAction()->isChecked());
        QVERIFY(!w().traceLabel()->isVisibleTo(&w()));
        const QString path = QString::fromStdString(TraceFilePath(s()));
        QString told;
        Script on;
        on.Then("where", [] { return ModalAs<QMessageBox>() != nullptr; },
                [&] {
                    told = ModalAs<QMessageBox>()->text();
                    ModalAs<QMessageBox>()->button(QMessageBox::Ok)->click();
                });
        form->traceAction()->trigger();
        QTRY_VERIFY(on.Done());
        QVERIFY2(told.contains(path), qPrintable(told));
        QCOMPARE(QString::fromStdString(s().link.TraceFile), path);
        QVERIFY(form->traceAction()->isChecked());
        QVERIFY(w().traceLabel()->isVisibleTo(&w()));
        QCOMPARE(w().traceLabel()->toolTip(), path);

        Script off;
        off.Then("where it is", [] { return ModalAs<QMessageBox>() != nullptr; },
                 [] { ModalAs<QMessageBox>()->button(QMessageBox::Ok)->click(); });
        form->traceAction()->trigger();
        QTRY_VERIFY(off.Done());
        QVERIFY(s().link.TraceFile.empty());
        QVERIFY(!form->traceAction()->isChecked());
        QVERIFY(!w().traceLabel()->isVisibleTo(&w()));
    }

    void MessageInputTextAndRange() {
        MessageRequest req;
        req.title = "Text";
        req.initialText = "OLD";
        req.maxLength = 16;
        req.allowRange = true;
        Script script;
        script.Then("message dialog", [] { return ModalIs("FRMInpMsg"); },
                    [] {
                        auto* box = ModalChild<QLineEdit>("TXTStringa");
                        QCOMPARE(box->text(), QStringLiteral("OLD"));
                        box->selectAll();
                        QTest::keyClicks(box, QStringLiteral("CORRIDOIO PIANO TERRA"));
                        QTest::keyClick(box, Qt::Key_Return);
                    });
        MessageAnswer a = ui().AskMessage(req);
        QVERIFY(a.confirmed);
        QVERIFY(!a.range);
        QCOMPARE(a.text, std::string("CORRIDOIO PIANO "));

        Script range;
        range.Then("message dialog", [] { return ModalIs("FRMInpMsg"); },
                   [] {
                       ModalChild<QPushButton>("CMDImpGrup")->click();
                       // The text stays: it goes to every entry of the range.
                       QVERIFY(ModalChild<QLineEdit>("TXTStringa")->isVisible());
                       QVERIFY(ModalChild<QWidget>("FRADaa")->isVisible());
                       QVERIFY(!ModalChild<QPushButton>("CMDImpGrup")->isVisible());
                       // The range starts on the entry being edited.
                       QCOMPARE(ModalChild<QLineEdit>("TXTDa")->text(), QStringLiteral("7"));
                       QVERIFY(ModalChild<QCheckBox>("CHKNumera")->isChecked());
                       ModalChild<QLineEdit>("TXTDa")->setText(QStringLiteral("3"));
                       ModalChild<QLineEdit>("TXTA")->setText(QStringLiteral("9"));
                       ModalChild<QLineEdit>("TXTStringa")->setText(QStringLiteral("ROOM 1"));
                       ModalChild<QCheckBox>("CHKNumera")->setChecked(false);
                       ModalChild<QPushButton>("CMDOk")->click();
                   });
        req.entry = 7;
        a = ui().AskMessage(req);
        QVERIFY(a.confirmed && a.range);
        QCOMPARE(a.first, std::string("3"));
        QCOMPARE(a.last, std::string("9"));
        QCOMPARE(a.text, std::string("ROOM 1"));
        QVERIFY(!a.countUp);
        QVERIFY(s().events.MessageRangeInput);
    }

    void InformationBoxClosesOnAClick() {
        s().events.PauseBreak = false;
        Script script;
        script.Then("about", [] { return ModalIs("FRMAbout"); },
                    [&] {
                        QVERIFY(!w().toolbar1()->isEnabled());
                        QVERIFY(!w().workForm()->isEnabled());
                        // It names the settings file and the folder of the file sets.
                        const QString folders = ModalChild<QLabel>("LBLCartelle")->text();
                        QVERIFY2(folders.contains(QString::fromStdString(SettingsFilePath(s()))), qPrintable(folders));
                        QVERIFY(folders.contains(QStringLiteral("1992 ")));
                        QTest::mouseClick(ModalChild<QLabel>("IMGAbout"), Qt::LeftButton);
                    });
        w().workForm()->infoAction()->trigger();
        QVERIFY(script.Done());
        QVERIFY(w().toolbar1()->isEnabled());
        QVERIFY(w().workForm()->isEnabled());
        QVERIFY(s().events.PauseBreak);
    }

    void GuidePageFollowsTheLanguageWithEnglishThenItalianAsFallback() {
        QTemporaryDir data;
        const std::string root = data.path().toStdString();
        auto page = [&](const char* code) {
            const QString folder = data.path() + QStringLiteral("/help/") + QLatin1String(code);
            QDir().mkpath(folder);
            QFile f(folder + QStringLiteral("/index.html"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<html><body><h1>guide ");
            f.write(code);
            f.write("</h1></body></html>");
        };
        // (A path with either separator: Windows names it with its own.)
        auto path = [](const std::string& p) { return QDir::cleanPath(QString::fromStdString(p)); };
        QCOMPARE(HelpIndexPath(root, "it"), std::string());
        page("it");
        QCOMPARE(path(HelpIndexPath(root, "de")), path(root + "/help/it/index.html"));
        page("en");
        QCOMPARE(path(HelpIndexPath(root, "de")), path(root + "/help/en/index.html"));
        QCOMPARE(path(HelpIndexPath(root, "it")), path(root + "/help/it/index.html"));
        QCOMPARE(path(HelpIndexPath(root, "")), path(root + "/help/en/index.html"));
    }

    void F1OpensTheGuideFromTheMainWindow() {
        // The test language names no guide folder ("1990"): the English one.
        const QString en = QString::fromStdString(folder_->File("help/en"));
        QDir().mkpath(en);
        QFile f(en + QStringLiteral("/index.html"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html><body><h1 id=\"top\">English guide</h1></body></html>");
        f.close();

        w().show();
        w().activateWindow();
        QApplication::setActiveWindow(&w());
        QVERIFY(ui().helpWindow() == nullptr);
        QTest::keyClick(w().workForm(), Qt::Key_F1);
        HelpWindow* help = ui().helpWindow();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QCOMPARE(QDir::cleanPath(help->page()), QDir::cleanPath(en + QStringLiteral("/index.html")));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("English guide")));
        // The window's caption comes from the language file's form section.
        QCOMPARE(help->objectName(), QStringLiteral("FRMGuida"));

        // Escape closes it; the information menu's entry opens the same window again.
        QTest::keyClick(help->browser(), Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        w().workForm()->guideAction()->trigger();
        QCOMPARE(ui().helpWindow(), help);
        QVERIFY(help->isVisible());
        help->close();
    }

    void SecondCopyBringsTheFirstForward() {
        const QString folder = QString::fromStdString(folder_->Path());
        SingleInstance first(folder);
        int activations = 0;
        first.onActivate = [&] { ++activations; };
        QVERIFY(first.Claim());
        SingleInstance second(folder);
        QVERIFY(!second.Claim());
        QTRY_COMPARE(activations, 1);
        // Another folder is another program.
        QTemporaryDir elsewhere;
        SingleInstance other(elsewhere.path());
        QVERIFY(other.Claim());
    }

    void RelayModeShowsTheRelayValues() {
        s().settings.FileLinkMode = true;
        s().settings.RelayBaudRate = "4800";
        s().settings.RelayPlantCode = "42";
        Script script;
        script.Then("relay box", [] { return ModalIs("FRMParTw"); },
                    [&] {
                        QCOMPARE(ModalChild<QLabel>("LBLBaud")->text(), QStringLiteral("4800"));
                        QCOMPARE(ModalChild<QLabel>("LBLCodimp")->text(), QStringLiteral("42"));
                        QVERIFY(!w().toolbar1()->isEnabled());
                        ModalChild<QPushButton>("Command1")->click();
                    });
        QMetaObject::invokeMethod(w().workForm()->settingsMenu(), "aboutToShow");
        QTRY_VERIFY(script.Done());
        QVERIFY(w().toolbar1()->isEnabled());
    }
};

#include "FormTest.moc"

int RunFormTest(int argc, char** argv) {
    FormTest t;
    return QTest::qExec(&t, argc, argv);
}
