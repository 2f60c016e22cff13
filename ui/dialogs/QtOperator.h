#pragma once
#include "core/host/Operator.h"

#include <QPointer>
#include <QWidget>

#include "ui/dialogs/TimedNote.h"

namespace deskpanel {

// The operator port on the program's own boxes: the message, decision and three-way
// boxes in the glass look, the timed note, and the platform's plain message box.
class QtOperator : public Operator {
public:
    explicit QtOperator(QWidget* parentWindow = nullptr);
    ~QtOperator() override;

    // The window the modal boxes belong to (the main window once it exists).
    void setParentWindow(QWidget* parentWindow) { m_parent = parentWindow; }

    void message(const std::string& text) override;
    void platformMessage(const std::string& text) override;
    Decision decide(const std::string& text) override;
    Decision decideThreeWay(const std::string& text, const std::function<void()>& saveAs) override;
    void timedNote(const std::string& caption, const std::string& text, std::uint32_t durationMs) override;
    bool isTimedNoteOpen() const override;
    void beep() override;

    // The text the last box showed (the boxes' shared message text).
    const std::string& sharedText() const { return m_sharedText; }
    TimedNote* openTimedNote() const { return m_note.data(); }

private:
    QPointer<QWidget> m_parent;
    QPointer<TimedNote> m_note;
    std::string m_sharedText;
};

} // namespace deskpanel
