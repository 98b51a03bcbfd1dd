// Form translation: every form and control carries its name (objectName) and,
// for an element of a control array, an "index" property, so that its
// caption, tool-tip and tag are found in the language file under the form's
// section as "Name.Caption", "Name(3).ToolTipText", "Name.TabCaption(0)".
#pragma once

#include <QObject>
#include <QString>
#include <string>

class QWidget;

namespace cfg {
struct Session;
}

namespace cfg::gui {

// Gives a control its name, and its index when it belongs to a control array.
void SetControlName(QObject*, const char* name, int index = -1);
// The control's array index, or -1 for a single control.
int ControlIndex(const QObject*);
// Marks a form: translation of an enclosing form stops at it.
void MarkForm(QWidget*, const char* name);
// Keeps the caption of a control whose text is data (port names, rates,
// language names): the language file never replaces it.
void KeepCaption(QObject*);

class Translator {
public:
    explicit Translator(Session& s) : s_(s) {}

    // Replaces the captions, tool-tips, tags and tab captions of the form and
    // its controls from the form's section of the current language file. A
    // key that is missing leaves the property as it is.
    void TranslateForm(QWidget* form);
    // One value of the form's section ("" when absent).
    std::string FormText(const std::string& form, const std::string& key);

private:
    void TranslateControl(const std::string& form, QObject* control);

    Session& s_;
};

QString Q(const std::string&);
std::string S(const QString&);

}  // namespace cfg::gui
