#include "tests/support/ScriptedOperator.h"

namespace deskpanel::test {

void ScriptedOperator::modal(Kind kind, const std::string& text)
{
    shown.push_back({kind, text});
    runWhileOpen();
}

Decision ScriptedOperator::decide(const std::string& text)
{
    modal(Kind::Decide, text);
    return takeAnswer(Decision::Yes);
}

Decision ScriptedOperator::decideThreeWay(const std::string& text, const std::function<void()>& saveAs)
{
    modal(Kind::DecideThreeWay, text);
    if (saveAsFromThreeWay && saveAs)
        saveAs();
    return takeAnswer(Decision::Yes);
}

void ScriptedOperator::timedNote(const std::string& caption, const std::string& text, std::uint32_t)
{
    shown.push_back({Kind::TimedNote, caption + "|" + text});
    timedNoteOpen = true;
}

std::vector<std::string> ScriptedOperator::textsOf(Kind kind) const
{
    std::vector<std::string> texts;
    for (const auto& box : shown)
        if (box.kind == kind)
            texts.push_back(box.text);
    return texts;
}

} // namespace deskpanel::test
