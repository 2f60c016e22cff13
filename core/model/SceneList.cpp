#include "core/model/SceneList.h"

#include "core/model/Text.h"

namespace deskpanel {

bool SceneList::append(Scene scene)
{
    if (isFull())
        return false;
    m_stored.push_back(std::move(scene));
    return true;
}

void SceneList::removeAt(int position)
{
    if (position < 1 || position >= count())
        return;
    m_stored.erase(m_stored.begin() + (position - 1));
}

std::string SceneList::displayText(int position) const
{
    if (position == 0)
        return BlankSceneText;
    return format("  %03d %s", position, scene(position).name.c_str());
}

} // namespace deskpanel
