#pragma once
#include <vector>

namespace deskpanel {

// What changed on a channel strip, so that a view redraws only that part.
enum class ChannelAspect {
    Switches, // Pol, Pad, 48v, Mute, Link
    Gain, // fader position and both gain texts
    LinkGroup, // group label, link indicator, matrix row
    Name, // the channel's title
};

// The views are told of every change of the live settings through this, on the UI
// thread, after the model already holds the new state. Both strip views and the link
// matrix listen, so they always show the same thing.
class ChannelListener {
public:
    virtual ~ChannelListener() = default;
    virtual void channelChanged(int /*channel*/, ChannelAspect /*aspect*/) {}
    // Many channels changed at once (reset, scene recall): redraw everything.
    virtual void allChannelsChanged() {}
    // A group's title or notes changed (group 1..10).
    virtual void linkGroupTextChanged(int /*group*/) {}
    // A unit's name or notes changed (unit 1..48).
    virtual void unitNameChanged(int /*unit*/) {}
    // The meter preferences or the meter update rate changed: redraw meters and scales.
    virtual void meterPreferencesChanged() {}
    // The whole project was replaced (New Project, Open): show everything again.
    virtual void projectReplaced() {}
};

// The listeners of the channel control. A listener removes itself before it dies.
class ChannelListenerList {
public:
    void add(ChannelListener* listener);
    void remove(ChannelListener* listener);

    void channelChanged(int channel, ChannelAspect aspect) const;
    void allChannelsChanged() const;
    void linkGroupTextChanged(int group) const;
    void unitNameChanged(int unit) const;
    void meterPreferencesChanged() const;
    void projectReplaced() const;

private:
    template <typename Call>
    void tellEach(Call call) const
    {
        const auto listeners = m_listeners;
        for (ChannelListener* listener : listeners)
            call(*listener);
    }

    std::vector<ChannelListener*> m_listeners;
};

} // namespace deskpanel
