// The display texts, identity and advanced options sections driven as an
// installer would: toolbar button, list, dialog, and what reaches the file
// set or the panel.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <iterator>

#include "GuiHarness.h"
#include "gui/MainWindow.h"
#include "gui/WorkForm.h"
#include "shell/Session.h"
#include "sim/loopback/LoopbackTransport.h"

using namespace cfg;
using namespace cfg::gui;
using namespace cfg::gui::test;

namespace {

// The list row whose descriptor has this field and value2; -1 when none.
int RowOf(Session& s, int field, int value2) {
    for (int line = 1; line <= s.screen.LineCount; ++line)
        if (s.screen.Descriptors[line].field == field && s.screen.Descriptors[line].value2 == value2) return line - 1;
    return -1;
}

// Selects the row and presses OK.
void EditRow(MainWindow& w, int row) {
    QVERIFY(row >= 0);
    w.workForm()->list()->setCurrentRow(row);
    QTest::mouseClick(w.workForm()->okButton(), Qt::LeftButton);
}

std::string FileBytes(const std::string& path, long offset, int count) {
    std::ifstream in(path, std::ios::binary);
    std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return offset + count <= static_cast<long>(all.size()) ? all.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(count)) : std::string();
}

}  // namespace

class SectionFlowTest : public QObject {
    Q_OBJECT

private slots:
    // display -> one entry through the dialog, then a counted range through
    // its range entry -> the .MY2 holds both.
    void DisplayTextsOnAFileSet() {
        ProgramFolder folder;
        folder.WriteLanguage("Test");
        folder.WriteSettings("Test");
        folder.CopyDefaultSet("PLANT");
        const std::string texts = folder.File("PLANT.MY2");
        GuiProgram p(folder);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        QVERIFY(OpenFileSet(p, folder.File("PLANT.CY2")));

        Script edit;
        edit.Do("click display", [&] { ClickToolbar(w, "display"); })
            .Then("texts list", [&] { return EditScreenShowing(p); },
                  [&] {
                      QCOMPARE(w.workForm()->list()->count(), 458);
                      QVERIFY(w.workForm()->exportButton()->isVisible());
                      EditRow(w, RowOf(p.session(), 1, 2));
                  })
            .Then("message dialog", [] { return ModalIs("FRMInpMsg"); },
                  [] {
                      auto* box = ModalChild<QLineEdit>("TXTStringa");
                      box->selectAll();
                      QTest::keyClicks(box, QStringLiteral("INGRESSO"));
                      QTest::keyClick(box, Qt::Key_Return);
                  })
            .Then("written", [&] { return !Modal() && FileBytes(texts, 16, 16) == "INGRESSO        "; },
                  [&] {
                      QVERIFY(w.workForm()->list()->item(2)->text().contains(QStringLiteral("\"INGRESSO        \"")));
                      EditRow(w, RowOf(p.session(), 2, 5));
                  })
            .Then("message dialog again", [] { return ModalIs("FRMInpMsg"); },
                  [] {
                      ModalChild<QPushButton>("CMDImpGrup")->click();
                      ModalChild<QLineEdit>("TXTA")->setText(QStringLiteral("8"));
                      auto* box = ModalChild<QLineEdit>("TXTStringa");
                      box->setText(QStringLiteral("PIANO 1"));
                      ModalChild<QPushButton>("CMDOk")->click();
                  })
            .Then("range written", [&] { return !Modal() && FileBytes(texts, 6400 + 7 * 16, 16) == "PIANO 4         "; },
                  [&] { QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton); });
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !w.workForm()->EditScreenVisible(); }, &edit),
                 qPrintable(edit.FailedStep()));
        QCOMPARE(FileBytes(texts, 6400 + 4 * 16, 16), std::string("PIANO 1         "));
        QVERIFY(!w.workForm()->exportButton()->isVisible());
    }

    // parcom on the panel -> a new plant code -> the panel holds it and
    // closing (the next frames) still reaches the panel.
    void PlantCodeOnThePanel() {
        PanelBench bench;
        LoopbackTransport& panel = bench.panel;
        GuiProgram p(bench.folder, &panel);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        Script open;
        OpenFromPanel(open, w);
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p); }, &open), qPrintable(open.FailedStep()));

        Script edit;
        edit.Do("click parcom", [&] { ClickToolbar(w, "parcom"); })
            .Then("identity list", [&] { return EditScreenShowing(p); },
                  [&] { EditRow(w, RowOf(p.session(), 2, 2)); })
            .Then("plant code dialog", [] { return ModalIs("FRMInput"); },
                  [] {
                      auto* box = ModalChild<QLineEdit>("TXTNumero");
                      box->selectAll();
                      QTest::keyClicks(box, QStringLiteral("42"));
                      QTest::keyClick(box, Qt::Key_Return);
                  })
            .Then("written", [&] { return !Modal() && panel.Panel().PlantCode() == 42; },
                  [&] { QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton); });
        // The sample panel rewrites its parameters on a send: the warning comes.
        QTimer ack;
        int boxes = 0;
        QObject::connect(&ack, &QTimer::timeout, [&] {
            if (auto* box = ModalAs<QMessageBox>()) {
                ++boxes;
                box->accept();
            }
        });
        ack.start(5);
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !w.workForm()->EditScreenVisible(); }, &edit),
                 qPrintable(edit.FailedStep()));
        QCOMPARE(p.session().settings.PlantCode, std::string("42"));
        ClickToolbar(w, "chiude");
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        QVERIFY(!panel.Panel().InProgrammingMode());  // the last frame went through
        QCOMPARE(panel.Panel().Stats().badFrames, 0);
    }

    // opsup on a file set -> past the warning -> a general setting -> the
    // byte is in the .CY2.
    void AdvancedOptionsOnAFileSet() {
        ProgramFolder folder;
        folder.WriteLanguage("Test");
        folder.WriteSettings("Test");
        folder.CopyDefaultSet("PLANT");
        GuiProgram p(folder);
        MainWindow& w = p.window();
        QVERIFY(p.RunUntil([&] { return Home(p); }));
        QVERIFY(OpenFileSet(p, folder.File("PLANT.CY2")));

        const std::string main = folder.File("PLANT.CY2");
        const int wanted = FileBytes(main, 127, 1) == std::string(1, '\x21') ? 34 : 33;
        Script edit;
        edit.Do("click opsup", [&] { ClickToolbar(w, "opsup"); })
            .Then("warning", [] { return ModalAs<QMessageBox>() != nullptr; },
                  [] { ModalAs<QMessageBox>()->button(QMessageBox::Yes)->click(); })
            .Then("options list", [&] { return EditScreenShowing(p); },
                  [&] { EditRow(w, RowOf(p.session(), 2, 2)); })  // group 1, item 2: cell 127
            .Then("value dialog", [] { return ModalIs("FRMInput"); },
                  [wanted] {
                      auto* box = ModalChild<QLineEdit>("TXTNumero");
                      box->selectAll();
                      QTest::keyClicks(box, QString::number(wanted));
                      QTest::keyClick(box, Qt::Key_Return);
                  })
            .Then("written", [&] { return !Modal() && FileBytes(main, 127, 1) == std::string(1, char(wanted)); },
                  [&] { QTest::mouseClick(w.workForm()->cancelButton(), Qt::LeftButton); });
        QVERIFY2(p.RunUntil([&] { return ConfigOpen(p) && !w.workForm()->EditScreenVisible(); }, &edit),
                 qPrintable(edit.FailedStep()));
    }
};

#include "SectionFlowTest.moc"

int RunSectionFlowTest(int argc, char** argv) {
    SectionFlowTest t;
    return QTest::qExec(&t, argc, argv);
}
