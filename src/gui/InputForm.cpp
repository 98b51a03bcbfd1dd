#include "InputForm.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"
#include "shell/Input.h"
#include "shell/Text.h"

namespace cfg::gui {

InputForm::InputForm(Translator& tr, QWidget* parent) : QDialog(parent), tr_(tr) {
    SetUpDialog(this, "FRMInput");
    prompt_ = NewPromptLabel(this);

    number_ = new QLineEdit(this);
    SetControlName(number_, "TXTNumero");
    number_->setAlignment(Qt::AlignRight);
    number_->setMaxLength(12);
    number_->setFixedWidth(110);
    text_ = new QLineEdit(this);
    SetControlName(text_, "TXTStringa");
    list_ = new QComboBox(this);
    SetControlName(list_, "CMBInp");
    list_->setMinimumContentsLength(24);
    range_ = new QLabel(this);
    SetControlName(range_, "LBLRange");
    KeepCaption(range_);

    // Date and time: day / month / year  hours : minutes : seconds.
    dateBox_ = new QWidget(this);
    auto* grid = new QGridLayout(dateBox_);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* dateLabel = new QLabel(QStringLiteral("Data"), dateBox_);
    SetControlName(dateLabel, "LBLData");
    auto* timeLabel = new QLabel(QStringLiteral("Ora"), dateBox_);
    SetControlName(timeLabel, "LBLOra");
    static const char* kFieldNames[6] = {"TXTGiorno", "TXTMese", "TXTAnno", "TXTOre", "TXTMinuti", "TXTSecondi"};
    for (int i = 0; i < 6; ++i) {
        auto* f = new QLineEdit(dateBox_);
        SetControlName(f, kFieldNames[i]);
        f->setAlignment(Qt::AlignCenter);
        f->setMaxLength(i == 2 ? 4 : 2);
        f->setFixedWidth(i == 2 ? 56 : 36);
        dateFields_[static_cast<std::size_t>(i)] = f;
    }
    auto sep = [this](const char* t) {
        auto* l = new QLabel(QString::fromLatin1(t), dateBox_);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    // Row 0: the date fields 0..2 between "/"; row 1: the time fields 3..5
    // between ":".
    const std::array<QLabel*, 2> rowLabels{dateLabel, timeLabel};
    const std::array<const char*, 2> separators{"/", ":"};
    for (int row = 0; row < 2; ++row) {
        grid->addWidget(rowLabels[static_cast<std::size_t>(row)], row, 0);
        for (int i = 0; i < 3; ++i) {
            if (i > 0) grid->addWidget(sep(separators[static_cast<std::size_t>(row)]), row, 2 * i);
            grid->addWidget(dateFields_[static_cast<std::size_t>(3 * row + i)], row, 2 * i + 1);
        }
    }
    grid->setColumnStretch(6, 1);

    ok_ = NewButton(this, "CMDOk", QStringLiteral("OK"), true);
    abort_ = NewButton(this, "CMDAbort", QStringLiteral("Annulla"));
    connect(ok_, &QPushButton::clicked, this, &InputForm::Confirm);
    connect(abort_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(abort_);

    auto* field = new QHBoxLayout;
    field->addWidget(number_);
    field->addWidget(range_);
    field->addWidget(text_, 1);
    field->addWidget(list_, 1);
    field->addStretch(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addLayout(field);
    layout->addWidget(dateBox_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    tr_.TranslateForm(this);
}

bool InputForm::AcceptsNumber(const ValueRequest& req, const QString& text, double& value) {
    return cfg::AcceptsNumber(req, S(text), value);
}

void InputForm::ShowLayout(bool dateTime) {
    dateMode_ = dateTime;
    dateBox_->setVisible(dateTime);
    number_->setVisible(!dateTime && req_.kind == 1);
    range_->setVisible(!dateTime && req_.kind == 1);
    text_->setVisible(!dateTime && req_.kind == 2);
    list_->setVisible(!dateTime && req_.kind == 3);
}

void InputForm::Confirm() {
    if (!dateMode_ && req_.kind == 1) {
        double v = 0;
        if (!AcceptsNumber(req_, number_->text(), v)) {
            QApplication::beep();
            range_->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
            number_->selectAll();
            number_->setFocus();
            return;
        }
    }
    accept();
}

ValueAnswer InputForm::Ask(const ValueRequest& req, QWidget* anchor) {
    req_ = req;
    ShowTitleAndPrompt(this, prompt_, req.title, req.prompt);
    ShowLayout(false);
    QWidget* focus = nullptr;
    switch (req.kind) {
    case 1:
        number_->setText(Q(req.initialText).trimmed());
        number_->selectAll();
        range_->setText(QStringLiteral("(%1 \u2026 %2)").arg(Q(cfg::NumberText(req.minimum)), Q(cfg::NumberText(req.maximum))));
        range_->setStyleSheet(QString());
        focus = number_;
        break;
    case 2:
        text_->setMaxLength(req.maxLength > 0 ? req.maxLength : 32767);
        text_->setText(Q(req.initialText));
        text_->selectAll();
        focus = text_;
        break;
    case 3:
        list_->clear();
        for (const auto& item : req.items) list_->addItem(Q(item));
        if (req.initialIndex >= 0 && req.initialIndex < list_->count()) list_->setCurrentIndex(req.initialIndex);
        focus = list_;
        break;
    default:
        focus = ok_;
        break;
    }
    PlaceForm(this, anchor, req.top, req.left);
    if (focus) focus->setFocus();

    ValueAnswer answer;
    if (exec() != QDialog::Accepted) return answer;
    answer.confirmed = true;
    switch (req.kind) {
    case 1: {
        answer.text = S(number_->text().trimmed());
        double v = 0;
        if (AcceptsNumber(req_, number_->text(), v)) answer.number = v;
        break;
    }
    case 2:
        answer.text = S(text_->text());
        break;
    case 3:
        answer.index = list_->currentIndex();
        break;
    default:
        break;
    }
    return answer;
}

bool InputForm::AskDateTime(const std::string& title, DateTimeFields& fields, int focusField, QWidget* anchor) {
    req_ = ValueRequest{};
    req_.kind = 0;
    ShowTitleAndPrompt(this, prompt_, title, "");
    ShowLayout(true);
    for (int i = 0; i < 6; ++i) dateFields_[static_cast<std::size_t>(i)]->setText(Q(fields.field[static_cast<std::size_t>(i)]));
    PlaceForm(this, anchor, 0, 0);
    QLineEdit* focus = dateFields_[static_cast<std::size_t>(focusField >= 0 && focusField < 6 ? focusField : 0)];
    focus->selectAll();
    focus->setFocus();
    if (focusField >= 0) QApplication::beep();
    if (exec() != QDialog::Accepted) return false;
    for (int i = 0; i < 6; ++i) fields.field[static_cast<std::size_t>(i)] = S(dateFields_[static_cast<std::size_t>(i)]->text());
    return true;
}

}  // namespace cfg::gui
