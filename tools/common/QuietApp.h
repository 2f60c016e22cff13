#pragma once
#include "app/DeskPanelApp.h"
#include "core/host/Operator.h"
#include "ui/dialogs/DialogLauncher.h"

namespace deskpanel {

// The whole application of a full rack with nobody at the screen, for pictures and
// measurements of the views: every box is answered No at once, messages and notes go
// nowhere and no dialog opens. It opens no socket unless app().start() is called.
class QuietApp {
public:
    DeskPanelApp& app() { return m_app; }
    DialogLauncher& dialogs() { return m_dialogs; }

private:
    class SilentOperator : public Operator {
    public:
        void message(const std::string&) override {}
        void platformMessage(const std::string&) override {}
        Decision decide(const std::string&) override { return Decision::No; }
        Decision decideThreeWay(const std::string&, const std::function<void()>&) override { return Decision::No; }
        void timedNote(const std::string&, const std::string&, std::uint32_t) override {}
        bool isTimedNoteOpen() const override { return false; }
        void beep() override {}
    };

    class NoDialogs : public DialogLauncher {
    public:
        void openChannelName(int) override {}
        void openUnitName(int) override {}
        void openPreferences() override {}
        void openAutosave() override {}
        void openMeterPreferences() override {}
        void openLinkMatrix() override {}
        void openSystemStatus() override {}
        void openUnitStatus(int) override {}
        void openIdentityCheck() override {}
    };

    SilentOperator m_operator;
    NoDialogs m_dialogs;
    DeskPanelApp m_app{LinkPorts{}, m_operator};
};

} // namespace deskpanel
