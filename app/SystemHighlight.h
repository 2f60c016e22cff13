#pragma once

namespace deskpanel {

// The desktop's highlight colour, changed for the whole system while the program runs
// and put back when this object goes. Only Windows has one colour for every program;
// elsewhere nothing changes and the program's own palette carries the colour.
class SystemHighlight {
public:
    SystemHighlight(int red, int green, int blue);
    ~SystemHighlight();
    SystemHighlight(const SystemHighlight&) = delete;
    SystemHighlight& operator=(const SystemHighlight&) = delete;

    // Whether the system's colour was changed (and will be put back).
    bool changed() const { return m_changed; }

private:
    unsigned long m_saved = 0;
    bool m_changed = false;
};

} // namespace deskpanel
