// A recall while the project's recall safes file could not be read: no one knows which
// channels should keep their settings.
#include "core/model/DeskRecall.h"
#include "tests/core/remote/RemoteFixture.h"
#include "tests/support/ScriptedChangeList.h"

#include <gtest/gtest.h>

namespace deskpanel::test {
namespace {

using UnreadableSafes = RemoteFixture;

} // namespace

// The desk always shows the preview (even with the preview switched off), a remote recall
// is refused; once the safes are known again both work as set.
TEST_F(UnreadableSafes, TheDeskShowsThePreviewAndARemoteRecallIsRefused)
{
    project.setProjectName("gig.vpf");
    project.live[0].mute = 1;
    store("Show");
    project.live[0].mute = 0;
    project.prefs.promptRecallScene = 0; // no question either
    ScriptedChangeList preview;
    scenes.setChangeListDialog(&preview);
    const OscMessage recall{"/deskpanel/scene/recall", {std::string("Show")}};
    project.recallSafesUnreadable = true;

    recallFromDesk(scenes, project, 1);
    ASSERT_EQ(preview.shown.size(), 1u);
    EXPECT_EQ(project.activeSceneIndex, 0); // the preview was declined
    EXPECT_FALSE(scenes.previewsRecall()); // the setting stays as it was
    EXPECT_EQ(send(recall),
              std::vector<OscMessage>{error("the recall safes could not be read: /deskpanel/scene/recall")});
    EXPECT_EQ(project.live[0].mute, 0);

    project.recallSafesUnreadable = false;
    recallFromDesk(scenes, project, 1);
    EXPECT_EQ(preview.shown.size(), 1u); // no preview, no question: recalled
    EXPECT_EQ(project.live[0].mute, 1);
    project.live[0].mute = 0;
    EXPECT_EQ(send(recall), std::vector<OscMessage>{});
    EXPECT_EQ(project.live[0].mute, 1);
}

} // namespace deskpanel::test
