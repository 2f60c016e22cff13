#pragma once
#include <QObject>

class QMainWindow;
class QMenu;

namespace deskpanel {

class MainCommands;
class RecordsCommands;

// Menu bar 127 and accelerator table 103: every entry with its key text, the two disabled
// entries, the recent files filled in each time the Files menu opens, and the keys that
// have no menu entry (F1, Ctrl+M, Ctrl+G, Ctrl+U).
class MainMenu : public QObject {
public:
    MainMenu(QMainWindow& window, MainCommands& commands, RecordsCommands& records);

    QMenu* filesMenu() const { return m_files; }
    QMenu* recentMenu() const { return m_recent; }
    // Rebuilds the recent-files submenu ("&1. path", up to 8; one empty entry for none).
    void fillRecentFiles();

private:
    MainCommands& m_commands;
    QMenu* m_files = nullptr;
    QMenu* m_recent = nullptr;
};

} // namespace deskpanel
