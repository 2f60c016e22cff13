#include "ui/dialogs/PasteSettingsDialog.h"

#include "core/model/ChannelSettingsPaste.h"
#include "core/model/Limits.h"
#include "ui/dialogs/ChannelSettingsTemplates.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace deskpanel {

namespace {
using namespace ChannelSettingsControl;

struct Box {
    const char* text;
    std::optional<int> PartialSettings::*value;
    bool SettingsChoice::*ticked;
};
constexpr std::array<Box, 5> Boxes{{
    {"&Gain", &PartialSettings::gainDb, &SettingsChoice::gain},
    {"P&ad", &PartialSettings::pad, &SettingsChoice::pad},
    {"P&ol", &PartialSettings::polarity, &SettingsChoice::polarity},
    {"&48 V", &PartialSettings::phantom48V, &SettingsChoice::phantom48V},
    {"&Mute", &PartialSettings::mute, &SettingsChoice::mute},
}};

QSpinBox* spin(QWidget* parent, const QRect& rect, int low, int high, int value)
{
    auto* box = new QSpinBox(parent);
    box->setGeometry(rect);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}
} // namespace

PasteSettingsDialog::PasteSettingsDialog(const QString& title, const PartialSettings& source,
                                         const SettingsChoice& boxes, int currentChannel, QWidget* parent)
    : GlassDialog(ChannelSettingsTemplates::paste(), title, parent),
      m_source(source),
      m_given(boxes),
      m_currentChannel(isValidChannel(currentChannel) ? currentChannel : 0)
{
    createLabel(SettingsLabel, QStringLiteral("Settings to paste:"));
    for (std::size_t i = 0; i < Boxes.size(); ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(Boxes[i].text), this);
        box->setGeometry(controlRect(Gain + static_cast<int>(i)).adjusted(0, 0, 0, 4));
        const bool offered = (source.*Boxes[i].value).has_value();
        box->setEnabled(offered);
        box->setChecked(offered && boxes.*Boxes[i].ticked);
        m_boxes[i] = box;
    }
    createLabel(Onto, QStringLiteral("Onto:"));
    const int number = globalChannelNumber(m_currentChannel);
    m_current = new QRadioButton(QStringLiteral("The &current channel (Channel %1)").arg(number), this);
    m_current->setGeometry(controlRect(Current).adjusted(0, 0, 0, 4));
    m_channels = new QRadioButton(QStringLiteral("C&hannels from"), this);
    m_channels->setGeometry(controlRect(Channels).adjusted(0, 0, 0, 4));
    m_units = new QRadioButton(QStringLiteral("&Units from"), this);
    m_units->setGeometry(controlRect(Units).adjusted(0, 0, 0, 4));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {m_current, m_channels, m_units})
        group->addButton(b);
    m_current->setChecked(true);
    m_channelFrom = spin(this, controlRect(ChannelFrom), 1, MaxChannels, number);
    m_channelTo = spin(this, controlRect(ChannelTo), 1, MaxChannels, number);
    m_unitFrom = spin(this, controlRect(UnitFrom), 1, MaxUnits, unitOfChannel(m_currentChannel));
    m_unitTo = spin(this, controlRect(UnitTo), 1, MaxUnits, unitOfChannel(m_currentChannel));
    createLabel(ChannelToLabel, QStringLiteral("to"));
    createLabel(UnitToLabel, QStringLiteral("to"));
    // Editing a number chooses its line.
    for (QSpinBox* s : {m_channelFrom, m_channelTo})
        connect(s, &QSpinBox::valueChanged, this, [this] { m_channels->setChecked(true); });
    for (QSpinBox* s : {m_unitFrom, m_unitTo})
        connect(s, &QSpinBox::valueChanged, this, [this] { m_units->setChecked(true); });
    createOkCancel();
    m_current->setFocus(Qt::OtherFocusReason);
}

SettingsChoice PasteSettingsDialog::choice() const
{
    SettingsChoice choice = m_given;
    for (std::size_t i = 0; i < Boxes.size(); ++i)
        if (m_boxes[i]->isEnabled())
            choice.*Boxes[i].ticked = m_boxes[i]->isChecked();
    return choice;
}

PartialSettings PasteSettingsDialog::settings() const
{
    SettingsChoice ticked;
    for (std::size_t i = 0; i < Boxes.size(); ++i)
        ticked.*Boxes[i].ticked = m_boxes[i]->isEnabled() && m_boxes[i]->isChecked();
    return ticked.applyTo(m_source);
}

std::vector<int> PasteSettingsDialog::targets() const
{
    if (m_channels->isChecked())
        return ChannelSettingsPaste::channelNumbers(m_channelFrom->value(), m_channelTo->value());
    if (m_units->isChecked())
        return ChannelSettingsPaste::units(m_unitFrom->value(), m_unitTo->value());
    return {m_currentChannel};
}

// OK with no box ticked would paste nothing: it stays open.
void PasteSettingsDialog::onCommand(int id)
{
    if (id == ControlId::Ok && settings().empty()) {
        QApplication::beep();
        return;
    }
    GlassDialog::onCommand(id);
}

} // namespace deskpanel
