#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace deskpanel {

// One operation at a time. Boxes run nested event loops in which timers, unit packets and
// remote packets keep arriving; an operation that changes live settings, the scene list or
// the files (a recall, Undo, Redo, a save, a file command, the name import, the identity
// check) holds the gate for its whole length, boxes included, so nothing of that kind runs
// inside it. Who arrives while it is held decides for itself: remote changes wait in their
// queue, saves and file commands wait, other local operations are refused with the beep.
class OperationGate {
public:
    // Holds the gate until it is destroyed or moved from.
    class Hold {
    public:
        Hold(Hold&& other) noexcept : m_gate(std::exchange(other.m_gate, nullptr)) {}
        Hold& operator=(Hold&& other) noexcept;
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() { release(); }
        void release();

    private:
        friend class OperationGate;
        explicit Hold(OperationGate* gate) : m_gate(gate) {}
        OperationGate* m_gate;
    };

    // Lets the gate go for a while inside the operation that holds it (a save, while its
    // worker writes: what must wait for the write waits for that already), and takes it
    // back for the same operation when destroyed. Whatever ran meanwhile has ended by
    // then, since it ran inside the holder's own nested event loop.
    class Pause {
    public:
        explicit Pause(OperationGate* gate);
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
        ~Pause();

    private:
        OperationGate* m_gate;
        std::string m_holder;
    };

    // Takes the gate for `operation`; nothing when another operation holds it.
    [[nodiscard]] std::optional<Hold> enter(std::string operation);

    bool isHeld() const { return !m_holder.empty(); }
    // The operation that holds the gate ("" when free), for tests and the event log.
    const std::string& holder() const { return m_holder; }

    // Called, in the order added, each time the gate becomes free.
    using ReleaseListener = std::function<void()>;
    int addReleaseListener(ReleaseListener listener);
    void removeReleaseListener(int id);

private:
    void released();

    std::string m_holder;
    std::vector<std::pair<int, ReleaseListener>> m_listeners;
    int m_nextListener = 1;
};

} // namespace deskpanel
