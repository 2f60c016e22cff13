#pragma once
#include "core/model/PartialSettings.h"
#include "core/records/PresetLibrary.h"
#include "ui/dialogs/ChangeListBox.h"

#include <QString>

#include <string>

class QPoint;
class QWidget;

namespace deskpanel {

class DeskPanelApp;
class FileDialogs;

// Copy, paste and presets of channel settings: the Edit menu's three entries, their keys
// and the strip's Shift+right-click menu. The clipboard carries the settings as one line
// of text (core/records/ClipboardLine); the paste itself is the core's one operation;
// the preset library lives in the user's data folder, read again each time it is shown,
// its damage reported once.
class ChannelSettingsCommands {
public:
    ChannelSettingsCommands(DeskPanelApp& app, std::string profilePath, std::string libraryPath, FileDialogs& files,
                            QWidget* window);

    void copy();
    void paste();
    void openPresets();
    // The small menu of a channel's name field: Copy, Paste and the presets.
    void showStripMenu(int channel, const QPoint& globalPos);

    // What the presets dialog's buttons do (the index is the preset's in the library).
    void applyPreset(std::size_t index);
    void newFromCurrent();
    void renamePreset(std::size_t index);
    void deletePreset(std::size_t index);
    void importCsv();
    void exportCsv();
    const PresetLibrary& library() const { return m_library; }

private:
    // The paste dialog over `source`, then the paste; `remember` stores the boxes.
    void pasteWithDialog(const QString& title, const PartialSettings& source, bool remember);
    void loadLibrary();
    void saveLibrary();

    DeskPanelApp& m_app;
    std::string m_profilePath;
    std::string m_libraryPath;
    FileDialogs& m_files;
    QWidget* m_window;
    QtChangeListDialog m_importPreview;
    PresetLibrary m_library;
    bool m_libraryReadWhole = true;
    std::string m_reportedDamage;
};

} // namespace deskpanel
