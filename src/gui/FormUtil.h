// Small helpers shared by the forms.
#pragma once

#include <QFont>
#include <QString>
#include <string>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace cfg::gui {

// A dialog form: its name (the section of its texts), the program's title
// until a caller gives one, a frame with a title and a close button only,
// modal.
void SetUpDialog(QDialog*, const char* formName);

// The label that carries a dialog's question: plain text that wraps.
QLabel* NewPromptLabel(QWidget* dialog);

// Shows a request's title (when it has one) and its prompt; the prompt is
// hidden when empty.
void ShowTitleAndPrompt(QWidget* dialog, QLabel* prompt, const std::string& title, const std::string& text);

// A named push button. Only the default button answers Enter.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, bool isDefault = false);

// A bold heading font `grow` points larger than the widget's own.
void SetHeadingFont(QWidget*, int grow);

// Twips (the unit of the dialog offsets: 1440 per inch) to pixels at 96 dpi.
inline int TwipsToPixels(int twips) { return twips / 15; }

// Places a dialog `top` and `left` twips from the top-left corner of
// `anchor` when either offset is above 0, otherwise centres it over
// `anchor`; the dialog is kept on the screen.
void PlaceForm(QWidget* dialog, QWidget* anchor, int topTwips, int leftTwips);

// The fixed-pitch font of lists and text grids, so that columns align.
QFont FixedFont(int pointSize = 10);

// Line breaks of the core's texts ("\r\n" or "\r") as Qt shows them.
QString DisplayText(const std::string& text);

// Gives a word-wrapping prompt label the width of its longest line (within
// sensible bounds), so that prompts joined from several texts keep their
// own line breaks instead of wrapping in odd places.
void FitPromptWidth(QLabel* label, int minimum = 300, int maximum = 640);

}  // namespace cfg::gui
