// The clock programmer's window. A strip of the seven weekdays (each shows
// how many programs it holds), and three pages: the programs of the chosen
// day, one row each with its time, its eight channel indicators (lit like the
// panel's LEDs: dark = unchanged, red = off, green = on) and its buttons; the
// holidays; the two closing periods. Every control only records what the user
// did; the core acts on it and sends a new view.
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QPushButton>
#include <array>
#include <optional>

#include "shell/ClockProgrammerUi.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QStackedWidget;
class QTabWidget;

namespace cfg::gui {

class Translator;

// One channel indicator: a round LED in one of the three states. A click,
// Space or Enter asks for the next state.
class ChannelLed : public QAbstractButton {
    Q_OBJECT
public:
    explicit ChannelLed(QWidget* parent);
    void SetState(ChannelState);
    ChannelState State() const { return state_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    ChannelState state_ = ChannelState::Unchanged;
};

// A weekday button that also shows its number of programs as a row of dots.
class DayButton : public QPushButton {
    Q_OBJECT
public:
    explicit DayButton(QWidget* parent);
    void SetCount(int);
    int Count() const { return count_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int count_ = 0;
};

class ClockProgrammerForm : public QDialog {
    Q_OBJECT
public:
    ClockProgrammerForm(Translator&, QWidget* parent);

    // Shows `view`; the user's next action is then kept for TakeAction.
    void Show(const ClockProgrammerView& view);
    // The action the user chose since the last Show, if any.
    std::optional<ClockEvent> TakeAction();

    // For tests and the keyboard: the controls.
    DayButton* dayButton(int day) const { return days_[static_cast<std::size_t>(day)]; }
    ChannelLed* led(int row, int channel) const;
    QPushButton* timeButton(int row) const { return times_[static_cast<std::size_t>(row)]; }
    QPushButton* modifyButton(int row) const { return modify_[static_cast<std::size_t>(row)]; }
    QPushButton* copyButton(int day) const { return copy_[static_cast<std::size_t>(day)]; }
    QTabWidget* pages() const { return pages_; }
    QListWidget* holidayList() const { return holidays_; }

protected:
    void reject() override;  // Escape or the frame's close button: the window closes

private:
    void Record(ClockEvent);
    void Record(ClockAction, int row = 0, int channel = 0, int target = 0);
    void BuildProgramsPage(QWidget* page);
    void BuildHolidaysPage(QWidget* page);
    void BuildPeriodsPage(QWidget* page);
    int FocusedRow() const;

    Translator& tr_;
    ClockProgrammerView view_;
    bool shown_ = false;
    std::optional<ClockEvent> action_;

    std::array<DayButton*, kClockDays> days_{};
    QTabWidget* pages_ = nullptr;
    QGroupBox* programsFrame_ = nullptr;
    QLabel* noPrograms_ = nullptr;
    std::array<QLabel*, 3> headings_{};
    std::array<QLabel*, kProgramsPerDay> numbers_{};
    std::array<QPushButton*, kProgramsPerDay> times_{};
    std::array<std::array<ChannelLed*, kChannels>, kProgramsPerDay> leds_{};
    std::array<QPushButton*, kProgramsPerDay> modify_{};
    std::array<QPushButton*, kProgramsPerDay> clear_{};
    QGroupBox* copyFrame_ = nullptr;
    std::array<QPushButton*, kClockDays> copy_{};
    QLabel* legend_ = nullptr;
    QLabel* notice_ = nullptr;

    QGroupBox* holidaysFrame_ = nullptr;
    QListWidget* holidays_ = nullptr;
    QLabel* noHolidays_ = nullptr;
    QPushButton* addHoliday_ = nullptr;
    QPushButton* editHoliday_ = nullptr;
    QPushButton* removeHoliday_ = nullptr;

    QGroupBox* periodsFrame_ = nullptr;
    std::array<QLabel*, kPeriods> periodName_{}, periodText_{};
    std::array<QPushButton*, kPeriods> periodEdit_{}, periodClear_{};
};

}  // namespace cfg::gui
