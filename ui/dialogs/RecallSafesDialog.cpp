#include "ui/dialogs/RecallSafesDialog.h"

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/ScrollBar.h"
#include "ui/dialogs/RecallSafesView.h"
#include "ui/dialogs/SafetyDialogTemplates.h"

namespace deskpanel {

RecallSafesDialog::RecallSafesDialog(Project& project, ChannelControl& channels, QWidget* parent)
    : GlassDialog(SafetyTemplates::recallSafes(), QStringLiteral("Recall Safes"), parent),
      m_project(project),
      m_channels(channels)
{
    m_matrix = new RecallSafesView(project, project.recallSafes, this);
    m_matrix->setGeometry(controlRect(SafetyControl::SafesArea));
    m_matrix->setFont(font());
    m_scrollBar = ScrollBar::create(0, this, controlRect(SafetyControl::SafesScrollBar), SafetyControl::SafesScrollBar);
    if (m_scrollBar) {
        m_scrollBar->setScrollRange(0, m_matrix->scrollRange());
        m_scrollBar->setScrollPos(0);
        connect(m_scrollBar, &ScrollBar::scrolled, this, &RecallSafesDialog::onScrolled);
    }
    createOkCancel();
}

void RecallSafesDialog::onScrolled(int code, int position)
{
    const int column = RecallSafesView::ColumnWidth;
    const auto next =
        ScrollBar::target(code, position, m_matrix->scrollPos(), column, PageColumns * column, m_matrix->scrollRange());
    if (!next)
        return;
    m_matrix->setScrollPos(*next);
    m_scrollBar->setScrollPos(m_matrix->scrollPos());
}

void RecallSafesDialog::onCommand(int id)
{
    if (id == ControlId::Ok) {
        // Safes the operator sets are known again: the file that could not be read may
        // now be written over.
        if (m_matrix->safes() != m_project.recallSafes)
            m_project.recallSafesUnreadable = false;
        m_project.recallSafes = m_matrix->safes();
        m_channels.notifyAllChannelsChanged(); // the strips' "S"
        m_channels.raiseDialogJustClosed();
    }
    GlassDialog::onCommand(id);
}

} // namespace deskpanel
