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

// Copies of the list: a listener may add or remove listeners while it is told.
void ChannelListenerList::channelChanged(int channel, ChannelAspect aspect) const
{
    const auto listeners = m_listeners;
    for (ChannelListener* listener : listeners)
        listener->channelChanged(channel, aspect);
}

void ChannelListenerList::allChannelsChanged() const
{
    const auto listeners = m_listeners;
    for (ChannelListener* listener : listeners)
        listener->allChannelsChanged();
}

void ChannelListenerList::linkGroupTextChanged(int group) const
{
    const auto listeners = m_listeners;
    for (ChannelListener* listener : listeners)
        listener->linkGroupTextChanged(group);
}

} // namespace deskpanel
