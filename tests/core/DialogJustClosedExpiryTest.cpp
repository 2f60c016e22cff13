// The dialog-just-closed guard drops the click that closed a dialog, never a move the
// operator makes later.
#include "tests/core/ChannelControlFixture.h"

namespace deskpanel::test {
namespace {

class DialogJustClosedExpiry : public ChannelControlTest {
protected:
    DialogJustClosedExpiry() { control.setClock(&clock); }
};

TEST_F(DialogJustClosedExpiry, GuardLapsesAfterItsTimeOrAtAKeyPress)
{
    struct Case {
        const char* name;
        std::uint32_t elapsedMs;
        bool keyPressed;
        bool moveDropped;
    };
    const Case cases[] = {
        {"at once", 0, false, true},
        {"at the limit", ChannelControl::DialogJustClosedMs, false, true},
        {"just after the limit", ChannelControl::DialogJustClosedMs + 1, false, false},
        {"minutes later", 180000, false, false},
        {"after a key press", 10, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        project.live[0].gainPosition = 72;
        units.sent.clear();
        control.raiseDialogJustClosed();
        clock.advance(c.elapsedMs);
        if (c.keyPressed)
            control.keyPressed();
        control.singleGainMove(0, 30);
        EXPECT_EQ(live(0).gainPosition, c.moveDropped ? 72 : 30);
        // Whatever happened, the guard is gone and the next move goes through.
        EXPECT_FALSE(control.isDialogJustClosedRaised());
    }
}

} // namespace
} // namespace deskpanel::test
