#pragma once
#include "core/records/BackupKeeper.h"
#include "ui/controls/GlassDialog.h"

#include <vector>

class QListWidget;

namespace deskpanel {

// Files > "Open Backup...": the backups of the current project, newest first, with
// their time and size; OK opens the one chosen.
class OpenBackupDialog : public GlassDialog {
public:
    OpenBackupDialog(const std::string& projectName, std::vector<BackupKeeper::Backup> backups,
                     QWidget* parent = nullptr);

    // The chosen backup's path; empty when none is chosen.
    std::string chosenPath() const;
    QListWidget* list() const { return m_list; }
    // "2026-12-07 22:41:07 +01:00   666754 bytes"
    static QString lineFor(const BackupKeeper::Backup& backup);

private:
    std::vector<BackupKeeper::Backup> m_backups;
    QListWidget* m_list = nullptr;
};

} // namespace deskpanel
