// The user guide window. The guide is HTML shipped with the program, one
// folder per language under help/ in the data folder (help/it/index.html,
// help/en/index.html), with its pictures in help/img; the language file names
// its folder (text 1990), so a new language can bring its own guide. The
// window is an ordinary top-level window beside the main window: it works
// offline, and the installer can keep it open while working.
#pragma once

#include <QWidget>
#include <string>

class QTextBrowser;
class QToolButton;

namespace cfg::gui {

class Translator;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(Translator&, QWidget* parent);
    // Shows the page (an absolute path to an HTML file); reloads it only when
    // it is another page than the one shown, so the place read is kept.
    void Open(const QString& page);
    QTextBrowser* browser() const { return browser_; }
    QString page() const { return page_; }

protected:
    void keyPressEvent(QKeyEvent*) override;

private:
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    QString page_;
};

// The guide's first page for a language: help/<folder>/index.html in the
// data folder, falling back to the English and then the Italian guide; ""
// when none is there.
std::string HelpIndexPath(const std::string& dataFolder, const std::string& languageFolder);

}  // namespace cfg::gui
