#include "ui/dialogs/OpenBackupDialog.h"

#include "ui/dialogs/AppDialogTemplates.h"

#include <QListWidget>
#include <QLocale>

namespace deskpanel {

OpenBackupDialog::OpenBackupDialog(const std::string& projectName, std::vector<BackupKeeper::Backup> backups,
                                   QWidget* parent)
    : GlassDialog(DialogTemplates::openBackup(), QStringLiteral("Open Backup"), parent), m_backups(std::move(backups))
{
    using namespace DialogControl;
    createLabel(BackupLabel, QStringLiteral("Backups of %1, newest first:").arg(QString::fromStdString(projectName)));
    m_list = new QListWidget(this);
    setBuddy(BackupLabel, m_list);
    m_list->setObjectName(QStringLiteral("backups"));
    m_list->setGeometry(controlRect(BackupList));
    for (const BackupKeeper::Backup& backup : m_backups)
        m_list->addItem(lineFor(backup));
    m_list->setCurrentRow(0);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { onCommand(ControlId::Ok); });
    createOkCancel();
}

QString OpenBackupDialog::lineFor(const BackupKeeper::Backup& backup)
{
    // The name's "YYYY-MM-DD HHMMSS+HHMM" as a time people read; an earlier version's
    // name has no offset to show.
    const QString stamp = QString::fromStdString(backup.stamp);
    QString time =
        stamp.left(11) + stamp.mid(11, 2) + QLatin1Char(':') + stamp.mid(13, 2) + QLatin1Char(':') + stamp.mid(15, 2);
    if (backup.name.offsetKnown)
        time += QLatin1Char(' ') + stamp.mid(17, 3) + QLatin1Char(':') + stamp.mid(20, 2);
    return QStringLiteral("%1   %2 bytes").arg(time, QLocale::c().toString(static_cast<qulonglong>(backup.size)));
}

std::string OpenBackupDialog::chosenPath() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_backups.size()))
        return {};
    return m_backups[static_cast<std::size_t>(row)].path;
}

} // namespace deskpanel
