#include "core/model/DeskRecall.h"

#include "core/model/Project.h"
#include "core/model/SceneOperations.h"

namespace deskpanel {

void recallFromDesk(SceneOperations& scenes, const Project& project, int position)
{
    const bool forced = project.recallSafesUnreadable && !scenes.previewsRecall();
    if (forced)
        scenes.setPreviewRecall(true);
    scenes.recallScene(position);
    // Only what was forced is undone: the setting may have been changed meanwhile.
    if (forced && scenes.previewsRecall())
        scenes.setPreviewRecall(false);
}

} // namespace deskpanel
