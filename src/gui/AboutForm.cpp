#include "AboutForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"
#include "shell/FileNames.h"
#include "shell/MainLoop.h"

namespace cfg::gui {

namespace {

// A label that passes its clicks to the form, which closes.
class ClickLabel : public QLabel {
public:
    explicit ClickLabel(QWidget* parent) : QLabel(parent) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        if (auto* d = qobject_cast<QDialog*>(window())) d->reject();
    }
};

}  // namespace

AboutForm::AboutForm(Translator& tr, const std::string& programFolder, QWidget* parent) : QDialog(parent) {
    MarkForm(this, "FRMAbout");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setStyleSheet(QStringLiteral("#FRMAbout { background: #ffffff; border: 2px solid #8a1c1c; }"));

    image_ = new ClickLabel(this);
    SetControlName(image_, "IMGAbout");
    image_->setAlignment(Qt::AlignCenter);
    std::string path = ResolveExisting(JoinPath(programFolder, "LOGO_SYS.GIF"));
    QPixmap logo;
    if (!path.empty() && logo.load(Q(path))) image_->setPixmap(logo);
    else image_->setMinimumSize(420, 200);

    title_ = new ClickLabel(this);
    SetControlName(title_, "LBLTitolo");
    KeepCaption(title_);  // the program's name
    title_->setText(QString::fromLatin1(kProgramName));
    title_->setAlignment(Qt::AlignCenter);
    SetHeadingFont(title_, 6);

    version_ = new ClickLabel(this);
    SetControlName(version_, "LBLVersione");
    KeepCaption(version_);
    version_->setText(QStringLiteral("V%1    %2").arg(QString::fromLatin1(kProgramVersion),
                                                       QString::fromLatin1(kReleaseDate)));
    version_->setAlignment(Qt::AlignCenter);

    folders_ = new ClickLabel(this);
    SetControlName(folders_, "LBLCartelle");
    KeepCaption(folders_);
    folders_->setAlignment(Qt::AlignCenter);
    folders_->setTextInteractionFlags(Qt::NoTextInteraction);
    folders_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->addWidget(image_);
    layout->addWidget(title_);
    layout->addWidget(version_);
    layout->addWidget(folders_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tr.TranslateForm(this);
}

void AboutForm::SetFolders(const QString& text) {
    folders_->setText(text);
    folders_->setVisible(!text.isEmpty());
}

void AboutForm::mousePressEvent(QMouseEvent*) { reject(); }

void AboutForm::done(int r) {
    QDialog::done(r);
    if (!closed_) {
        closed_ = true;
        if (onClosed) onClosed();
    }
}

}  // namespace cfg::gui
