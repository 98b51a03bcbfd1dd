#include "MenuForm.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

MenuForm::MenuForm(Translator& tr, QWidget* parent) : QDialog(parent), tr_(tr) {
    SetUpDialog(this, "FRMMenu");
    auto* layout = new QVBoxLayout(this);
    prompts_ = new QVBoxLayout;
    items_ = new QVBoxLayout;
    items_->setSpacing(4);
    layout->addLayout(prompts_);
    layout->addSpacing(6);
    layout->addLayout(items_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr_.TranslateForm(this);
}

int MenuForm::Ask(const ChoiceRequest& req, QWidget* anchor) {
    if (!req.title.empty()) setWindowTitle(Q(req.title));
    int line = 0;
    for (const auto& p : req.prompts) {
        auto* l = new QLabel(DisplayText(p), this);
        SetControlName(l, "LBLPrompt", line++);
        KeepCaption(l);
        l->setWordWrap(true);
        FitPromptWidth(l);
        prompts_->addWidget(l);
    }
    for (std::size_t i = 0; i < req.items.size(); ++i) {
        auto* b = new QPushButton(Q(req.items[i]), this);
        SetControlName(b, "CMDSele", static_cast<int>(i));
        KeepCaption(b);
        b->setAutoDefault(true);
        b->setMinimumHeight(28);
        // Captions read from the left; the padding on both sides is part of
        // the button's size hint, so the widest caption sets the width of
        // all the buttons and none touches the right edge.
        b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 10px; padding-right: 10px;"));
        connect(b, &QPushButton::clicked, this, [this, i] {
            choice_ = static_cast<int>(i);
            accept();
        });
        items_->addWidget(b);
        buttons_.push_back(b);
    }
    if (req.current >= 0 && req.current < static_cast<int>(buttons_.size())) {
        buttons_[static_cast<std::size_t>(req.current)]->setDefault(true);
        buttons_[static_cast<std::size_t>(req.current)]->setFocus();
    }
    PlaceForm(this, anchor, req.top, req.left);
    choice_ = -1;
    if (exec() != QDialog::Accepted) return -1;
    return choice_;
}

}  // namespace cfg::gui
