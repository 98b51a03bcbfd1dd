// The work area inside the main window (captions under [FRMCfgvimo] in the
// language files). It shows the home picture while no configuration is open,
// the identification of the open configuration (the configuration view), and
// the editing screen: the lines of a section in a fixed-pitch font with the
// buttons OK, Cancel, Fwd, Rev and Reset. Its buttons only raise the
// session's flags; the editor that waits polls them. It also owns the
// settings menu (ports, any port by name, baud rates, plant code, the serial
// trace switch), the language menu and the information entry, which the main
// window shows in its menu bar.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace cfg::gui {

class QtUi;

class WorkForm : public QWidget {
    Q_OBJECT
public:
    explicit WorkForm(QtUi&, QWidget* parent);

    // --- the work area -------------------------------------------------------
    void SetTitle(const QString&);
    void SetConfigViewVisible(bool);
    void SetIdentification(const QString&);
    void ShowEditScreen(const QString& title, const QString& ok, const QString& cancel);
    void HideEditScreen();
    void SetListLines(const std::vector<std::string>& lines, int top, int selected);
    int ListTopIndex() const;
    int ListSelectedIndex() const;
    void SetListSelectedIndex(int);
    void SetEditButtons(bool forward, bool reverse, bool reset);
    // The display texts' export and import buttons.
    void SetBulkTextButtons(bool visible);

    // --- menus -----------------------------------------------------------------
    QMenu* settingsMenu() const { return settings_; }
    // The backups folder and the backup before every send.
    QAction* backupFolderAction() const { return backupFolder_; }
    QAction* backupBeforeSendAction() const { return backupBeforeSend_; }
    QMenu* languageMenu() const { return languages_; }
    QAction* infoAction() const { return info_; }
    // The information menu: the user guide (F1) and the information box.
    QMenu* helpMenu() const { return help_; }
    QAction* guideAction() const { return guide_; }
    void SetMenusEnabled(bool);
    // Rebuilds the port and baud entries and ticks the current ones.
    void FillSettingsMenu();
    // Ticks the port and baud entries that the settings name.
    void MarkSettings();
    // Ticks the trace entry and shows the status area's trace indicator.
    void ShowTraceState(bool on);
    QAction* otherPortAction() const { return otherPort_; }
    QAction* traceAction() const { return trace_; }
    QMenu* portMenu() const { return ports_; }
    void FillLanguageMenu(const std::vector<std::string>& names, const std::string& current);
    void MarkLanguage(const std::string& current);

    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* forwardButton() const { return fwd_; }
    QPushButton* reverseButton() const { return rev_; }
    QPushButton* resetButton() const { return reset_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* importButton() const { return import_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* identificationLabel() const { return ident_; }
    bool EditScreenVisible() const { return editShown_; }
    bool ConfigViewVisible() const { return configShown_; }
    // Width in pixels that the list needs for 80 columns.
    int ListWidthFor80Columns() const;

protected:
    bool eventFilter(QObject*, QEvent*) override;

private:
    void UpdateVisibility();
    void SettingsMenuOpening();

    QtUi& ui_;
    QLabel* title_;
    QLabel* logo_;
    QFrame* identFrame_;
    QLabel* ident_;
    QWidget* editArea_;
    QListWidget* list_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* fwd_;
    QPushButton* rev_;
    QPushButton* reset_;
    QPushButton* export_;
    QPushButton* import_;
    QMenu* settings_;
    QMenu* ports_;
    QMenu* bauds_;
    QAction* plantCode_;
    QAction* backupFolder_;
    QAction* backupBeforeSend_;
    QAction* otherPort_;
    QAction* trace_;
    QMenu* languages_;
    QAction* info_;
    QMenu* help_;
    QAction* guide_;
    QString homeTitle_;
    bool configShown_ = false;
    bool editShown_ = false;
};

}  // namespace cfg::gui
