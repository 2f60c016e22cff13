#pragma once
// What the dialog tests build the dialogs on: a project with its channel control over a
// recording unit sender (ModelRig), or over a unit link that is fed packets by hand
// (LinkRig); both with a scripted operator and virtual-time timers.
#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/unitlink/UnitLink.h"
#include "tests/core/ChannelControlFixture.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/RecordingLinkEvents.h"
#include "tests/support/RecordingUnitSender.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/GlassButton.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace uitest {

using namespace deskpanel;
using namespace deskpanel::test;

struct ModelRig {
    Project project;
    FakeClock clock;
    FakeTimers timers{clock};
    RecordingUnitSender units;
    RecordingSceneTracker scenes;
    ScriptedOperator op;
    ChannelControl channels{project, units, timers, scenes};

    int beeps() const
    {
        int n = 0;
        for (const auto& s : op.shown)
            n += s.kind == ScriptedOperator::Kind::Beep ? 1 : 0;
        return n;
    }
};

struct LinkRig {
    Project project;
    FakeClock clock;
    FakeTimers timers{clock};
    ScriptedOperator op;
    RecordingDatagramSender datagrams;
    RecordingLinkEvents events;
    UnitLink link{clock, timers, op, datagrams, events, project.prefs};
    RecordingSceneTracker scenes;
    ChannelControl channels{project, link, timers, scenes};

    static UnitPacketFields unitFields(int unit)
    {
        UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        fields.mac = macOf(unit);
        return fields;
    }
    void receive(const UnitPacketFields& fields)
    {
        const PacketBytes bytes = unitPacket(fields);
        link.handleDatagram(bytes.data(), bytes.size(),
                            Ipv4Endpoint{(127u << 24) | (10u << 8) | fields.unitNumber, 40000});
    }
    // A unit heard twice, so that its readings count.
    void discover(int unit, UnitPacketFields fields)
    {
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        fields.mac = macOf(unit);
        receive(fields);
        receive(fields);
    }
    void discover(int unit) { discover(unit, unitFields(unit)); }
    // Every unit except `keep` falls silent long enough to be taken off the table.
    void silenceAllBut(int keep)
    {
        clock.advance(UnitLink::OfflineAfterMs + 1000);
        if (keep)
            receive(unitFields(keep));
        timers.fireNow(TimerId::OfflineCheck);
    }
};

// Clicks the dialog's button with control id `id`.
inline void clickButton(QWidget& dialog, int id)
{
    auto* button = dialog.findChild<GlassButton*>(QStringLiteral("button%1").arg(id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `act` once the next modal dialog or pop-up is open, from inside its event loop.
inline void whenModalOpens(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* open = QApplication::activePopupWidget();
        if (!open)
            open = QApplication::activeModalWidget();
        if (open)
            act(open);
    });
}

} // namespace uitest
