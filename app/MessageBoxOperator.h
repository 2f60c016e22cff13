#pragma once
#include "core/host/Operator.h"

#include <QPointer>
#include <QWidget>

namespace deskpanel {

// The operator's boxes as the platform's standard message boxes.
class MessageBoxOperator : public Operator {
public:
    explicit MessageBoxOperator(QWidget* parent = nullptr) : m_parent(parent) {}

    void message(const std::string& text) override;
    void platformMessage(const std::string& text) override;
    Decision decide(const std::string& text) override;
    Decision decideThreeWay(const std::string& text, const std::function<void()>& saveAs) override;
    void timedNote(const std::string& caption, const std::string& text, std::uint32_t durationMs) override;
    bool isTimedNoteOpen() const override { return !m_note.isNull(); }
    void beep() override;

private:
    QWidget* m_parent;
    QPointer<QWidget> m_note;
};

} // namespace deskpanel
