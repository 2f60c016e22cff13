#pragma once
#include "core/host/Operator.h"
#include "tests/support/ScriptedAnswers.h"

#include <string>
#include <vector>

namespace deskpanel::test {

// Records every box the core raises and answers decisions from a prepared list
// (Yes when the list is empty). `whileOpen` runs inside the next modal box, the way
// timers and datagrams run while a real box is open.
class ScriptedOperator : public Operator, public ScriptedAnswers<Decision> {
public:
    enum class Kind {
        Message,
        PlatformMessage,
        Decide,
        DecideThreeWay,
        TimedNote,
        Beep
    };
    struct Shown {
        Kind kind;
        std::string text;
    };

    void message(const std::string& text) override { modal(Kind::Message, text); }
    void platformMessage(const std::string& text) override { modal(Kind::PlatformMessage, text); }
    Decision decide(const std::string& text) override;
    Decision decideThreeWay(const std::string& text, const std::function<void()>& saveAs) override;
    void timedNote(const std::string& caption, const std::string& text, std::uint32_t durationMs) override;
    bool isTimedNoteOpen() const override { return timedNoteOpen; }
    void beep() override { shown.push_back({Kind::Beep, {}}); }

    std::vector<Shown> shown;
    bool timedNoteOpen = false;
    // When set, a three-way box asks for Save As before answering.
    bool saveAsFromThreeWay = false;

    std::vector<std::string> textsOf(Kind kind) const;
    void clear() { shown.clear(); }

private:
    void modal(Kind kind, const std::string& text);
};

} // namespace deskpanel::test
