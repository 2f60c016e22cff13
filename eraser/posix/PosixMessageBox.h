#pragma once

#include <iosfwd>
#include <string>

// The message boxes of the Linux programs: small windows when there is a display to
// show them on, lines on the terminal otherwise.
class PosixMessageBox {
public:
    // Whether messages can appear as windows: Qt has a platform with a screen, either
    // chosen in QT_QPA_PLATFORM or an X11 display that answers.
    static bool canShowWindows(bool x11DisplayAnswers);

    // Messages as windows; a QApplication must exist.
    PosixMessageBox();
    // Messages as text on out; each waits for a line on in (Enter) or its end.
    PosixMessageBox(std::istream& in, std::ostream& out);

    void show(const std::string& caption, const std::string& text);

private:
    std::istream* m_in = nullptr;
    std::ostream* m_out = nullptr;
};
