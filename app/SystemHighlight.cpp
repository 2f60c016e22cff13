#include "app/SystemHighlight.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace deskpanel {

SystemHighlight::SystemHighlight(int red, int green, int blue)
{
#ifdef _WIN32
    // A high-contrast theme chose its colours for people who need them: leave them be.
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) != 0 &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
        return;
    }
    m_saved = GetSysColor(COLOR_HIGHLIGHT);
    const INT element = COLOR_HIGHLIGHT;
    const COLORREF colour = RGB(red, green, blue);
    m_changed = SetSysColors(1, &element, &colour) != 0;
#else
    (void)red;
    (void)green;
    (void)blue;
#endif
}

SystemHighlight::~SystemHighlight()
{
#ifdef _WIN32
    if (m_changed) {
        const INT element = COLOR_HIGHLIGHT;
        const COLORREF colour = static_cast<COLORREF>(m_saved);
        SetSysColors(1, &element, &colour);
    }
#endif
}

} // namespace deskpanel
