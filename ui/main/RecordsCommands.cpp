#include "ui/main/RecordsCommands.h"

#include "app/ChannelSheetPdf.h"
#include "app/DeskPanelApp.h"
#include "app/ProjectCommands.h"
#include "app/SheetExport.h"
#include "core/persistence/PathText.h"
#include "core/records/BackupKeeper.h"
#include "core/records/ChannelNameImport.h"
#include "core/records/ChannelSheet.h"
#include "ui/dialogs/ChangeListBox.h"
#include "ui/dialogs/ChannelSheetDialog.h"
#include "ui/dialogs/EventLogWindow.h"
#include "ui/dialogs/OpenBackupDialog.h"

#include <QApplication>
#include <QProgressDialog>

namespace deskpanel {

namespace {

// What the window shows while the sheet is written on the worker: a busy pointer, and
// after a moment a note that says what is going on. Not modal: the operator goes on.
class SheetProgress {
public:
    static constexpr int ShownAfterMs = 300;

    explicit SheetProgress(QWidget* window)
        : m_note(QStringLiteral("Writing the channel sheet..."), QString(), 0, 0, window)
    {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        m_note.setWindowTitle(QStringLiteral("Export Channel Sheet"));
        m_note.setWindowModality(Qt::NonModal);
        m_note.setCancelButton(nullptr);
        m_note.setMinimumDuration(ShownAfterMs);
        m_note.setValue(0);
    }
    ~SheetProgress() { QApplication::restoreOverrideCursor(); }
    SheetProgress(const SheetProgress&) = delete;
    SheetProgress& operator=(const SheetProgress&) = delete;

private:
    QProgressDialog m_note;
};

} // namespace

RecordsCommands::RecordsCommands(DeskPanelApp& app, ProjectCommands& project, FileDialogs& dialogs, EventLog* log,
                                 BackupKeeper* backups, QWidget* window)
    : m_app(app),
      m_project(project),
      m_dialogs(dialogs),
      m_log(log),
      m_backups(backups),
      m_window(window),
      m_importPreview(std::make_unique<QtChangeListDialog>(window))
{}

RecordsCommands::~RecordsCommands()
{
    delete m_eventWindow.data();
}

EventLogWindow* RecordsCommands::eventLogWindow() const
{
    return static_cast<EventLogWindow*>(m_eventWindow.data());
}

void RecordsCommands::openEventLog()
{
    if (!m_log)
        return;
    if (!m_eventWindow) {
        m_eventWindow = new EventLogWindow(*m_log, m_dialogs, m_app.operatorPort(), m_window);
        m_eventWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_eventWindow->show();
    m_eventWindow->raise();
    m_eventWindow->activateWindow();
}

void RecordsCommands::exportChannelSheet()
{
    ChannelSheetDialog choice(m_app.project(), m_window);
    if (choice.exec() != DialogResult::Ok)
        return;
    const int position = choice.scenePosition();
    const bool presentOnly = choice.presentUnitsOnly();

    FileDialogRequest request;
    request.title = " Export Channel Sheet";
    request.filterName = "Channel Sheets (*.csv *.pdf)";
    request.pattern = "*.csv *.pdf";
    request.defaultExtension = "csv";
    request.confirmOverwrite = true;
    request.startPath = directoryPart(m_app.project().projectPath);
    const auto path = m_dialogs.askSaveAs(request);
    if (!path)
        return;
    // The sheet is made after the dialogs have closed: what it shows is the state now.
    std::vector<int> units = ChannelSheetMaker::allUnits();
    if (presentOnly)
        std::erase_if(units, [this](int unit) { return !m_app.link().isUnitPresent(unit); });
    const int scene = m_app.project().scenes.isStoredPosition(position) || position <= 0 ? position : 0;
    const ChannelSheet sheet = ChannelSheetMaker::make(m_app.project(), scene, units, m_app.link().reducedGainRange());
    std::string error;
    bool written = false;
    {
        SheetProgress progress(m_window);
        written = SheetExport::writeOnWorker(m_sheetWork, sheet, *path, ChannelSheetPdf::defaultPaper(), error);
    }
    if (!written)
        m_app.operatorPort().platformMessage(error);
}

void RecordsCommands::importChannelNames()
{
    // One operation from the file dialog to the last name set.
    auto hold = m_app.channels().gate().enter("Import channel names");
    if (!hold) {
        m_app.operatorPort().beep();
        return;
    }
    FileDialogRequest request;
    request.title = " Import Channel Names";
    request.filterName = "Channel Sheets (*.csv)";
    request.pattern = "*.csv";
    request.defaultExtension = "csv";
    request.startPath = directoryPart(m_app.project().projectPath);
    const auto path = m_dialogs.askOpen(request);
    if (!path)
        return;
    // Read after the dialog has closed, against the names as they are now.
    const auto result = ChannelNameImport::readFile(*path, m_app.project());
    const std::string told = ChannelNameImport::run(result, m_app.project(), m_app.channels(), *m_importPreview);
    if (!told.empty())
        m_app.operatorPort().message(told);
}

void RecordsCommands::openBackup()
{
    if (!m_backups)
        return;
    if (!m_app.project().hasFile) { // a project never saved has no backups
        m_app.operatorPort().message(NoBackupsText);
        return;
    }
    m_project.openBackup([this]() -> std::string {
        // Listed after the save question's save, whose backup is then among them.
        const Project& project = m_app.project();
        const auto backups = m_backups->list(project.projectPath);
        if (backups.empty()) {
            m_app.operatorPort().message(NoBackupsText);
            return {};
        }
        // What is listed stays while the list is open (timers run inside it).
        std::vector<std::unique_ptr<BackupKeeper::Held>> held;
        for (const BackupKeeper::Backup& backup : backups)
            held.push_back(std::make_unique<BackupKeeper::Held>(*m_backups, backup.path));
        OpenBackupDialog dialog(project.projectName, backups, m_window);
        if (dialog.exec() != DialogResult::Ok)
            return {};
        return dialog.chosenPath();
    });
}

} // namespace deskpanel
