#pragma once
#include <string>

namespace deskpanel {

// The two things a strip's title area opens. Both are modal: timers and datagrams run
// while they are open, so callers re-read the model after they return.
class ChannelStripDialogs {
public:
    // What the link group pop-up returns.
    static constexpr int NothingChosen = -1; // closed, or the "Link Group" heading
    static constexpr int ChoseNone = 0; // "None"; 1..10 for " 1" .. " 10"

    virtual ~ChannelStripDialogs() = default;
    // The pop-up for a channel; `checkedGroup` is its present group (0 checks "None").
    virtual int chooseLinkGroup(int channel, int checkedGroup) = 0;
    // The channel title dialog with its heading; true when closed with OK (the dialog
    // has then stored the title and notes).
    virtual bool editChannelTitle(int channel, const std::string& heading) = 0;
};

} // namespace deskpanel
