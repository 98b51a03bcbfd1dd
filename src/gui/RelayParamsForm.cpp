#include "RelayParamsForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

RelayParamsForm::RelayParamsForm(Translator& tr, const std::string& baud, const std::string& plantCode,
                                 QWidget* parent)
    : QDialog(parent) {
    SetUpDialog(this, "FRMParTw");
    auto* baudCaption = new QLabel(QStringLiteral("Velocità"), this);
    SetControlName(baudCaption, "LBLTitBaud");
    auto* plantCaption = new QLabel(QStringLiteral("Codice impianto"), this);
    SetControlName(plantCaption, "LBLTitCodimp");
    baud_ = new QLabel(Q(baud), this);
    SetControlName(baud_, "LBLBaud");
    KeepCaption(baud_);
    plant_ = new QLabel(Q(plantCode), this);
    SetControlName(plant_, "LBLCodimp");
    KeepCaption(plant_);
    for (QLabel* l : {baud_, plant_}) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumWidth(90);
        l->setAlignment(Qt::AlignCenter);
    }
    auto* ok = NewButton(this, "Command1", QStringLiteral("OK"), true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* grid = new QGridLayout(this);
    grid->addWidget(baudCaption, 0, 0);
    grid->addWidget(baud_, 0, 1);
    grid->addWidget(plantCaption, 1, 0);
    grid->addWidget(plant_, 1, 1);
    grid->addWidget(ok, 2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    tr.TranslateForm(this);
}

}  // namespace cfg::gui
