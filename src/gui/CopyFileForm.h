// Picks the source and the destination file set of the create and copy
// commands. Each side has a drive list, a folder list, a file list showing
// the sets (*.CY2) and a name box; a name typed without a folder is taken in
// the folder that side shows. The answer is the full path of each side
// without its extension ("" for an empty name box).
#pragma once

#include <QDialog>
#include <QString>

#include "shell/Ui.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace cfg::gui {

class Translator;

class CopyFileForm : public QDialog {
    Q_OBJECT
public:
    CopyFileForm(Translator&, QWidget* parent);
    CopyDialogAnswer Ask(const CopyDialogRequest&, QWidget* anchor);

    // One side of the dialog.
    struct Side {
        QGroupBox* frame = nullptr;
        QComboBox* drives = nullptr;
        QLabel* path = nullptr;
        QListWidget* folders = nullptr;
        QListWidget* files = nullptr;
        QLineEdit* name = nullptr;
        QString folder;
    };
    Side& source() { return source_; }
    Side& dest() { return dest_; }
    void SetFolder(Side&, const QString& folder);

    // The name box of a side as a full path, as typed ("" if empty); the
    // command takes the extension off.
    static QString ChosenPath(const QString& nameBox, const QString& folder);

private:
    void BuildSide(Side&, const char* frame, const char* drive, const char* dir, const char* file,
                   const char* text, const char* dirLabel, const char* fileLabel);
    void RefreshFiles(Side&);

    Translator& tr_;
    Side source_, dest_;
    QLabel* hint_ = nullptr;
    QString pattern_ = QStringLiteral("*.CY2");
};

}  // namespace cfg::gui
