#pragma once

namespace deskpanel {

// The one way the main window, its menus and the strip views open the program's dialogs.
// Every call is modal and returns when the dialog has closed: timers and datagrams keep
// running meanwhile, so callers find what they work on again afterwards.
// Channels are 0..383, units 1..48.
class DialogLauncher {
public:
    virtual ~DialogLauncher() = default;

    // Channel Name, starting at `channel` (the menu starts at channel 0, "Channel 1").
    virtual void openChannelName(int channel) = 0;
    // Unit Name, starting at `unit` (the menu starts at unit 1).
    virtual void openUnitName(int unit) = 0;
    virtual void openPreferences() = 0;
    virtual void openAutosave() = 0;
    virtual void openMeterPreferences() = 0;
    // The Link dialog (the link matrix with its group names and members).
    virtual void openLinkMatrix() = 0;
    virtual void openSystemStatus() = 0;
    // Unit Status for `unit`, which becomes the program-wide current unit.
    virtual void openUnitStatus(int unit) = 0;
    virtual void openIdentityCheck() = 0;
};

} // namespace deskpanel
