#include "core/model/OperationGate.h"

#include <algorithm>

namespace deskpanel {

OperationGate::Hold& OperationGate::Hold::operator=(Hold&& other) noexcept
{
    if (this != &other) {
        release();
        m_gate = std::exchange(other.m_gate, nullptr);
    }
    return *this;
}

void OperationGate::Hold::release()
{
    if (OperationGate* gate = std::exchange(m_gate, nullptr))
        gate->released();
}

OperationGate::Pause::Pause(OperationGate* gate) : m_gate(gate && gate->isHeld() ? gate : nullptr)
{
    if (m_gate) {
        m_holder = m_gate->m_holder;
        m_gate->released();
    }
}

OperationGate::Pause::~Pause()
{
    if (m_gate && !m_gate->isHeld())
        m_gate->m_holder = m_holder;
}

std::optional<OperationGate::Hold> OperationGate::enter(std::string operation)
{
    if (isHeld())
        return std::nullopt;
    m_holder = operation.empty() ? std::string("operation") : std::move(operation);
    return Hold(this);
}

void OperationGate::released()
{
    m_holder.clear();
    // A copy: a listener may add or remove listeners, or take the gate again.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        if (!isHeld())
            listener();
}

int OperationGate::addReleaseListener(ReleaseListener listener)
{
    m_listeners.emplace_back(m_nextListener, std::move(listener));
    return m_nextListener++;
}

void OperationGate::removeReleaseListener(int id)
{
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

} // namespace deskpanel
