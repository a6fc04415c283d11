#include "ui/filechooser.h"

#include <QFileDialog>

namespace dravin {

std::optional<QString> DialogFileChooser::choose(QWidget* parent, const Request& request) {
    QFileDialog dialog(parent, request.title, request.directory, kStudyFilter);
    dialog.setObjectName(request.objectName);
    dialog.setDefaultSuffix("DVT");
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (request.kind == Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

}  // namespace dravin
