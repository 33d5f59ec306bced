// The Qt Widgets desktop bridge.
#include "qt_bridge.h"

#include "connection_editor_dialog.h"
#include "file_dialog_setup.h"
#include "folder_dialog.h"
#include "font_dialog.h"
#include "gui_thread.h"
#include "post_queue.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QIcon>
#include <QPixmap>

namespace ozra::bridge_qt {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

std::string ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return "";
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? "" : ToUtf8(files.front());
}

} // namespace

QtDesktopBridge::QtDesktopBridge() : QtDesktopBridge(nullptr) {}

QtDesktopBridge::QtDesktopBridge(std::unique_ptr<GuiThread> thread)
    : ownThread_(std::move(thread)), queue_(std::make_shared<PostQueue>()),
      guiThread_(ownThread_ ? ownThread_->Id() : std::this_thread::get_id()) {
    queue_->Context = QCoreApplication::instance();
}

std::unique_ptr<QtDesktopBridge> QtDesktopBridge::StartOwnThread(std::string& error) {
    std::unique_ptr<GuiThread> thread = GuiThread::Start(error);
    if (!thread) return nullptr;
    return std::unique_ptr<QtDesktopBridge>(new QtDesktopBridge(std::move(thread)));
}

QtDesktopBridge::~QtDesktopBridge() {
    queue_->Close();
}

bool QtDesktopBridge::Post(std::function<void()> work) {
    return PostQueue::Post(queue_, std::move(work));
}

bool QtDesktopBridge::OnGuiThread() const noexcept {
    return std::this_thread::get_id() == guiThread_;
}

std::optional<std::uint32_t> QtDesktopBridge::ChooseColor(std::optional<std::uint32_t> initial) {
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (initial) dialog.setCurrentColor(QColor::fromRgb(*initial));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedColor().rgb() & 0xFFFFFFu;
}

std::optional<runtime::FontChoice> QtDesktopBridge::ChooseFont(const runtime::FontChoice& initial) {
    FontDialog dialog(initial);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

std::string QtDesktopBridge::ChooseOpenFile(const std::vector<runtime::FileFilter>& filters,
                                            const std::string& fileName) {
    QFileDialog dialog(nullptr, QFileDialog::tr("Open"));
    SetUpFileDialog(dialog, filters, fileName);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChosenFile(dialog);
}

std::string QtDesktopBridge::ChooseSaveFile(const std::vector<runtime::FileFilter>& filters,
                                            const std::string& defaultSuffix,
                                            const std::string& fileName) {
    QFileDialog dialog(nullptr, QFileDialog::tr("Save As"));
    SetUpFileDialog(dialog, filters, fileName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(FromUtf8(defaultSuffix));
    return ChosenFile(dialog);
}

std::string QtDesktopBridge::ChooseFolder(const std::string& title, const std::string& root,
                                          const std::string& folder) {
    FolderDialog dialog(FromUtf8(title), FromUtf8(root), FromUtf8(folder));
    if (dialog.exec() != QDialog::Accepted) return "";
    return ToUtf8(dialog.Folder());
}

void QtDesktopBridge::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(FromUtf8(text));
}

std::string QtDesktopBridge::ClipboardText() {
    return ToUtf8(QGuiApplication::clipboard()->text());
}

void QtDesktopBridge::SetApplicationTitle(const std::string& title) {
    QGuiApplication::setApplicationDisplayName(FromUtf8(title));
}

bool QtDesktopBridge::SetApplicationIcon(const std::string& file) {
    QPixmap image;
    if (!image.load(FromUtf8(file))) return false;
    QApplication::setWindowIcon(QIcon(image));
    return true;
}

std::optional<std::string> QtDesktopBridge::EditConnectionString(
    const runtime::ConnectionEditorRequest& request) {
    ConnectionEditorDialog dialog(request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToUtf8(dialog.Result());
}

} // namespace ozra::bridge_qt
