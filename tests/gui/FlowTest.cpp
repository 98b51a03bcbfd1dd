// The program driven as an installer would: toolbar, popup menus, dialogs,
// the editing screen; checking what reaches the file set or the panel.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "GuiHarness.h"
#include "gui/ClockProgrammerForm.h"
#include "gui/LoopPicture.h"
#include "gui/LoopWindows.h"
#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "gui/WorkForm.h"
#include "shell/Session.h"
#include "sim/MemoryMap.h"
#include "sim/loopback/LoopbackTransport.h"

using namespace cfg;
using namespace cfg::gui;
using namespace cfg::gui::test;

namespace {

// The list line whose descriptor carries `value2` (the times item, the
// option number), as a 0-based list index; -1 when there is none.
int ListIndexOf(Session& s, int value2) {
    for (int line = 1; line <= s.screen.LineCount; ++line)
        if (s.screen.Descriptors[line].field != 0 && s.screen.Descriptors[line].value2 == value2) return line - 1;
    return -1;
}

}  // namespace

class FlowTest : public QObject {
    Q_OBJECT

private slots:
    // crea -> new set from DEFAULT -> apre -> from a file -> tempi -> change
    // the first time -> the byte is in the .CY2 file.
    void CreateOpenAndEditTimesOnFileSet() {
        ProgramFolder folder;
        folder.WriteLanguage("Test");
        folder.WriteSettings("Test");
        folder.CopyDefaultSet("DEFAULT");
        GuiProgram p(folder);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));

        Script script;
        script.Do("click crea", [&] { ClickToolbar(w, "crea"); })
            .Then("create popup", [&] { return PopupOpen(w, 1); }, [&] { ChoosePopup(w, 1, 2); })
            .Then("copy dialog", [] { return ModalIs("FRMCopyFile"); },
                  [] {
                      // The source side is hidden when creating from DEFAULT.
                      QVERIFY(!ModalChild<QWidget>("FRASource")->isVisible());
                      ModalChild<QLineEdit>("TXTDest")->setText(QStringLiteral("PLANT"));
                      ModalChild<QPushButton>("CMDOk")->click();
                  });
        AnswerMessage(script, "created", QMessageBox::Ok);
        QVERIFY(p.RunUntil([&] { return Home(p); }, &script));
        QVERIFY(QFile::exists(QString::fromStdString(folder.File("PLANT.CY2"))));
        QVERIFY(QFile::exists(QString::fromStdString(folder.File("PLANT.MY2"))));

        QVERIFY(OpenFileSet(p, folder.File("PLANT.CY2")));
        QVERIFY(p.session().config.ConfigSource == ConfigSource::File);
        // The file buttons give way to the section buttons.
        QVERIFY(!w.ToolbarButtonByKey("apre")->isEnabled());
        QVERIFY(w.ToolbarButtonByKey("tempi")->isEnabled());

        const int before = FileByte(folder.File("PLANT.CY2"), 25);
        const int wanted = before == 30 ? 31 : 30;
        Script edit;
        edit.Do("click tempi", [&] { ClickToolbar(w, "tempi"); })
            .Then("times list", [&] { return EditScreenShowing(p); },
                  [&] {
                      // The first time (item 1) lives in cell 25.
                      const int row = ListIndexOf(p.session(), 1);
                      QVERIFY(row >= 0);
                      w.workForm()->list()->setCurrentRow(row);
                      QTest::mouseClick(w.workForm()->okButton(), Qt::LeftButton);
                  })
            .Then("value dialog", [] { return ModalIs("FRMInput"); },
                  [wanted] {
                      auto* box = ModalChild<QLineEdit>("TXTNumero");
                      QVERIFY(box->isVisible());
                      box->selectAll();
                      QTest::keyClicks(box, QString::number(wanted));
                      QTest::keyClick(box, Qt::Key_Return);
                  })
            .Then("list rebuilt", [&] { return !Modal() && FileByte(folder.File("PLANT.CY2"), 25) == wanted; },
                  [&] {
                      // The line shows the new value and stays selected.
                      const int row = ListIndexOf(p.session(), 1);
                      QVERIFY(w.workForm()->list()->item(row)->text().contains(QString::number(wanted)));
                      QCOMPARE(w.workForm()->ListSelectedIndex(), row);
                      QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton);
                  });
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !w.workForm()->EditScreenVisible(); }, &edit),
                 qPrintable(edit.FailedStep()));
        QCOMPARE(FileByte(folder.File("PLANT.CY2"), 25), wanted);

        // chiude: back to the home screen.
        ClickToolbar(w, "chiude");
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        QVERIFY(w.ToolbarButtonByKey("apre")->isEnabled());
    }

    // apre -> from the panel (the in-process panel) -> opzioni -> change an
    // option -> the byte is in the panel's memory.
    void OpenPanelAndEditOption() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));

        constexpr int kOption = 4;  // a two-valued option at offset 41 + 4
        const int address = 4137 + kOption;
        const int before = panel.Panel().Mem().Get(address);
        const int wantedItem = before == 1 ? 0 : 1;

        Script script;
        OpenFromPanel(script, w, QStringLiteral("1"));
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p); }, &script), qPrintable(script.FailedStep()));
        QVERIFY(p.session().config.ConfigSource == ConfigSource::Panel);
        QVERIFY(panel.Panel().InProgrammingMode());

        Script edit;
        edit.Do("click opzioni", [&] { ClickToolbar(w, "opzioni"); })
            .Then("options list", [&] { return EditScreenShowing(p); },
                  [&] {
                      const int row = ListIndexOf(p.session(), kOption);
                      QVERIFY(row >= 0);
                      w.workForm()->list()->setCurrentRow(row);
                      // A double click edits like OK.
                      QListWidget* list = w.workForm()->list();
                      QRect r = list->visualItemRect(list->item(row));
                      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
                      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
                  })
            .Then("choice menu", [] { return ModalIs("FRMMenu"); },
                  [wantedItem] {
                      const auto buttons = Modal()->findChildren<QPushButton*>(QStringLiteral("CMDSele"));
                      QVERIFY(buttons.size() >= 2);
                      for (QPushButton* button : buttons)
                          if (button->property("index").toInt() == wantedItem) button->click();
                  })
            .Then("written", [&] { return !Modal() && panel.Panel().Mem().Get(address) == wantedItem; },
                  [&] { QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton); });
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !w.workForm()->EditScreenVisible(); }, &edit),
                 qPrintable(edit.FailedStep()));
        QCOMPARE(int(panel.Panel().Mem().Get(address)), wantedItem);

        // Closing the configuration takes the panel out of programming mode.
        ClickToolbar(w, "chiude");
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        QVERIFY(!panel.Panel().InProgrammingMode());
    }

    // apre -> from the panel -> zone -> a point line -> FRMInpSen "set
    // zone" -> the value dialog; then a zone line -> the zone-type list. Both
    // land in the panel's memory, the point's other bits untouched.
    void ZonesPointDialogAndZoneType() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        vimo::sim::Memory& mem = panel.Panel().Mem();
        constexpr int kPoint = 3;
        const int pointAddress = 4096 + 512 + 2 * (kPoint - 1);
        mem.Set(pointAddress + 1, 0xA0);  // zone 1 with option bits 101
        const int typeByte = mem.Get(pointAddress);
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        Script open;
        OpenFromPanel(open, w, QStringLiteral("1"));
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p); }, &open), qPrintable(open.FailedStep()));

        auto lineOf = [&p](int field, int value) {
            Session& s = p.session();
            for (int line = 1; line <= s.screen.LineCount; ++line)
                if (s.screen.Descriptors[line].field == field && s.screen.Descriptors[line].value2 == value)
                    return line - 1;
            return -1;
        };
        Script edit;
        edit.Do("click zone", [&] { ClickToolbar(w, "zone"); })
            .Then("zones list", [&] { return EditScreenShowing(p) && lineOf(1, kPoint) >= 0; },
                  [&] {
                      w.workForm()->list()->setCurrentRow(lineOf(1, kPoint));
                      QTest::mouseClick(w.workForm()->okButton(), Qt::LeftButton);
                  })
            .Then("point dialog", [] { return ModalIs("FRMInpSen"); },
                  [] {
                      QVERIFY(ModalChild<QLabel>("LBLPrompt")->text().contains(QStringLiteral("1151 3")));
                      QTest::mouseClick(ModalChild<QPushButton>("CMDImpGrup"), Qt::LeftButton);
                  })
            .Then("zone of the point", [] { return ModalIs("FRMInput"); },
                  [] {
                      auto* box = ModalChild<QLineEdit>("TXTNumero");
                      QCOMPARE(box->text(), QStringLiteral("1"));
                      box->selectAll();
                      QTest::keyClicks(box, QStringLiteral("7"));
                      QTest::keyClick(box, Qt::Key_Return);
                  })
            .Then("point written", [&] { return !Modal() && mem.Get(pointAddress + 1) == 0xA6; },
                  [&] {
                      w.workForm()->list()->setCurrentRow(lineOf(2, 2));
                      QTest::mouseClick(w.workForm()->okButton(), Qt::LeftButton);
                  })
            .Then("zone-type list", [] { return ModalIs("FRMInput"); },
                  [] {
                      auto* list = ModalChild<QComboBox>("CMBInp");
                      QVERIFY(list->isVisible());
                      QCOMPARE(list->count(), 9);
                      list->setCurrentIndex(5);
                      QTest::mouseClick(ModalChild<QPushButton>("CMDOk"), Qt::LeftButton);
                  })
            .Then("zone type written", [&] { return !Modal() && mem.Get(4096 + 302) == 17; },
                  [&] { QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton); });
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !w.workForm()->EditScreenVisible(); }, &edit),
                 qPrintable(edit.FailedStep()));
        QCOMPARE(int(mem.Get(pointAddress)), typeByte);
        QCOMPARE(int(mem.Get(pointAddress + 1)), 0xA6);
        QCOMPARE(int(mem.Get(4096 + 302)), 17);
        ClickToolbar(w, "chiude");
        QVERIFY(p.RunUntil([&] { return Home(p); }));
    }

    // orologio -> weekly programs: the window shows the week, a click and the
    // keyboard move channel indicators, a day is copied, Fine saves the
    // table to the panel (where its directory says) with its checksum.
    void ClockProgrammerOnThePanel() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        auto& mem = panel.Panel().Mem();
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        Script open;
        OpenFromPanel(open, w, QStringLiteral("1"));
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p); }, &open), qPrintable(open.FailedStep()));

        const int programs = vimo::sim::kClockPrograms;
        const int mondayMaskA = mem.Get(programs + 3);
        const auto form = [] { return qobject_cast<ClockProgrammerForm*>(ModalNamed("FRMProgra")); };
        Script edit;
        edit.Do("click orologio", [&] { ClickToolbar(w, "orologio"); })
            .Then("clock popup", [&] { return PopupOpen(w, 11); }, [&] { ChoosePopup(w, 11, 0); })
            .Then("programmer window", [&] { return form() != nullptr; },
                  [&] {
                      ClockProgrammerForm* f = form();
                      // The sample plant: two programs Monday to Friday.
                      for (int d = 0; d < 7; ++d) QCOMPARE(f->dayButton(d)->Count(), d < 5 ? 2 : 0);
                      QTest::mouseClick(f->dayButton(0), Qt::LeftButton);
                  })
            .Then("Monday shown", [&] { return form() && form()->dayButton(0)->isChecked(); },
                  [&] {
                      ClockProgrammerForm* f = form();
                      QCOMPARE(f->timeButton(0)->text(), QStringLiteral("08:00"));
                      QCOMPARE(f->led(0, 1)->State(), ChannelState::On);
                      QVERIFY(!f->led(2, 1)->isVisible());  // an empty program has no indicators
                      QTest::mouseClick(f->led(0, 2), Qt::LeftButton);
                  })
            .Then("channel 2 off", [&] { return form() && form()->led(0, 2)->State() == ChannelState::Off; },
                  [&] {
                      form()->led(0, 3)->setFocus();
                      QTest::keyClick(form()->led(0, 3), Qt::Key_Space);
                  })
            .Then("channel 3 off", [&] { return form() && form()->led(0, 3)->State() == ChannelState::Off; },
                  [&] { QTest::mouseClick(form()->copyButton(6), Qt::LeftButton); })
            .Then("Sunday filled", [&] { return form() && form()->dayButton(6)->Count() == 2; },
                  [&] { QTest::keyClick(form(), Qt::Key_Escape); });
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !form(); }, &edit), qPrintable(edit.FailedStep()));

        QCOMPARE(int(mem.Get(programs + 3)), mondayMaskA | 6);
        QCOMPARE(int(mem.Get(programs + 48 * 6 + 3)), mondayMaskA | 6);
        QCOMPARE(int(mem.Get(programs + 48 * 6)), 8);
        QCOMPARE(int(mem.Get(vimo::sim::kMarker)), 187);
        QCOMPARE(panel.Panel().Stats().commitsPrograms, 1);
    }

    // Closing the window with the panel open ends the program and takes the
    // panel out of programming mode first.
    // apre -> from the panel -> vimom -> module 1 -> every Toolbar2 view in
    // turn: the sensor list with its picture and a detail window, min/max,
    // errors (ended by the abort button), current, auto-configuration
    // cancelled at its question, then endvimom gives Toolbar1 back.
    void LoopModuleViews() {
        PanelBench bench;
        GuiProgram p(bench.folder, &bench.panel);
        MainWindow& w = p.window();
        QtUi& ui = p.program().ui();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        Script open;
        OpenFromPanel(open, w, QStringLiteral("1"));
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p); }, &open), qPrintable(open.FailedStep()));

        auto listShown = [&] {
            LoopListWindow* l = ui.loopListWindow();
            return l && l->isVisible() && l->list()->count() > 100;
        };
        auto diagShown = [&] { return ui.diagWindow() && ui.diagWindow()->isVisible(); };
        auto press = [&](int position) { w.Toolbar2Button(position)->trigger(); };
        int samples = 0;
        QString listHeading, minMaxTitle;
        bool resetOffered = false, pictureOverview = false;
        Script views;
        views.Do("click vimom", [&] { ClickToolbar(w, "vimom"); })
            .Then("module popup", [&] { return PopupOpen(w, 5); }, [&] { ChoosePopup(w, 5, 0); })
            .Then("Toolbar2", [&] { return w.toolbar2()->isVisible() && w.Toolbar2Button(4)->isEnabled(); },
                  [&] {
                      QVERIFY(!w.toolbar1()->isVisible());
                      QVERIFY(!w.Toolbar2Button(6)->isEnabled());  // soglie
                      press(4);
                  })
            .Then("sensor list", listShown,
                  [&] {
                      LoopListWindow* l = ui.loopListWindow();
                      listHeading = l->list()->item(0)->text();
                      pictureOverview = l->pictureWidget()->picture().kind == LoopPicture::Kind::Overview;
                      QVERIFY(!l->resetButton()->isVisible());
                      // Point 5 in the picture opens its detail window.
                      const QRect area = l->pictureWidget()->rect();
                      for (int y = 0; y < area.height(); y += 3)
                          for (int x = 0; x < area.width(); x += 3)
                              if (PointAtPosition(area, l->pictureWidget()->picture(), QPoint(x, y)) == 5) {
                                  QTest::mouseClick(l->pictureWidget(), Qt::LeftButton, {}, QPoint(x, y));
                                  return;
                              }
                      QFAIL("point 5 is not in the picture");
                  })
            .Then("detail with two readings",
                  [&] { return ui.detailWindow() && ui.detailWindow()->isVisible() &&
                               ui.detailWindow()->history()->Samples() >= 2; },
                  [&] {
                      samples = ui.detailWindow()->history()->Samples();
                      ui.detailWindow()->closeButton()->click();
                  })
            .Then("detail closed", [&] { return !ui.detailWindow()->isVisible(); },
                  [&] { ui.loopListWindow()->closeButton()->click(); })
            .Then("list closed", [&] { return !ui.loopListWindow()->isVisible() && w.Toolbar2Button(5)->isEnabled(); },
                  [&] { press(5); })
            .Then("min/max", listShown,
                  [&] {
                      minMaxTitle = ui.loopListWindow()->windowTitle();
                      resetOffered = ui.loopListWindow()->resetButton()->isVisible();
                      ui.loopListWindow()->closeButton()->click();
                  })
            .Then("min/max closed", [&] { return !ui.loopListWindow()->isVisible() && w.Toolbar2Button(7)->isEnabled(); },
                  [&] { press(7); })
            .Then("errors", [&] { return diagShown() && w.abortButton()->isVisible(); },
                  [&] { w.abortButton()->click(); })
            .Then("errors ended by abort", [&] { return !diagShown() && w.Toolbar2Button(8)->isEnabled(); },
                  [&] { press(8); })
            .Then("current", [&] { return diagShown() && !ui.diagWindow()->resetButton()->isVisible(); },
                  [&] { ui.diagWindow()->closeButton()->click(); })
            .Then("current closed", [&] { return !diagShown() && w.Toolbar2Button(3)->isEnabled(); },
                  [&] { press(3); });
        AnswerMessage(views, "auto-configuration question", QMessageBox::Cancel);
        views.Then("back at Toolbar2", [&] { return !Modal() && w.Toolbar2Button(2)->isEnabled(); },
                   [&] { press(2); });
        views.onFailure = p.Unwinder();
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && views.Done(); }, &views), qPrintable(views.FailedStep()));
        QCOMPARE(listHeading.left(4), QStringLiteral("0392"));
        QVERIFY(pictureOverview);
        QVERIFY(samples >= 2);
        QCOMPARE(minMaxTitle, QStringLiteral("0102 1"));
        QVERIFY(resetOffered);
        QVERIFY(w.toolbar1()->isVisible());
        QVERIFY(!w.toolbar2()->isVisible());
        QCOMPARE(bench.panel.Panel().Loop(1).AutoConfigRuns(), 0);
    }

    void ClosingTheWindowReleasesThePanel() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        Script script;
        OpenFromPanel(script, w);
        script.Then("panel open", [&] { return ConfigOpen(p); },
                    [&] {
                        QVERIFY(panel.Panel().InProgrammingMode());
                        w.close();
                    });
        script.onFailure = p.Unwinder();
        QCOMPARE(p.program().Run(), 0);
        QVERIFY(script.Done());
        QVERIFY(!w.isVisible());
        QVERIFY(!panel.Panel().InProgrammingMode());
        QVERIFY(!panel.IsOpen());
    }

    // The superior options ask first; No leaves the section closed and asks
    // again next time; Yes is remembered for the rest of the run.
    void SuperiorOptionsWarning() {
        ProgramFolder folder;
        folder.WriteLanguage("Test");
        folder.WriteSettings("Test");
        folder.CopyDefaultSet("PLANT");
        GuiProgram p(folder);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        QVERIFY(OpenFileSet(p, folder.File("PLANT.CY2")));

        QString warning;
        Script no;
        no.Do("click opsup", [&] { ClickToolbar(w, "opsup"); })
            .Then("warning", [] { return ModalAs<QMessageBox>() != nullptr; },
                  [&] {
                      auto* box = ModalAs<QMessageBox>();
                      warning = box->windowTitle();
                      QCOMPARE(box->icon(), QMessageBox::Warning);
                      box->button(QMessageBox::No)->click();
                  });
        QVERIFY(p.RunUntil([&] { return ConfigOpen(p); }, &no));
        QCOMPARE(warning, QStringLiteral("0398"));
        QVERIFY(!p.session().main.SuperiorOptionsConfirmed);
        QVERIFY(w.ToolbarButtonByKey("opsup")->isEnabled());

        Script yes;
        yes.Do("click opsup", [&] { ClickToolbar(w, "opsup"); });
        AnswerMessage(yes, "warning again", QMessageBox::Yes);
        yes.Then("section open", [&] { return EditScreenShowing(p); },
                 [&] { QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton); });
        QVERIFY(p.RunUntil([&] { return ConfigOpen(p) && p.session().main.SuperiorOptionsConfirmed; }, &yes));
        QCOMPARE(p.session().main.Shell.ActiveSection, int16_t(5));

        // Third time: straight to the section, no question.
        int boxes = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = ModalAs<QMessageBox>()) {
                ++boxes;
                box->reject();
            }
            if (EditScreenShowing(p)) QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton);
        });
        watch.start(5);
        p.session().main.Shell.ActiveSection = 0;
        ClickToolbar(w, "opsup");
        QVERIFY(p.RunUntil([&] { return ConfigOpen(p) && p.session().main.Shell.ActiveSection == 5; }));
        QCOMPARE(boxes, 0);
    }

    // A panel that answers very late: the abort button appears while the
    // link waits and stops the exchange; nothing is opened.
    void AbortDuringSlowExchange() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        // Identification goes through; the memory reads answer after a minute.
        vimo::sim::Fault slow;
        std::string error;
        QVERIFY(vimo::sim::ParseFault("slow=60000,cmd=L", slow, error));
        panel.Panel().AddFault(slow);
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        w.abortTimer()->setInterval(100);
        QVERIFY(p.RunUntil([&] { return Home(p); }));

        bool abortShown = false;
        Script script;
        OpenFromPanel(script, w);
        script.Then("abort button", [&] { return w.abortButton()->isVisible(); },
                    [&] {
                        abortShown = true;
                        // The status line names what is going on.
                        QVERIFY(w.statusLabel()->isVisible());
                        QTest::mouseClick(w.abortButton(), Qt::LeftButton);
                    });
        // Whatever the link says about the stopped exchange is acknowledged.
        QTimer ack;
        QObject::connect(&ack, &QTimer::timeout, [] {
            if (auto* box = ModalAs<QMessageBox>()) box->accept();
        });
        ack.start(5);
        QVERIFY2(p.RunUntil([&] { return abortShown && Home(p); }, &script), qPrintable(script.FailedStep()));
        QVERIFY(abortShown);
        QVERIFY(!w.abortButton()->isVisible());
        QVERIFY(p.session().config.ConfigSource == ConfigSource::None);
        QVERIFY(!p.session().link.PortOpened);
    }

    // A receive of the display texts at the line's real pace: sixteen
    // blocks, each of many frames, every block and frame far shorter than
    // the abort timer. The abort button still appears once the transfer has
    // lasted the timer's interval; a click stops it, the panel is released
    // and no file is left behind half-written.
    void LongReceiveShowsAbortAndStopsCleanly() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        panel.SetPacing(true);  // 9600 baud: the whole set takes many seconds
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        QCOMPARE(w.abortTimer()->interval(), 2000);
        QVERIFY(p.RunUntil([&] { return Home(p); }));

        const std::string target = bench.folder.File("SITE");
        int framesWhenStarted = -1;
        int framesWhenShown = -1;
        QString abortMessage;
        Script script;
        script.Do("click trasferisce", [&] { ClickToolbar(w, "trasferisce"); })
            .Then("transfer popup", [&] { return PopupOpen(w, 2); }, [&] { ChoosePopup(w, 2, 2); })
            .Then("panel address", [] { return ModalIs("FRMInput"); },
                  [] { QTest::keyClick(ModalChild<QLineEdit>("TXTNumero"), Qt::Key_Return); })
            .Then("transfer choice", [] { return ModalIs("FRMMenu"); },
                  [] {
                      for (QPushButton* b : Modal()->findChildren<QPushButton*>(QStringLiteral("CMDSele")))
                          if (b->property("index").toInt() == 4) b->click();  // .MY2
                  })
            .Then("save dialog", [] { return ModalAs<QFileDialog>() != nullptr; },
                  [&] {
                      auto* d = ModalAs<QFileDialog>();
                      d->selectFile(QString::fromStdString(target));
                      static_cast<QDialog*>(d)->accept();
                  })
            .Then("receiving", [&] { return w.statusLabel()->isVisible() && panel.Panel().Stats().framesIn > 0; },
                  [&] { framesWhenStarted = panel.Panel().Stats().framesIn; })
            .Then("abort button", [&] { return w.abortButton()->isVisible(); },
                  [&] {
                      framesWhenShown = panel.Panel().Stats().framesIn;
                      QTest::mouseClick(w.abortButton(), Qt::LeftButton);
                  })
            .Then("abort reported", [] { return ModalAs<QMessageBox>() != nullptr; },
                  [&] {
                      auto* box = ModalAs<QMessageBox>();
                      abortMessage = box->text();
                      box->accept();
                  });
        QVERIFY2(p.RunUntil([&] { return Home(p) && !Modal(); }, &script), qPrintable(script.FailedStep()));

        // The button came while frames kept going, not after the last one.
        QVERIFY2(framesWhenShown - framesWhenStarted >= 10,
                 qPrintable(QStringLiteral("frames %1..%2").arg(framesWhenStarted).arg(framesWhenShown)));
        QCOMPARE(p.session().link.LinkStatus, 0);
        QVERIFY2(abortMessage.startsWith(QStringLiteral("1379")), qPrintable(abortMessage));
        QVERIFY(!panel.Panel().InProgrammingMode());
        QVERIFY(!w.abortButton()->isVisible());
        QVERIFY(!w.abortTimer()->isActive());

        // Nothing of the stopped set is on disk: neither a part nor a scratch file.
        const QStringList left = QDir(QString::fromStdString(bench.folder.Path()))
                                     .entryList({QStringLiteral("SITE*")}, QDir::Files);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    }
};

#include "FlowTest.moc"

int RunFlowTest(int argc, char** argv) {
    FlowTest t;
    return QTest::qExec(&t, argc, argv);
}
