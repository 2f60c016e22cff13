#include "ui/main/MainMenu.h"

#include "app/ProjectCommands.h"
#include "ui/dialogs/DialogLauncher.h"
#include "ui/main/MainCommands.h"
#include "ui/main/RecordsCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace deskpanel {

namespace {
template <typename Run>
QAction* entry(QMenu* menu, const char* text, const QKeySequence& keys, Run run)
{
    QAction* action = menu->addAction(QString::fromLatin1(text));
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    QObject::connect(action, &QAction::triggered, menu, run);
    return action;
}
} // namespace

MainMenu::MainMenu(QMainWindow& window, MainCommands& c, RecordsCommands& records) : QObject(&window), m_commands(c)
{
    QMenuBar* bar = window.menuBar();
    ProjectCommands& project = c.project();
    DialogLauncher& dialogs = c.dialogs();

    m_files = bar->addMenu(QStringLiteral("&Files"));
    entry(m_files, "&New Project...", QKeySequence(Qt::CTRL | Qt::Key_N), [&project] { project.newProject(); });
    entry(m_files, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), [&project] { project.open(); });
    entry(m_files, "&Save...", QKeySequence(Qt::CTRL | Qt::Key_S), [&project] { project.save(); });
    entry(m_files, "Save &As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [&project] { project.saveAs(); });
    entry(m_files, "Open Bac&kup...", {}, [&records] { records.openBackup(); });
    entry(m_files, "Export Channel S&heet...", {}, [&records] { records.exportChannelSheet(); });
    entry(m_files, "&Import Channel Names...", {}, [&records] { records.importChannelNames(); });
    entry(m_files, "E&xit", {}, [&window] { window.close(); });
    m_recent = m_files->addMenu(QStringLiteral("&Recent Files"));
    connect(m_files, &QMenu::aboutToShow, this, [this] { fillRecentFiles(); });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    entry(edit, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), [&c] { c.undo(); });
    QAction* redo = entry(edit, "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y), [&c] { c.redo(); });
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    entry(edit, "C&opy Channel Settings", QKeySequence(Qt::CTRL | Qt::Key_C), [&c] { c.copyChannelSettings(); });
    entry(edit, "&Paste Channel Settings...", QKeySequence(Qt::CTRL | Qt::Key_V), [&c] { c.pasteChannelSettings(); });
    entry(edit, "Channel Pr&esets...", {}, [&c] { c.channelPresets(); });
    entry(edit, "&Link...", QKeySequence(Qt::CTRL | Qt::Key_L), [&dialogs] { dialogs.openLinkMatrix(); });
    entry(edit, "Unit &Naming...", {}, [&dialogs] { dialogs.openUnitName(1); });
    entry(edit, "&Channel Naming...", {}, [&dialogs] { dialogs.openChannelName(0); });
    entry(edit, "Recall Safes...", {}, [&c] { c.openRecallSafes(); });

    QMenu* setup = bar->addMenu(QStringLiteral("&Setup"));
    QMenu* diagnostics = setup->addMenu(QStringLiteral("&Diagnostics"));
    entry(diagnostics, "&IP Address...", {}, [&c] { c.showIpAddress(); });
    entry(diagnostics, "&Unit Identity Check...", QKeySequence(Qt::CTRL | Qt::Key_I),
          [&dialogs] { dialogs.openIdentityCheck(); });
    entry(diagnostics, "&System Status...", {}, [&dialogs] { dialogs.openSystemStatus(); });
    entry(diagnostics, "&Event Log...", {}, [&records] { records.openEventLog(); });
    setup->addAction(QStringLiteral("&Option Slot..."))->setEnabled(false);
    setup->addAction(QStringLiteral("&ADC..."))->setEnabled(false);
    entry(setup, "&Preferences...", {}, [&dialogs] { dialogs.openPreferences(); });
    entry(setup, "Recall and &Safety...", {}, [&c] { c.openRecallAndSafety(); });
    entry(setup, "&Remote Control...", {}, [&c] { c.remoteControl(); });
    if (c.hasStageRemote())
        entry(setup, "S&tage Remote...", {}, [&c] { c.stageRemote(); });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    entry(help, "&Quick Reference...", {}, [&c] { c.quickReference(); });
    QAction* guide = entry(help, "User &Guide", QKeySequence(Qt::CTRL | Qt::Key_H), [&c] { c.userGuide(); });
    guide->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_H), QKeySequence(Qt::Key_F1)});
    entry(help, "&About...", {}, [&c] { c.about(); });
    entry(help, "&Uninstall Veltara RP-8...", {}, [&project] { project.uninstall(); });

    // Keys of the accelerator table without a menu entry.
    const auto key = [&window](const QKeySequence& keys, auto run) {
        auto* action = new QAction(&window);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, &window, run);
        window.addAction(action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_M), [&dialogs] { dialogs.openMeterPreferences(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_G), [&c] { c.setMuteLinkedChannels(true); });
    key(QKeySequence(Qt::CTRL | Qt::Key_U), [&c] { c.setMuteLinkedChannels(false); });
    fillRecentFiles();
}

void MainMenu::fillRecentFiles()
{
    m_recent->clear();
    const auto& entries = m_commands.project().recent().entries();
    for (int i = 0; i < int(entries.size()) && i < RecentFileList::MaxEntries; ++i) {
        const QString text = QString::fromStdString(RecentFileList::menuText(i + 1, entries[std::size_t(i)]));
        QAction* action = m_recent->addAction(text);
        connect(action, &QAction::triggered, this, [this, i] { m_commands.project().openRecent(i); });
    }
    // With no recent file the submenu keeps one empty entry that does nothing.
    if (m_recent->isEmpty())
        m_recent->addAction(QString());
}

} // namespace deskpanel
