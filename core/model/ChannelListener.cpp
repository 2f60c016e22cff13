#include "core/model/ChannelListener.h"

#include <algorithm>

namespace deskpanel {

void ChannelListenerList::add(ChannelListener* listener)
{
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void ChannelListenerList::remove(ChannelListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

// Each call walks a copy of the list: a listener may add or remove listeners while it is told.
void ChannelListenerList::channelChanged(int channel, ChannelAspect aspect) const
{
    tellEach([&](ChannelListener& l) { l.channelChanged(channel, aspect); });
}

void ChannelListenerList::allChannelsChanged() const
{
    tellEach([](ChannelListener& l) { l.allChannelsChanged(); });
}

void ChannelListenerList::linkGroupTextChanged(int group) const
{
    tellEach([&](ChannelListener& l) { l.linkGroupTextChanged(group); });
}

void ChannelListenerList::unitNameChanged(int unit) const
{
    tellEach([&](ChannelListener& l) { l.unitNameChanged(unit); });
}

void ChannelListenerList::meterPreferencesChanged() const
{
    tellEach([](ChannelListener& l) { l.meterPreferencesChanged(); });
}

void ChannelListenerList::projectReplaced() const
{
    tellEach([](ChannelListener& l) { l.projectReplaced(); });
}

} // namespace deskpanel
