// The main window: the main toolbar Toolbar1 (17 buttons, six of them open
// popup menus), the loop toolbar Toolbar2 (the loop-module views), the title
// area, the work form and the status area of the panel link (the serial
// settings, the status line, the send/receive indicator, the progress bar,
// the abort button with the timer that reveals it, and the timer that
// clears the status line). Its handlers only post a command to the main
// loop (main.PostCommand: SectionCommand, CommandOption, ToolbarButtonIndex,
// DiagnosticCommand) or raise AbortRequested; they never run a command
// themselves.
// The window keeps one size, cannot be maximised and refuses to close while
// the session's CloseBlocked is set.
#pragma once

#include <QMainWindow>
#include <map>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolBar;
class QToolButton;

namespace cfg::gui {

class QtUi;
class WorkForm;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QtUi&);

    WorkForm* workForm() const { return work_; }

    // --- toolbars ------------------------------------------------------------
    // Toolbar1 button by index 1..17 (nullptr for a spacer position).
    QAction* ToolbarButton(int index) const;
    QToolButton* ToolbarButtonWidget(int index) const;
    QAction* ToolbarButtonByKey(const QString& key) const;
    QAction* Toolbar2Button(int index) const;
    QToolBar* toolbar1() const { return toolbar1_; }
    QToolBar* toolbar2() const { return toolbar2_; }
    // Tool-tips of both toolbars from the message texts.
    void SetToolbarTips();
    void SetLoopToolbarVisible(bool);
    // The loop-module section: Toolbar2 in place of Toolbar1, the module's
    // caption box (two lines on a 0x00BBGGRR background; "" hides it), and
    // the state of Toolbar2's buttons.
    void ShowLoopToolbar(bool);
    void SetLoopCaption(const QString&, uint32_t background);
    QLabel* loopCaption() const { return loopCaption_; }
    void SetLoopButtonPressed(int position);

    // --- popup menus ---------------------------------------------------------
    // MenuButton1, 2, 3, 5, 11 or 17.
    QMenu* PopupMenu(int button) const;
    // An entry of menub1, menub2, ... by the popup's button and its index.
    QAction* PopupEntry(int button, int index) const;

    // --- title and status areas --------------------------------------------------
    void SetIdentification(const QString&);
    QLabel* statusLabel() const { return status_; }
    QLabel* settingsLabel() const { return settings_; }
    QLabel* txRxLabel() const { return rtx_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* abortButton() const { return abort_; }
    QTimer* statusTimer() const { return statusTimer_; }
    QTimer* abortTimer() const { return abortTimer_; }
    QLabel* identificationLabel() const { return heading_; }
    void SetStatusShown(bool);
    bool StatusShown() const { return statusShown_; }
    void SetTxRx(const QString&);
    void HideSectionControls();
    // The trace indicator beside the port settings: shown while every byte
    // on the line goes to `path`, which its tool-tip names.
    void SetTraceShown(bool shown, const QString& path);
    QLabel* traceLabel() const { return trace_; }

    // The fixed size of the window, chosen to fit the 80-column list.
    QSize FixedSize() const;

protected:
    void closeEvent(QCloseEvent*) override;
    void changeEvent(QEvent*) override;
    bool eventFilter(QObject*, QEvent*) override;

private:
    void BuildToolbars();
    void BuildPopupMenus();
    QWidget* BuildTitleArea();
    QWidget* BuildStatusArea();
    void Toolbar1Clicked(QAction*);
    void Toolbar2Clicked(QAction*);
    void PopupClicked(int button, int index);
    void OpenPopup(int button, QAction* at);
    void PrepareLoopModuleMenu();
    void StatusTimerFired();
    void AbortTimerFired();

    QtUi& ui_;
    WorkForm* work_;
    QToolBar* toolbar1_ = nullptr;
    QToolBar* toolbar2_ = nullptr;
    std::map<int, QAction*> buttons1_;
    std::map<int, QAction*> buttons2_;
    std::map<int, QMenu*> popups_;
    std::map<std::pair<int, int>, QAction*> entries_;
    QFrame* titleArea_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* loopCaption_ = nullptr;
    QLabel* clockLabel_ = nullptr;
    QLabel* settings_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* rtx_ = nullptr;
    QLabel* trace_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* abort_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    QTimer* abortTimer_ = nullptr;
    bool statusShown_ = false;
};

}  // namespace cfg::gui
