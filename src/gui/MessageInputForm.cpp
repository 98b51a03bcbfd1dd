#include "MessageInputForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"
#include "shell/Session.h"

namespace cfg::gui {

MessageInputForm::MessageInputForm(Session& s, Translator& tr, QWidget* parent) : QDialog(parent), s_(s) {
    SetUpDialog(this, "FRMInpMsg");
    prompt_ = NewPromptLabel(this);
    // A ruler over the text box: the display shows this many characters.
    ruler_ = new QLabel(this);
    SetControlName(ruler_, "LBLRighello");
    KeepCaption(ruler_);
    ruler_->setFont(FixedFont(11));
    ruler_->setStyleSheet(QStringLiteral("color: #8090a0;"));
    text_ = new QLineEdit(this);
    SetControlName(text_, "TXTStringa");
    text_->setFont(FixedFont(11));

    rangeFrame_ = new QGroupBox(this);
    SetControlName(rangeFrame_, "FRADaa");
    auto* fromLabel = new QLabel(QStringLiteral("Da"), rangeFrame_);
    SetControlName(fromLabel, "LBLDa");
    from_ = new QLineEdit(rangeFrame_);
    SetControlName(from_, "TXTDa");
    auto* toLabel = new QLabel(QStringLiteral("A"), rangeFrame_);
    SetControlName(toLabel, "LBLA");
    to_ = new QLineEdit(rangeFrame_);
    SetControlName(to_, "TXTA");
    for (QLineEdit* e : {from_, to_}) {
        e->setMaxLength(5);
        e->setFixedWidth(70);
        e->setAlignment(Qt::AlignRight);
    }
    countUp_ = new QCheckBox(QStringLiteral("Numera in sequenza il numero finale del testo"), rangeFrame_);
    SetControlName(countUp_, "CHKNumera");
    countUp_->setChecked(true);
    auto* rl = new QGridLayout(rangeFrame_);
    rl->addWidget(fromLabel, 0, 0);
    rl->addWidget(from_, 0, 1);
    rl->addWidget(toLabel, 0, 3);
    rl->addWidget(to_, 0, 4);
    rl->setColumnMinimumWidth(2, 12);
    rl->setColumnStretch(5, 1);
    rl->addWidget(countUp_, 1, 0, 1, 6);
    rangeFrame_->hide();

    auto* ok = NewButton(this, "CMDOk", QStringLiteral("OK"), true);
    range_ = NewButton(this, "CMDImpGrup", QStringLiteral("Gruppo..."));
    auto* abort = NewButton(this, "CMDAbort", QStringLiteral("Annulla"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(range_, &QPushButton::clicked, this, &MessageInputForm::SwitchToRange);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(range_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(rangeFrame_);
    layout->addWidget(ruler_);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr.TranslateForm(this);
}

void MessageInputForm::SwitchToRange() {
    prompt_->hide();
    range_->hide();
    rangeFrame_->show();
    from_->setFocus();
    rangeMode_ = true;
    s_.events.MessageRangeInput = true;
}

MessageAnswer MessageInputForm::Ask(const MessageRequest& req, QWidget* anchor) {
    ShowTitleAndPrompt(this, prompt_, req.title, req.prompt);
    const int width = req.maxLength > 0 ? req.maxLength : 32767;
    text_->setMaxLength(width);
    if (req.maxLength > 0 && req.maxLength <= 80) {
        QString ruler;
        for (int i = 1; i <= req.maxLength; ++i) ruler += QChar(QLatin1Char('0' + i % 10));
        ruler_->setText(ruler);
        text_->setFixedWidth(QFontMetrics(text_->font()).horizontalAdvance(ruler) + 14);
        ruler_->setContentsMargins(5, 0, 0, 0);
    } else {
        ruler_->hide();
    }
    text_->setText(Q(req.initialText));
    text_->selectAll();
    text_->setFocus();
    range_->setVisible(req.allowRange);
    if (req.entry > 0) {
        from_->setText(QString::number(req.entry));
        to_->setText(QString::number(req.entry));
    }
    PlaceForm(this, anchor, 0, 0);

    MessageAnswer answer;
    if (exec() != QDialog::Accepted) return answer;
    answer.confirmed = true;
    answer.range = rangeMode_;
    answer.text = S(text_->text());
    if (rangeMode_) {
        answer.first = S(from_->text().trimmed());
        answer.last = S(to_->text().trimmed());
        answer.countUp = countUp_->isChecked();
    }
    return answer;
}

}  // namespace cfg::gui
