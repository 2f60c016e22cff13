#pragma once
#include "core/host/Clock.h"

#include <QObject>

namespace deskpanel {

// After a file dialog closes, the next mouse click that reaches the application is
// dropped, so the click that closed the dialog does not act on the main window. The
// guard lapses after ExpiryMs or at the next key press: it never eats a real action
// made later.
class ClickThroughGuard : public QObject {
public:
    static constexpr std::uint32_t ExpiryMs = 300;

    explicit ClickThroughGuard(const Clock& clock, QObject* parent = nullptr);

    void arm();
    bool isArmed() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Clock& m_clock;
    bool m_armed = false;
    bool m_dropRelease = false;
    std::uint32_t m_armedAt = 0;
};

} // namespace deskpanel
