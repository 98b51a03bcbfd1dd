#include "Translate.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include "shell/Language.h"
#include "shell/Session.h"

namespace cfg::gui {

namespace {
constexpr const char* kIndex = "index";
constexpr const char* kForm = "cfgForm";
constexpr const char* kKeepCaption = "cfgKeepCaption";
}  // namespace

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

void SetControlName(QObject* o, const char* name, int index) {
    o->setObjectName(QString::fromLatin1(name));
    if (index >= 0) o->setProperty(kIndex, index);
}

int ControlIndex(const QObject* o) {
    QVariant v = o->property(kIndex);
    bool ok = false;
    int i = v.toInt(&ok);
    return v.isValid() && ok && i >= 0 ? i : -1;
}

void MarkForm(QWidget* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty(kForm, true);
}

void KeepCaption(QObject* o) { o->setProperty(kKeepCaption, true); }

std::string Translator::FormText(const std::string& form, const std::string& key) {
    return cfg::FormText(s_, form, key);
}

void Translator::TranslateControl(const std::string& form, QObject* c) {
    const std::string name = S(c->objectName());
    const int index = ControlIndex(c);

    auto* action = qobject_cast<QAction*>(c);
    if (!c->property(kKeepCaption).toBool() && !(action && action->isSeparator())) {
        std::string caption = FormText(form, ControlKey(name, index, "Caption"));
        if (!caption.empty()) {
            QString t = Q(caption);
            if (auto* b = qobject_cast<QAbstractButton*>(c)) b->setText(t);
            else if (auto* l = qobject_cast<QLabel*>(c)) l->setText(t);
            else if (auto* g = qobject_cast<QGroupBox*>(c)) g->setTitle(t);
            else if (auto* m = qobject_cast<QMenu*>(c)) m->setTitle(t);
            else if (action) action->setText(t);
        }
    }
    std::string tip = FormText(form, ControlKey(name, index, "ToolTipText"));
    if (!tip.empty()) {
        if (auto* w = qobject_cast<QWidget*>(c)) w->setToolTip(Q(tip));
        else if (action) action->setToolTip(Q(tip));
    }
    std::string tag = FormText(form, ControlKey(name, index, "Tag"));
    if (!tag.empty()) c->setProperty("Tag", Q(tag));

    if (auto* tabs = qobject_cast<QTabWidget*>(c)) {
        for (int n = 0; n < tabs->count(); ++n) {
            std::string t = FormText(form, TabCaptionKey(name, n));
            if (!t.empty()) tabs->setTabText(n, Q(t));
        }
    }
}

void Translator::TranslateForm(QWidget* form) {
    if (!form) return;
    const std::string section = S(form->objectName());
    if (section.empty()) return;

    if (!form->windowTitle().isEmpty()) {
        std::string caption = FormText(section, section + ".Caption");
        if (!caption.empty()) form->setWindowTitle(Q(caption));
    }
    std::string tip = FormText(section, section + ".ToolTipText");
    if (!tip.empty()) form->setToolTip(Q(tip));
    std::string tag = FormText(section, section + ".Tag");
    if (!tag.empty()) form->setProperty("Tag", Q(tag));

    // Walk the form's controls, but not into another form that sits inside
    // it (the work form inside the main window has its own section).
    std::vector<QObject*> pending(form->children().begin(), form->children().end());
    while (!pending.empty()) {
        QObject* c = pending.back();
        pending.pop_back();
        if (c->property(kForm).toBool()) continue;
        const QString n = c->objectName();
        if (!n.isEmpty() && !n.startsWith(QLatin1String("qt_"))) TranslateControl(section, c);
        for (QObject* child : c->children()) pending.push_back(child);
    }
}

}  // namespace cfg::gui
