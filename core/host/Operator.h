#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace deskpanel {

// Results of the decision boxes, the values the program has always used.
enum class Decision : int {
    Yes = 6,
    No = 7,
    Cancel = 2,
};

// The boxes through which the program speaks to the operator. Every call except
// timedNote() is modal: it returns when the operator has closed the box, and timers and
// datagrams keep being handled meanwhile.
class Operator {
public:
    virtual ~Operator() = default;

    // The program's own message box with one OK button.
    virtual void message(const std::string& text) = 0;
    // The platform's plain message box with one OK button (network start-up errors,
    // a wrong packet magic, file errors, failed creation of a control).
    virtual void platformMessage(const std::string& text) = 0;
    // Yes or No.
    virtual Decision decide(const std::string& text) = 0;
    // Yes, No or Cancel (the exit prompt). `saveAs` runs while the box stays open when
    // the operator asks for Save As from within it; may be empty.
    virtual Decision decideThreeWay(const std::string& text, const std::function<void()>& saveAs) = 0;
    // A modeless note that closes itself after `durationMs`; at most one is open.
    virtual void timedNote(const std::string& caption, const std::string& text, std::uint32_t durationMs) = 0;
    virtual bool isTimedNoteOpen() const = 0;
    virtual void beep() = 0;
};

} // namespace deskpanel
