#include "BackupsForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

BackupsForm::BackupsForm(Translator& tr, QWidget* parent) : QDialog(parent) {
    SetUpDialog(this, "FRMBackups");
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    folder_ = new QLabel(this);
    SetControlName(folder_, "LBLCartella");
    KeepCaption(folder_);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    list_ = new QTreeWidget(this);
    SetControlName(list_, "LSTBackup");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    open_ = NewButton(this, "CMDApri", QStringLiteral("Apri"), true);
    close_ = NewButton(this, "CMDChiudi", QStringLiteral("Chiudi"));
    KeepCaption(open_);
    KeepCaption(close_);
    connect(open_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { accept(); });
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { open_->setEnabled(current != nullptr); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(open_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folder_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(860, 420);
    tr.TranslateForm(this);
}

int BackupsForm::Ask(const BackupListView& v) {
    setWindowTitle(Q(v.title));
    folder_->setText(Q(v.folderLabel));
    open_->setText(Q(v.openCaption));
    close_->setText(Q(v.cancelCaption));
    QStringList headers;
    for (const auto& c : v.columns) headers << Q(c);
    list_->setHeaderLabels(headers);
    list_->clear();
    for (const BackupRow& r : v.rows) {
        auto* item = new QTreeWidgetItem(list_, {Q(r.date), Q(r.installation), Q(r.panel), Q(r.reason), Q(r.parts)});
        item->setToolTip(0, Q(r.path));
        item->setToolTip(1, Q(r.path));
    }
    for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    open_->setEnabled(list_->currentItem() != nullptr);
    list_->setFocus();
    if (exec() != QDialog::Accepted || list_->currentItem() == nullptr) return -1;
    return list_->indexOfTopLevelItem(list_->currentItem());
}

}  // namespace cfg::gui
