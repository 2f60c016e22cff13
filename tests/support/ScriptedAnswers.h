#pragma once
#include <deque>
#include <functional>

namespace deskpanel::test {

// What the scripted boxes and dialogs share: answers prepared in advance, and code that
// runs once "while the next box is open", the way timers and datagrams run inside a
// real modal box.
template <typename Answer>
class ScriptedAnswers {
public:
    std::deque<Answer> answers;
    std::function<void()> whileOpen;

protected:
    void runWhileOpen()
    {
        if (whileOpen) {
            auto inside = std::move(whileOpen);
            whileOpen = nullptr;
            inside();
        }
    }
    // The next prepared answer, or `whenNone` once they are used up.
    Answer takeAnswer(Answer whenNone)
    {
        if (answers.empty())
            return whenNone;
        Answer next = std::move(answers.front());
        answers.pop_front();
        return next;
    }
};

} // namespace deskpanel::test
