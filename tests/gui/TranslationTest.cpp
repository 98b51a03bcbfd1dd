// Form translation: captions, tool-tips, tags and tab captions are replaced
// from the form's own section; a language change re-translates every open
// form and the toolbar tool-tips at once.
#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <fstream>
#include <map>
#include <vector>

#include "GuiHarness.h"
#include "gui/AboutForm.h"
#include "gui/ClockProgrammerForm.h"
#include "gui/CopyFileForm.h"
#include "gui/InputForm.h"
#include "gui/MainWindow.h"
#include "gui/MenuForm.h"
#include "gui/MessageInputForm.h"
#include "gui/RelayParamsForm.h"
#include "gui/QtUi.h"
#include "gui/ScreenForm.h"
#include "gui/SensorInputForm.h"
#include "gui/Translate.h"
#include "gui/WorkForm.h"
#include "shell/SilentUi.h"
#include "shell/Language.h"
#include "shell/Session.h"
#include "shell/Settings.h"

using namespace cfg;
using namespace cfg::gui;
using namespace cfg::gui::test;

namespace {

// The least room a button leaves on each side of its caption.
constexpr int kCaptionRoom = 8;

void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The names of the language files shipped in data/.
std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const QString& file : QDir(QStringLiteral(CFG_SOURCE_DIR "/data")).entryList({QStringLiteral("*.lng")}, QDir::Files))
        names.push_back(QFileInfo(file).completeBaseName().toStdString());
    return names;
}

