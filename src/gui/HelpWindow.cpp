#include "HelpWindow.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "FormUtil.h"
#include "Translate.h"
#include "shell/FileNames.h"

namespace cfg::gui {

std::string HelpIndexPath(const std::string& dataFolder, const std::string& languageFolder) {
    const std::string help = JoinPath(dataFolder, "help");
    for (const std::string& code : {languageFolder, std::string("en"), std::string("it")}) {
        if (code.empty()) continue;
        const std::string path = JoinPath(JoinPath(help, code), "index.html");
        if (QFileInfo::exists(Q(path))) return path;
    }
    return {};
}

HelpWindow::HelpWindow(Translator& tr, QWidget* parent) : QWidget(parent, Qt::Window) {
    MarkForm(this, "FRMGuida");
    setWindowTitle(QStringLiteral("CFG-Veltrano"));

    auto button = [this](const char* name, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(this);
        SetControlName(b, name);
        b->setIcon(style()->standardIcon(icon));
        b->setAutoRaise(true);
        return b;
    };
    back_ = button("CMDIndietro", QStyle::SP_ArrowBack);
    forward_ = button("CMDAvanti", QStyle::SP_ArrowForward);
    home_ = button("CMDIndice", QStyle::SP_DirHomeIcon);

    browser_ = new QTextBrowser(this);
    SetControlName(browser_, "TXTGuida");
    // Links to other sites open in the system's browser; the guide itself
    // never needs the network.
    browser_->setOpenExternalLinks(true);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(home_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);
    resize(1060, 700);
    tr.TranslateForm(this);
}

void HelpWindow::keyPressEvent(QKeyEvent* e) {
    // Escape closes the guide, as it closes the program's other windows.
    if (e->key() == Qt::Key_Escape) close();
    else QWidget::keyPressEvent(e);
}

void HelpWindow::Open(const QString& page) {
    if (page == page_) return;
    page_ = page;
    browser_->clearHistory();
    browser_->setSource(QUrl::fromLocalFile(page));
}

}  // namespace cfg::gui
