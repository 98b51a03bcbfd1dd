#include "CopyFileForm.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"

namespace cfg::gui {

namespace {

// The file name without its extension: the part before the last "." of the
// last path component, when the "." does not start the name.
QString WithoutExtension(const QString& path) {
    int slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash + 1) return path.left(dot);
    return path;
}

}  // namespace

QString CopyFileForm::ChosenPath(const QString& nameBox, const QString& folder) {
    QString name = nameBox.trimmed();
    if (name.isEmpty()) return {};
    const bool drive = name.size() > 2 && name[1] == QLatin1Char(':');
    if (!drive && !QDir::isAbsolutePath(name)) name = QDir(folder).filePath(name);
    // As typed: the command takes the extension off.
    return QDir::cleanPath(name);
}

CopyFileForm::CopyFileForm(Translator& tr, QWidget* parent) : QDialog(parent), tr_(tr) {
    SetUpDialog(this, "FRMCopyFile");

    BuildSide(source_, "FRASource", "DRVSource", "DIRSource", "FILLSource", "TXTSource", "LBLSource",
              "LBLFSource");
    BuildSide(dest_, "FRADest", "DRVDest", "DIRDest", "FILLDest", "TXTDest", "LBLDest", "LBLFdest");

    auto* ok = NewButton(this, "CMDOk", QStringLiteral("OK"), true);
    auto* exit = NewButton(this, "CMDExit", QStringLiteral("Esci"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* sides = new QHBoxLayout;
    sides->addWidget(source_.frame);
    sides->addWidget(dest_.frame);
    hint_ = new QLabel(this);
    SetControlName(hint_, "LBLHint");
    KeepCaption(hint_);
    hint_->setWordWrap(true);
    hint_->setStyleSheet(QStringLiteral("color: #304060;"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint_, 1);
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr_.TranslateForm(this);
}

void CopyFileForm::BuildSide(Side& side, const char* frame, const char* drive, const char* dir,
                             const char* file, const char* text, const char* dirLabel, const char* fileLabel) {
    side.frame = new QGroupBox(this);
    SetControlName(side.frame, frame);
    side.drives = new QComboBox(side.frame);
    SetControlName(side.drives, drive);
    for (const QFileInfo& d : QDir::drives()) side.drives->addItem(QDir::toNativeSeparators(d.absoluteFilePath()));
#ifndef Q_OS_WIN
    side.drives->addItem(QDir::homePath());
#endif
    side.path = new QLabel(side.frame);
    side.path->setWordWrap(true);
    side.path->setMinimumWidth(260);
    side.path->setStyleSheet(QStringLiteral("color: #304060;"));
    auto* dl = new QLabel(QStringLiteral("Cartelle"), side.frame);
    SetControlName(dl, dirLabel);
    side.folders = new QListWidget(side.frame);
    SetControlName(side.folders, dir);
    side.folders->setFixedHeight(150);
    auto* fl = new QLabel(QStringLiteral("File"), side.frame);
    SetControlName(fl, fileLabel);
    side.files = new QListWidget(side.frame);
    SetControlName(side.files, file);
    side.files->setFixedHeight(120);
    side.name = new QLineEdit(side.frame);
    SetControlName(side.name, text);

    auto* v = new QVBoxLayout(side.frame);
    v->addWidget(side.drives);
    v->addWidget(side.path);
    v->addWidget(dl);
    v->addWidget(side.folders);
    v->addWidget(fl);
    v->addWidget(side.files);
    v->addWidget(side.name);

    Side* sp = &side;
    connect(side.drives, &QComboBox::activated, this, [this, sp](int i) {
        SetFolder(*sp, sp->drives->itemText(i));
        sp->name->setFocus();
    });
    // A double click (or Enter) on a folder enters it.
    connect(side.folders, &QListWidget::itemActivated, this, [this, sp](QListWidgetItem* item) {
        SetFolder(*sp, item->data(Qt::UserRole).toString());
    });
    connect(side.files, &QListWidget::itemClicked, this, [sp](QListWidgetItem* item) {
        sp->name->setText(WithoutExtension(item->text()));
        sp->name->setFocus();
        sp->name->selectAll();
    });
    connect(side.files, &QListWidget::itemActivated, this, [this, sp](QListWidgetItem* item) {
        sp->name->setText(WithoutExtension(item->text()));
        if (sp == &dest_ || !dest_.frame->isVisible()) accept();
        else dest_.name->setFocus();
    });
}

void CopyFileForm::SetFolder(Side& side, const QString& folder) {
    QDir dir(folder);
    if (!dir.exists()) return;
    side.folder = dir.absolutePath();
    side.path->setText(QDir::toNativeSeparators(side.folder));
    // The drive list shows the drive (or, elsewhere, the root or home) the
    // folder lies on.
    int best = -1, bestLength = -1;
    for (int i = 0; i < side.drives->count(); ++i) {
        const QString d = QDir::fromNativeSeparators(side.drives->itemText(i));
        const bool within = side.folder.startsWith(d, Qt::CaseInsensitive) &&
                            (d.endsWith(QLatin1Char('/')) || side.folder.size() == d.size() ||
                             side.folder.at(d.size()) == QLatin1Char('/'));
        if (within && d.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(d.size());
        }
    }
    if (best >= 0) side.drives->setCurrentIndex(best);
    side.folders->clear();
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(QStringLiteral(".."), side.folders);
        up->setData(Qt::UserRole, QDir::cleanPath(dir.absoluteFilePath(QStringLiteral(".."))));
    }
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(sub.fileName(), side.folders);
        item->setData(Qt::UserRole, sub.absoluteFilePath());
    }
    RefreshFiles(side);
}

void CopyFileForm::RefreshFiles(Side& side) {
    side.files->clear();
    // The pattern matches without regard to case: "*.CY2" also lists "a.cy2".
    QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern_),
                          QRegularExpression::CaseInsensitiveOption);
    QDir dir(side.folder);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (re.match(f.fileName()).hasMatch()) side.files->addItem(f.fileName());
}

CopyDialogAnswer CopyFileForm::Ask(const CopyDialogRequest& req, QWidget* anchor) {
    if (!req.caption.empty()) setWindowTitle(Q(req.caption));
    if (!req.sourceLabel.empty()) source_.frame->setTitle(Q(req.sourceLabel));
    if (!req.destLabel.empty()) dest_.frame->setTitle(Q(req.destLabel));
    pattern_ = req.pattern.empty() ? QStringLiteral("*") : Q(req.pattern);
    source_.frame->setVisible(req.showSource);
    hint_->setText(DisplayText(req.hint));
    hint_->setVisible(!req.hint.empty());
    const QString start = Q(req.folder).isEmpty() ? QDir::currentPath() : Q(req.folder);
    SetFolder(source_, start);
    SetFolder(dest_, start);
    PlaceForm(this, anchor, 0, 0);
    (req.showSource ? source_.name : dest_.name)->setFocus();

    CopyDialogAnswer answer;
    if (exec() != QDialog::Accepted) return answer;
    answer.confirmed = true;
    if (req.showSource) answer.source = S(ChosenPath(source_.name->text(), source_.folder));
    answer.dest = S(ChosenPath(dest_.name->text(), dest_.folder));
    return answer;
}

}  // namespace cfg::gui
