#include "ide/gui/dialog_prompter.h"

#include "bridge_qt/file_dialog_setup.h"
#include "ide/gui/product.h"
#include "ide/gui/qt_text.h"
#include "libs/dialog_lib.h"

#include <QFileDialog>
#include <QMessageBox>

namespace ozra::ide::gui {

namespace {

QString Title() {
    return FromBytes(kApplicationTitle);
}

} // namespace

Answer DialogPrompter::Ask(std::string_view question, Choices choices) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes;
    if (choices != Choices::YesCancel) buttons |= QMessageBox::No;
    if (choices != Choices::YesNo) buttons |= QMessageBox::Cancel;
    const auto answer = QMessageBox::question(parent_, Title(), FromBytes(question), buttons);
    if (answer == QMessageBox::Yes) return Answer::Yes;
    if (answer == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

void DialogPrompter::ShowError(std::string_view message) {
    QMessageBox::critical(parent_, Title(), FromBytes(message));
}

void DialogPrompter::ShowInfo(std::string_view message) {
    QMessageBox::information(parent_, Title(), FromBytes(message));
}

std::optional<std::string> DialogPrompter::ChooseSaveName(const SaveRequest& request) {
    QFileDialog dialog(parent_, QFileDialog::tr("Save As"));
    bridge_qt::SetUpFileDialog(dialog, libs::ParseFileFilter(request.Filter), request.ProposedName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(FromBytes(request.DefaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToBytes(dialog.selectedFiles().front());
}

} // namespace ozra::ide::gui