// Puts a shipped language file in the folder and makes it the chosen one.
bool UseShippedLanguage(ProgramFolder& folder, const std::string& language) {
    const QString file = QString::fromStdString(language + ".lng");
    if (!QFile::copy(QStringLiteral(CFG_SOURCE_DIR "/data/") + file, QString::fromStdString(folder.File(language + ".lng"))))
        return false;
    folder.WriteSettings(language);
    return true;
}

}  // namespace

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void TranslatesControlsArraysTabsAndStopsAtInnerForms() {
        QTemporaryDir dir;
        Write(dir.filePath(QStringLiteral("Lang.lng")).toStdString(),
              "[Strings]\n0001=x\n"
              "[FRMTest]\n"
              "FRMTest.Caption=Form title\n"
              "CMDOk.Caption=Confirm\nCMDOk.ToolTipText=Press to confirm\nCMDOk.Tag=ok-tag\n"
              "LBLX(3).Caption=Third\nLBLX.Caption=not an array element\n"
              "MNUA.Caption=&Menu A\nMNUA(0).Caption=Entry zero\n"
              "TABS.TabCaption(0)=First\nTABS.TabCaption(1)=Second\n"
              "LBLData.Caption=must stay\n"
              "[FRMInner]\n"
              "CMDOk.Caption=Inner OK\n");
        SilentUi ui;
        SystemClock clock;
        Session s(ui, clock);
        s.settings.ProgramFolder = dir.path().toStdString();
        s.settings.CurrentLanguage = "Lang";
        Translator tr(s);

        QWidget form;
        MarkForm(&form, "FRMTest");
        form.setWindowTitle(QStringLiteral("design"));
        auto* ok = new QPushButton(QStringLiteral("OK"), &form);
        SetControlName(ok, "CMDOk");
        auto* third = new QLabel(&form);
        SetControlName(third, "LBLX", 3);
        auto* menu = new QMenu(&form);
        SetControlName(menu, "MNUA");
        QAction* entry = menu->addAction(QStringLiteral("design entry"));
        SetControlName(entry, "MNUA", 0);
        QAction* separator = menu->addSeparator();
        SetControlName(separator, "MNUA", 1);
        auto* tabs = new QTabWidget(&form);
        SetControlName(tabs, "TABS");
        tabs->addTab(new QWidget, QStringLiteral("a"));
        tabs->addTab(new QWidget, QStringLiteral("b"));
        auto* data = new QLabel(QStringLiteral("COM7"), &form);
        SetControlName(data, "LBLData");
        KeepCaption(data);
        auto* inner = new QWidget(&form);
        MarkForm(inner, "FRMInner");
        auto* innerOk = new QPushButton(QStringLiteral("OK"), inner);
        SetControlName(innerOk, "CMDOk");

        tr.TranslateForm(&form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Form title"));
        QCOMPARE(ok->text(), QStringLiteral("Confirm"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Press to confirm"));
        QCOMPARE(ok->property("Tag").toString(), QStringLiteral("ok-tag"));
        QCOMPARE(third->text(), QStringLiteral("Third"));
        QCOMPARE(menu->title(), QStringLiteral("&Menu A"));
        QCOMPARE(entry->text(), QStringLiteral("Entry zero"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("First"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Second"));
        QCOMPARE(data->text(), QStringLiteral("COM7"));
        // The inner form has its own section and is translated on its own.
        QCOMPARE(innerOk->text(), QStringLiteral("OK"));
        tr.TranslateForm(inner);
        QCOMPARE(innerOk->text(), QStringLiteral("Inner OK"));

        // A form without a caption keeps it empty; a missing key changes nothing.
        QWidget bare;
        MarkForm(&bare, "FRMTest");
        auto* other = new QPushButton(QStringLiteral("design"), &bare);
        SetControlName(other, "CMDOther");
        tr.TranslateForm(&bare);
        QCOMPARE(bare.windowTitle(), QString());
        QCOMPARE(other->text(), QStringLiteral("design"));
    }

    // Every caption the forms show comes from each shipped language file:
    // a control whose key is missing would keep its design-time caption in
    // every language.
    void EveryCaptionOfTheFormsComesFromEachLanguageFile() {
        const std::vector<std::string> languages = ShippedLanguages();
        QVERIFY(languages.size() >= 2);
        for (const std::string& language : languages) {
            ProgramFolder folder;
            QVERIFY(UseShippedLanguage(folder, language));
            GuiProgram p(folder);
            QtUi& ui = p.program().ui();
            Session& s = p.session();
            Translator& tr = ui.translator();

            // The forms that exist only while a dialog runs, built as the Ui builds them.
            InputForm input(tr, nullptr);
            MessageInputForm message(s, tr, nullptr);
            MenuForm menu(tr, nullptr);
            CopyFileForm copy(tr, nullptr);
            RelayParamsForm relay(tr, "9600", "11", nullptr);
            AboutForm about(tr, s.settings.ProgramFolder, nullptr);
            ScreenForm screen(s, tr, nullptr);
            ClockProgrammerForm clock(tr, nullptr);
            SensorInputForm sensor(tr, nullptr);
            const std::vector<QWidget*> forms = {&p.window(), p.window().workForm(), &input, &message, &menu,
                                                 &copy,       &relay,            &about, &screen, &clock, &sensor};
            QStringList missing;
            for (QWidget* form : forms) {
                const std::string section = form->objectName().toStdString();
                for (QObject* c : form->findChildren<QObject*>()) {
                    const QString name = c->objectName();
                    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || c->property("cfgKeepCaption").toBool())
                        continue;
                    // Controls of a form inside this one belong to that form.
                    QObject* owner = c->parent();
                    while (owner && owner != form && !owner->property("cfgForm").toBool()) owner = owner->parent();
                    if (owner != form) continue;
                    QString caption;
                    if (auto* b = qobject_cast<QAbstractButton*>(c)) caption = b->text();
                    else if (auto* l = qobject_cast<QLabel*>(c)) caption = l->text();
                    else if (auto* g = qobject_cast<QGroupBox*>(c)) caption = g->title();
                    else if (auto* m = qobject_cast<QMenu*>(c)) caption = m->title();
                    else if (auto* a = qobject_cast<QAction*>(c); a && !a->isSeparator()) caption = a->text();
                    if (caption.isEmpty()) continue;
                    const std::string key = ControlKey(name.toStdString(), ControlIndex(c), "Caption");
                    if (FormText(s, section, key).empty())
                        missing << QString::fromStdString(language + ": [" + section + "] " + key);
                }
            }
            // Every toolbar button says what it does.
            for (int i = 1; i <= 17; ++i)
                if (QAction* a = p.window().ToolbarButton(i); a && a->toolTip().isEmpty())
                    missing << QString::fromStdString(language) + QStringLiteral(": Toolbar1 button %1").arg(i);
            for (int i = 1; i <= 8; ++i)
                if (QAction* a = p.window().Toolbar2Button(i); a && a->toolTip().isEmpty())
                    missing << QString::fromStdString(language) + QStringLiteral(": Toolbar2 button %1").arg(i);
            QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
        }
    }

    // The choice menu's buttons take the width of the longest caption, in
    // every shipped language: no transfer choice is cut at its edge.
    void TransferMenusShowWholeCaptions() {
        const std::vector<std::string> languages = ShippedLanguages();
        QVERIFY(languages.size() >= 2);
        for (const std::string& language : languages) {
            ProgramFolder folder;
            QVERIFY(UseShippedLanguage(folder, language));
            GuiProgram p(folder);
            QtUi& ui = p.program().ui();
            // Receive and send menus: title and five entries each.
            for (int title : {435, 461}) {
                ChoiceRequest req;
                req.title = GetText(p.session(), title);
                for (int i = 1; i <= 5; ++i) req.items.push_back(GetText(p.session(), title + i));
                QStringList cut;
                Script script;
                script.Then("menu", [] { return ModalIs("FRMMenu"); },
                            [&cut, language] {
                                for (QPushButton* b : Modal()->findChildren<QPushButton*>(QStringLiteral("CMDSele"))) {
                                    // The button's own measure, and the caption with room on
                                    // both sides, so that it does not touch the right edge.
                                    const int text = b->fontMetrics().horizontalAdvance(b->text()) + 2 * kCaptionRoom;
                                    if (b->width() < b->sizeHint().width() || b->width() < text)
                                        cut << QString::fromStdString(language) + QStringLiteral(": \"%1\" %2 < %3")
                                                                                      .arg(b->text())
                                                                                      .arg(b->width())
                                                                                      .arg(std::max(b->sizeHint().width(), text));
                                }
                                QTest::keyClick(Modal(), Qt::Key_Escape);
                            });
                QCOMPARE(ui.AskChoice(req), -1);
                QVERIFY(script.Done());
                QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
            }
        }
    }

    // In every shipped language no menu offers two entries with the same
    // underlined letter: the second would never be reached from the keyboard.
    void NoMenuRepeatsAShortcutLetter() {
        const std::vector<std::string> languages = ShippedLanguages();
        QVERIFY(languages.size() >= 2);
        // The letter after a single '&', lower-cased; none for "&&" alone.
        auto mnemonic = [](const QString& text) -> QChar {
            for (int i = 0; i + 1 < text.size(); ++i) {
                if (text[i] != QLatin1Char('&')) continue;
                if (text[i + 1] == QLatin1Char('&')) {
                    ++i;
                    continue;
                }
                return text[i + 1].toLower();
            }
            return {};
        };
        for (const std::string& language : languages) {
            ProgramFolder folder;
            QVERIFY(UseShippedLanguage(folder, language));
            GuiProgram p(folder);
            p.window().workForm()->FillSettingsMenu();
            // Every menu, and the menu bars, as lists of entries.
            std::vector<std::pair<QString, QList<QAction*>>> menus;
            for (QWidget* root : std::vector<QWidget*>{&p.window(), p.window().workForm()}) {
                for (QMenu* m : root->findChildren<QMenu*>()) menus.emplace_back(m->objectName(), m->actions());
                for (QMenuBar* b : root->findChildren<QMenuBar*>()) menus.emplace_back(QStringLiteral("menu bar"), b->actions());
            }
            QVERIFY(menus.size() >= 7);
            QStringList clashes;
            for (const auto& [name, actions] : menus) {
                std::map<QChar, QString> taken;
                for (QAction* a : actions) {
                    const QChar letter = mnemonic(a->text());
                    if (letter.isNull() || !a->isVisible()) continue;
                    auto [it, fresh] = taken.emplace(letter, a->text());
                    if (!fresh)
                        clashes << QString::fromStdString(language) + QStringLiteral(": %1: \"%2\" and \"%3\"")
                                                                          .arg(name, it->second, a->text());
                }
            }
            QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
        }
    }

    void LanguageChangeRetranslatesEveryOpenForm() {
        ProgramFolder folder;
        auto forms = [](const char* tag) {
            return std::string("[MDIMainForm]\nMDIMainForm.Caption=Main ") + tag + "\nCMDAbrtx.Caption=Stop " + tag +
                   "\nmenub3(0).Caption=From file " + tag + "\n[FRMCfgvimo]\nCMDFow.Caption=Next " + tag +
                   "\nMNUImpostazioni.Caption=Settings " + tag + "\n[FRMScreen]\nCMDScreen.Caption=Close " + tag +
                   "\n";
        };
        folder.WriteLanguage("Alpha", "A", forms("A"));
        folder.WriteLanguage("Beta", "B", forms("B"));
        folder.WriteSettings("Alpha");
        GuiProgram p(folder);
        MainWindow& w = p.window();
        QtUi& ui = p.program().ui();
        QCOMPARE(w.abortButton()->text(), QStringLiteral("Stop A"));
        QCOMPARE(w.workForm()->forwardButton()->text(), QStringLiteral("Next A"));
        QCOMPARE(w.workForm()->settingsMenu()->title(), QStringLiteral("Settings A"));
        QCOMPARE(w.PopupEntry(3, 0)->text(), QStringLiteral("From file A"));
        QCOMPARE(w.ToolbarButton(1)->toolTip(), QStringLiteral("A1500"));
        QCOMPARE(w.Toolbar2Button(2)->toolTip(), QStringLiteral("A1520"));

        ui.OpenScreen("clock", 8, 32);
        QVERIFY(ui.ScreenOpen());
        QCOMPARE(ui.screenForm()->closeButton()->text(), QStringLiteral("Close A"));

        const auto languages = w.workForm()->languageMenu()->actions();
        QCOMPARE(languages.size(), 2);
        QVERIFY(languages[0]->isChecked());
        languages[1]->trigger();

        QCOMPARE(w.abortButton()->text(), QStringLiteral("Stop B"));
        QCOMPARE(w.workForm()->forwardButton()->text(), QStringLiteral("Next B"));
        QCOMPARE(w.workForm()->settingsMenu()->title(), QStringLiteral("Settings B"));
        QCOMPARE(w.PopupEntry(3, 0)->text(), QStringLiteral("From file B"));
        QCOMPARE(w.ToolbarButton(17)->toolTip(), QStringLiteral("B1516"));
        QCOMPARE(ui.screenForm()->closeButton()->text(), QStringLiteral("Close B"));
        QCOMPARE(QString::fromStdString(GetText(p.session(), 397)), QStringLiteral("B0397"));
        // The home screen's caption comes back with the version in the new words.
        QCOMPARE(w.windowTitle(), QStringLiteral("CFG-VeltranoB03971.3"));
        QVERIFY(!languages[0]->isChecked());
        QVERIFY(languages[1]->isChecked());
        QCOMPARE(GetProfileString(folder.File("CFG-Veltrano.ini"), "Language", "CurrentLanguage", ""),
                 std::string("Beta"));
        ui.CloseScreen();
    }
};

#include "TranslationTest.moc"

int RunTranslationTest(int argc, char** argv) {
    TranslationTest t;
    return QTest::qExec(&t, argc, argv);
}
