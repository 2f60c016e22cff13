#pragma once
#include "ui/controls/GlassDialog.h"

namespace deskpanel {

class ChannelControl;
class Project;
class RecallSafesView;
class ScrollBar;

// Edit > "Recall Safes...": the matrix of the five safe flags against the 384 inputs,
// with its scroll bar, "&OK" (the project takes the edited safes, and the strips show
// them) and "&Cancel" (nothing changes).
class RecallSafesDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int PageColumns = 8;

    RecallSafesDialog(Project& project, ChannelControl& channels, QWidget* parent = nullptr);
    RecallSafesView* matrix() const { return m_matrix; }
    ScrollBar* scrollBar() const { return m_scrollBar; }

protected:
    void onCommand(int id) override;

private:
    void onScrolled(int code, int position);

    Project& m_project;
    ChannelControl& m_channels;
    RecallSafesView* m_matrix = nullptr;
    ScrollBar* m_scrollBar = nullptr;
};

} // namespace deskpanel
