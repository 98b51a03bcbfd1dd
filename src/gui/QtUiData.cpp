// QtUi: the backups list, the folder chooser of the backups folder and the
// comparison window.
#include <QFileDialog>

#include "BackupsForm.h"
#include "CompareWindow.h"
#include "QtUi.h"
#include "shell/Session.h"

namespace cfg::gui {

int QtUi::ChooseBackup(const BackupListView& view) {
    BackupsForm form(*translator_, DialogParent());
    RegisterForm(&form);
    return form.Ask(view);
}

std::string QtUi::AskFolder(const std::string& title, const std::string& start) {
    QFileDialog dialog(DialogParent(), Q(title), Q(start));
    dialog.setObjectName(QStringLiteral("FolderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    RegisterForm(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return S(dialog.selectedFiles().front());
}

void QtUi::ShowComparison(const ComparisonView& view) {
    CompareWindow window(*translator_, DialogParent());
    RegisterForm(&window);
    window.Show(view);
}

}  // namespace cfg::gui
