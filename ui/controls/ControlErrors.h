#pragma once
#include <QString>

#include <functional>

namespace deskpanel {

// Where the controls report that they could not be created. The program shows these in
// the platform's plain message box; tests install their own handler.
class ControlErrors {
public:
    using Handler = std::function<void(const QString&)>;

    static void report(const QString& text);
    // Installs `handler` (an empty one restores the platform message box); returns the old one.
    static Handler setHandler(Handler handler);
    // The platform's plain message box with one OK button.
    static void showPlatformMessage(const QString& text);
    // Trace output for developers; the delivered program keeps it quiet.
    static void trace(const char* text);
};

} // namespace deskpanel
