#include "ui/dialogs/UnitStatusDialog.h"

#include "core/host/Operator.h"
#include "core/model/ChannelControl.h"
#include "core/unitlink/UnitLink.h"
#include "core/unitlink/UnitStatusReport.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QKeyEvent>
#include <QLabel>

namespace deskpanel {

UnitStatusDialog::UnitStatusDialog(const UnitLink& link, ChannelControl& channels, Operator& op, int unit,
                                   QWidget* parent)
    : GlassDialog(DialogTemplates::unitStatus(), QStringLiteral("Unit Status"), parent),
      m_link(link),
      m_channels(channels),
      m_operator(op),
      m_unit(std::clamp(unit, 1, MaxUnits))
{
    using namespace DialogControl;
    m_status = createLabel(ControlId::Text, {});
    m_status->setObjectName(QStringLiteral("status"));
    m_mac = createLabel(MacLine, {}, Qt::AlignHCenter | Qt::AlignTop);
    m_ip = createLabel(IpLine, {}, Qt::AlignHCenter | Qt::AlignTop);
    const QString face = ImageRegistry::key(162);
    createButton(Prev, QStringLiteral("< &Prev"), face);
    createButton(ControlId::Ok, QStringLiteral("OK"), face);
    createButton(Next, QStringLiteral("&Next >"), face);
    refresh();
}

QString UnitStatusDialog::statusText() const
{
    return m_status->text();
}

QString UnitStatusDialog::macLine() const
{
    return m_mac->text();
}

QString UnitStatusDialog::ipLine() const
{
    return m_ip->text();
}

void UnitStatusDialog::refresh()
{
    const auto record = m_link.table().findByNumber(m_unit);
    const UnitStatusTexts texts =
        unitStatusTexts(m_unit, m_link.slot(m_unit), record ? &m_link.table().at(*record) : nullptr);
    m_status->setText(QString::fromStdString(texts.status));
    m_mac->setText(QString::fromStdString(texts.macLine));
    m_ip->setText(QString::fromStdString(texts.ipLine));
}

void UnitStatusDialog::onCommand(int id)
{
    switch (id) {
    case DialogControl::Prev:
        if (m_unit < 2) {
            m_operator.beep();
            return;
        }
        --m_unit;
        refresh();
        return;
    case DialogControl::Next:
        if (m_unit >= MaxUnits) {
            m_operator.beep();
            return;
        }
        ++m_unit;
        refresh();
        return;
    case ControlId::Ok:
        m_channels.raiseDialogJustClosed();
        done(DialogResult::Ok);
        return;
    default: GlassDialog::onCommand(id);
    }
}

void UnitStatusDialog::keyPressEvent(QKeyEvent* event)
{
    if ((event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
        const QString typed = event->text().toLower();
        if (typed == QLatin1String("o"))
            return onCommand(ControlId::Ok);
        if (typed == QLatin1String("n"))
            return onCommand(DialogControl::Next);
        if (typed == QLatin1String("p"))
            return onCommand(DialogControl::Prev);
    }
    GlassDialog::keyPressEvent(event);
}

} // namespace deskpanel
