#include "ui/dialogs/QtFileDialogs.h"

#include "ui/dialogs/FileDialogStart.h"

#include <QFileDialog>
#include <QFileInfo>

namespace deskpanel {

QtFileDialogs::QtFileDialogs(QWidget* parent, std::function<void()> afterClose)
    : m_parent(parent), m_afterClose(std::move(afterClose))
{}

std::optional<std::string> QtFileDialogs::askSaveAs(const FileDialogRequest& request)
{
    return ask(request, true);
}

std::optional<std::string> QtFileDialogs::askOpen(const FileDialogRequest& request)
{
    return ask(request, false);
}

std::optional<std::string> QtFileDialogs::ask(const FileDialogRequest& request, bool saving)
{
    QFileDialog dialog(m_parent, QString::fromStdString(request.title));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(request.filterName));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);

    // Start in the folder of the path given; Save As starts with an empty name.
    const QString folder =
        fileDialogStartFolder(request.startPath, m_lastUsedFolder ? m_lastUsedFolder() : std::string());
    dialog.setDirectory(folder);
    const QFileInfo start(QString::fromStdString(request.startPath));
    if (!saving && start.isAbsolute() && start.isFile())
        dialog.selectFile(start.fileName());

    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (m_afterClose)
        m_afterClose();
    if (!accepted)
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace deskpanel
