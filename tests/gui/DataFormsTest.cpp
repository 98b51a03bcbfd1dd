// The backups list and the comparison window: what the keyboard does in
// them and what they answer.
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <iterator>

#include "GuiHarness.h"
#include "gui/CompareWindow.h"
#include "gui/QtUi.h"

using namespace cfg;
using namespace cfg::gui;
using namespace cfg::gui::test;

namespace {

BackupListView ThreeBackups() {
    BackupListView v;
    v.title = "Backups";
    v.folderLabel = "Folder: /b";
    v.columns = {"Date", "Installation", "Panel", "Kept because", "Files"};
    v.rows = {{"05/12/2026 10:00:00", "SCUOLA", "VS2", "received", "CY2 PY2 UY2 MY2", "/b/S1"},
              {"04/12/2026 10:00:00", "SCUOLA", "VS2", "before a send", "CY2 MY2", "/b/S2"},
              {"01/12/2026 10:00:00", "HOTEL", "no serial number", "received", "CY2 PY2 UY2 MY2", "/b/H"}};
    v.openCaption = "Open";
    v.cancelCaption = "Close";
    return v;
}

ComparisonView TwoGroups() {
    ComparisonView v;
    v.title = "Comparison";
    v.first = "A: ONE";
    v.second = "B: TWO";
    v.summary = "Differences: 3";
    v.groups = {{"Times", {"Pre-alarm verification time: 10s \xE2\x86\x92 11s"}},
                {"Display messages", {"Point no. 1: \"A\" \xE2\x86\x92 \"B\"", "Point no. 2: \"C\" \xE2\x86\x92 \"D\""}}};
    v.reportLines = {"Comparison", "A: ONE", "B: TWO"};
    v.saveCaption = "Save as text...";
    v.closeCaption = "Close";
    return v;
}

}  // namespace

class DataFormsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder_;
    std::unique_ptr<GuiProgram> program_;

    QtUi& ui() { return program_->program().ui(); }

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

    // The newest set has the focus; Down and Enter open the next one.
    void BackupsListOpensTheRowInFocus() {
        Script script;
        script.Then("list", [] { return ModalIs("FRMBackups"); },
                    [] {
                        auto* list = ModalChild<QTreeWidget>("LSTBackup");
                        QCOMPARE(list->topLevelItemCount(), 3);
                        QCOMPARE(list->columnCount(), 5);
                        QCOMPARE(list->currentItem()->text(1), QStringLiteral("SCUOLA"));
                        QCOMPARE(list->topLevelItem(2)->text(2), QStringLiteral("no serial number"));
                        QTest::keyClick(list, Qt::Key_Down);
                        QTest::keyClick(list, Qt::Key_Return);
                    });
        QCOMPARE(ui().ChooseBackup(ThreeBackups()), 1);
        QVERIFY(script.Done());

        Script cancel;
        cancel.Then("list", [] { return ModalIs("FRMBackups"); },
                    [] { QTest::keyClick(ModalChild<QTreeWidget>("LSTBackup"), Qt::Key_Escape); });
        QCOMPARE(ui().ChooseBackup(ThreeBackups()), -1);
        QVERIFY(cancel.Done());
    }

    // Groups open with their count; Left folds the group in focus; the text
    // report is written as the core gave it.
    void ComparisonWindowGroupsAndSaves() {
        CompareWindow window(ui().translator(), nullptr);
        window.Fill(TwoGroups());
        QTreeWidget* tree = window.tree();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Display messages  (2)"));
        QCOMPARE(tree->topLevelItem(1)->child(1)->text(0), QString::fromUtf8("Point no. 2: \"C\" \xE2\x86\x92 \"D\""));
        QVERIFY(tree->topLevelItem(1)->isExpanded());
        window.show();
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(tree->currentItem(), tree->topLevelItem(1));
        QTest::keyClick(tree, Qt::Key_Left);
        QVERIFY(!tree->topLevelItem(1)->isExpanded());

        QTemporaryDir dir;
        const QString path = dir.filePath("report.txt");
        QVERIFY(window.SaveReport(path));
        std::ifstream in(path.toStdString(), std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        QCOMPARE(text, std::string("Comparison\nA: ONE\nB: TWO\n"));
        QVERIFY(!window.SaveReport(dir.filePath("no/such/folder/report.txt")));
    }

    // Through the Ui: the window waits until it is closed.
    void ComparisonClosesWithEscape() {
        Script script;
        script.Then("window", [] { return ModalIs("FRMCompare"); },
                    [] { QTest::keyClick(ModalChild<QTreeWidget>("TRVDifferenze"), Qt::Key_Escape); });
        ui().ShowComparison(TwoGroups());
        QVERIFY(script.Done());
    }
};

#include "DataFormsTest.moc"

int RunDataFormsTest(int argc, char** argv) {
    DataFormsTest t;
    return QTest::qExec(&t, argc, argv);
}
