#include "SensorInputForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

SensorInputForm::SensorInputForm(Translator& tr, QWidget* parent) : QDialog(parent) {
    SetUpDialog(this, "FRMInpSen");
    prompt_ = NewPromptLabel(this);
    // The prompt shows the point's line: its columns should align.
    prompt_->setFont(FixedFont(10));
    group_ = NewButton(this, "CMDImpGrup", QStringLiteral("Imposta gruppo"), true);
    type_ = NewButton(this, "CMDImpTip", QStringLiteral("Imposta tipo"));
    ok_ = NewButton(this, "CMDOk", QStringLiteral("OK"));
    cancel_ = NewButton(this, "CMDCanc", QStringLiteral("Annulla"));
    auto answer = [this](int result) {
        result_ = result;
        accept();
    };
    connect(group_, &QPushButton::clicked, this, [answer] { answer(kSensorInputGroup); });
    connect(type_, &QPushButton::clicked, this, [answer] { answer(kSensorInputType); });
    connect(ok_, &QPushButton::clicked, this, [answer] { answer(kSensorInputOk); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* choice = new QHBoxLayout;
    choice->addWidget(group_);
    choice->addWidget(type_);
    choice->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addSpacing(6);
    layout->addLayout(choice);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr.TranslateForm(this);
}

int SensorInputForm::Ask(const SensorInputRequest& req, QWidget* anchor) {
    result_ = kSensorInputCancelled;
    ShowTitleAndPrompt(this, prompt_, req.title, req.prompt);
    FitPromptWidth(prompt_, 300, 720);
    PlaceForm(this, anchor, 0, 0);
    group_->setFocus();
    if (exec() != QDialog::Accepted) return kSensorInputCancelled;
    return result_;
}

}  // namespace cfg::gui
