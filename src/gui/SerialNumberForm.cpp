#include "SerialNumberForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

namespace {

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* NewBox(QWidget* parent, bool editable, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(!editable);
    box->setMaxLength(maxLength);
    box->setFont(FixedFont(11));
    box->setMinimumWidth(160);
    if (!editable) box->setFocusPolicy(Qt::NoFocus);
    return box;
}

}  // namespace

SerialNumberForm::SerialNumberForm(Translator& tr, QWidget* parent) : QDialog(parent) {
    SetUpDialog(this, "FRMSerlz");
    lastNumber_ = NewBox(this, false, 32);
    lastDate_ = NewBox(this, false, 32);
    // Room for a longer entry, so that one pasted in is refused rather
    // than silently cut to 10 characters.
    newNumber_ = NewBox(this, true, 20);
    newDate_ = NewBox(this, true, 8);
    ok_ = NewButton(this, "CMDOk", QStringLiteral("OK"), true);
    abort_ = NewButton(this, "CMDAbort", QStringLiteral("Annulla"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort_, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(NewLabel(this, "LBLMatrAtt", QStringLiteral("Ultima matricola:")), 0, 0);
    grid->addWidget(lastNumber_, 0, 1);
    grid->addWidget(NewLabel(this, "LBLDataAtt", QStringLiteral("Data di produzione:")), 1, 0);
    grid->addWidget(lastDate_, 1, 1);
    grid->addWidget(NewLabel(this, "LBLMatrNuova", QStringLiteral("Nuova matricola:")), 2, 0);
    grid->addWidget(newNumber_, 2, 1);
    grid->addWidget(NewLabel(this, "LBLDataNuova", QStringLiteral("Nuova data (gg/mm/aa):")), 3, 0);
    grid->addWidget(newDate_, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(abort_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr.TranslateForm(this);
}

bool SerialNumberForm::Ask(SerialNumberFields& f, int focusField, QWidget* anchor) {
    lastNumber_->setText(QString::fromStdString(f.lastNumber));
    lastDate_->setText(QString::fromStdString(f.lastDate));
    newNumber_->setText(QString::fromStdString(f.newNumber));
    newDate_->setText(QString::fromStdString(f.newDate));
    PlaceForm(this, anchor, 0, 0);
    // After a rejected entry the offending field is selected, ready to be
    // typed over; otherwise the new number is.
    QLineEdit* focus = focusField == kSerialDateField ? newDate_ : newNumber_;
    focus->setFocus();
    focus->selectAll();
    if (exec() != QDialog::Accepted) return false;
    f.newNumber = newNumber_->text().toStdString();
    f.newDate = newDate_->text().toStdString();
    return true;
}

}  // namespace cfg::gui
