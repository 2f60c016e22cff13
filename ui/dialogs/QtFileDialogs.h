#pragma once
#include "core/host/FileDialogs.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace deskpanel {

// The Open and Save As dialogs on Qt's file dialog. `afterClose` runs whenever one has
// closed (the main window drops the click that closed it). A dialog whose start path
// names no existing folder starts in the last folder used, else in Documents
// (fileDialogStartFolder).
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent, std::function<void()> afterClose = {});

    // The "Last Used Directory" as the settings hold it now; none: no folder was used.
    void setLastUsedFolder(std::function<std::string()> lastUsedFolder)
    {
        m_lastUsedFolder = std::move(lastUsedFolder);
    }

    std::optional<std::string> askSaveAs(const FileDialogRequest& request) override;
    std::optional<std::string> askOpen(const FileDialogRequest& request) override;

private:
    std::optional<std::string> ask(const FileDialogRequest& request, bool saving);

    QPointer<QWidget> m_parent;
    std::function<void()> m_afterClose;
    std::function<std::string()> m_lastUsedFolder;
};

} // namespace deskpanel
