#pragma once

namespace deskpanel {

// The main window's timers. The numbered ones keep the numbers the program has always
// used for them; the others belong to a single dialog or operation and have no number
// of their own, so they sit above 100.
enum class TimerId : int {
    Startup = 1, // 100 ms, once
    SimulatedMeters = 2, // 50 ms
    Poll = 3, // 8000 ms
    OfflineCheck = 5, // 5000 ms
    Autosave = 6, // minutes x 60000 ms
    Refresh = 8, // 1000 ms
    FullResend = 12, // once, 100 ms (1000 ms after a temporary unlink)
    IdConflictEnd = 13, // once, 2000 ms
    SceneButtonRedraw = 15, // once, 300 ms
    ResetChannels = 16, // once, 3 s after start-up
    IpConflictEnd = 20, // once, 2000 ms
    LinkResend = 21, // once, 1000 ms

    TemporaryUnlink = 101, // 20 ms, while an Alt-drag is pending
    MeterReadoutReset = 102, // once, 2000 ms
    SceneRenumber = 103, // once, 500 ms after a scene drag step
    IdentityCheckEnd = 104, // once, 10000 ms
    IdentityCheckToggle = 105, // 500 ms
    BindRetry = 106, // 2000 ms, while another program holds the host port
    RemoteGrabRelease = 107, // once, 500 ms after a remote's last gain message for a channel
    RemoteFeedback = 108, // 20 ms while feedback waits for a subscriber
    RemoteMeters = 110, // 10 ms while a remote takes meters
    RemoteAnswerPace = 111, // 20 ms while a long answer (the scene list) goes out
    RemoteLeaseEnd = 112, // once, when the next remote lease runs out
    RemoteQueue = 109, // 1 ms while remote work waits to go on, 100 ms while the gate is held
    StageGrabRelease = 113, // once, 500 ms after a stage page's last gain message for a channel
    StageFrame = 114, // 20 ms while stage pages are open
    NoUnitHeard = 115, // once, 10 s after the host port was bound, while no unit packet has arrived
};

} // namespace deskpanel
