#include "CompareWindow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "shell/SafeWrite.h"
#include "Translate.h"

namespace cfg::gui {

CompareWindow::CompareWindow(Translator& tr, QWidget* parent) : QDialog(parent) {
    SetUpDialog(this, "FRMCompare");
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    sides_ = new QLabel(this);
    SetControlName(sides_, "LBLConfigurazioni");
    KeepCaption(sides_);
    sides_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_ = new QLabel(this);
    SetControlName(summary_, "LBLRiepilogo");
    KeepCaption(summary_);
    summary_->setWordWrap(true);
    tree_ = new QTreeWidget(this);
    SetControlName(tree_, "TRVDifferenze");
    tree_->setHeaderHidden(true);
    tree_->setFont(FixedFont(10));
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    save_ = NewButton(this, "CMDSalva", QStringLiteral("Salva come testo..."));
    close_ = NewButton(this, "CMDChiudi", QStringLiteral("Chiudi"), true);
    KeepCaption(save_);
    KeepCaption(close_);
    connect(save_, &QPushButton::clicked, this, &CompareWindow::SaveAs);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, this, &CompareWindow::SaveAs);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sides_);
    layout->addWidget(summary_);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    resize(900, 560);
    tr.TranslateForm(this);
}

void CompareWindow::Fill(const ComparisonView& v) {
    view_ = v;
    setWindowTitle(Q(v.title));
    sides_->setText(Q(v.first) + QStringLiteral("\n") + Q(v.second));
    summary_->setText(Q(v.summary) + (v.legend.empty() ? QString() : QStringLiteral("\n") + Q(v.legend)));
    save_->setText(Q(v.saveCaption));
    close_->setText(Q(v.closeCaption));
    tree_->clear();
    QFont bold = tree_->font();
    bold.setBold(true);
    for (const CompareGroupView& g : v.groups) {
        auto* group = new QTreeWidgetItem(tree_, {Q(g.title) + QStringLiteral("  (%1)").arg(g.lines.size())});
        group->setFont(0, bold);
        for (const std::string& line : g.lines) {
            auto* item = new QTreeWidgetItem(group, {Q(line)});
            item->setToolTip(0, Q(line));
        }
        group->setExpanded(true);
    }
    if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
    tree_->setFocus();
}

void CompareWindow::Show(const ComparisonView& v) {
    Fill(v);
    exec();
}

bool CompareWindow::SaveReport(const QString& path) const {
    std::string text;
    for (const std::string& line : view_.reportLines) text += line + "\n";
    return !WriteFileWhole(QDir::toNativeSeparators(path).toStdString(), text);
}

void CompareWindow::SaveAs() {
    QFileDialog dialog(this, Q(view_.saveTitle));
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("*.TXT *.txt"), QStringLiteral("*")});
    dialog.setDefaultSuffix(QStringLiteral("TXT"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().front();
    if (!SaveReport(path)) QMessageBox::warning(this, windowTitle(), Q(view_.saveFailedText) + QStringLiteral("\n") + path);
}

}  // namespace cfg::gui
