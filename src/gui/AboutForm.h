// The splash at start-up and the information box (captions under [FRMAbout]
// in the language files). Shows the picture LOGO_SYS.GIF of the program
// folder, the program's name, version and release date; a click anywhere
// closes it. While it is open the toolbar and the work form are disabled (the
// owner does that).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;

namespace cfg::gui {

class Translator;

class AboutForm : public QDialog {
    Q_OBJECT
public:
    AboutForm(Translator&, const std::string& programFolder, QWidget* parent);
    // Runs when the form goes away (click, Escape, or the owner closing it).
    std::function<void()> onClosed;
    QLabel* image() const { return image_; }
    QLabel* versionLabel() const { return version_; }
    // The information box's last lines: where the settings and file sets are.
    void SetFolders(const QString&);
    QLabel* foldersLabel() const { return folders_; }

protected:
    void mousePressEvent(QMouseEvent*) override;
    void done(int) override;

private:
    QLabel* image_;
    QLabel* title_;
    QLabel* version_;
    QLabel* folders_;
    bool closed_ = false;
};

}  // namespace cfg::gui
