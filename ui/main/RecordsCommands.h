#pragma once
#include "app/QtBackgroundWork.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

namespace deskpanel {

class BackupKeeper;
class ChangeListDialog;
class DeskPanelApp;
class EventLog;
class EventLogWindow;
class FileDialogs;
class ProjectCommands;

// The commands that keep records for the operator: the event window (Setup > Diagnostics
// > "Event Log..."), Files > "Export Channel Sheet...", "Import Channel Names..." and
// "Open Backup...".
class RecordsCommands {
public:
    static constexpr const char* NoBackupsText = "There are no backups of this project.";

    // `log` and `backups` may be null (nothing is logged or kept in this run).
    RecordsCommands(DeskPanelApp& app, ProjectCommands& project, FileDialogs& dialogs, EventLog* log,
                    BackupKeeper* backups, QWidget* window);
    ~RecordsCommands();

    // Opens the event window, or brings it to the front when it is open.
    void openEventLog();
    EventLogWindow* eventLogWindow() const;
    void exportChannelSheet();
    void importChannelNames();
    void openBackup();

private:
    DeskPanelApp& m_app;
    ProjectCommands& m_project;
    FileDialogs& m_dialogs;
    EventLog* m_log;
    BackupKeeper* m_backups;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_eventWindow; // an EventLogWindow while open
    std::unique_ptr<ChangeListDialog> m_importPreview;
    QtBackgroundWork m_sheetWork; // the channel sheet is laid out and written there
};

} // namespace deskpanel
