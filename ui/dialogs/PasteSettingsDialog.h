#pragma once
#include "core/model/PartialSettings.h"
#include "ui/controls/GlassDialog.h"

#include <array>
#include <vector>

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace deskpanel {

// Edit > "Paste Channel Settings..." and a preset's Apply: which of the five settings to
// paste (a setting the source does not hold is not offered) and onto which channels: the
// current channel (the default, so Enter pastes there at once), channels "from ... to ..."
// (1..384) or whole units "from ... to ..." (1..48).
class PasteSettingsDialog : public GlassDialog {
    Q_OBJECT
public:
    PasteSettingsDialog(const QString& title, const PartialSettings& source, const SettingsChoice& boxes,
                        int currentChannel, QWidget* parent = nullptr);

    // The boxes as they were left; a box not offered keeps what `boxes` said.
    SettingsChoice choice() const;
    // What the paste takes from the source.
    PartialSettings settings() const;
    // The channels (0..383) chosen.
    std::vector<int> targets() const;

    QCheckBox* box(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }
    QRadioButton* currentButton() const { return m_current; }
    QRadioButton* channelsButton() const { return m_channels; }
    QRadioButton* unitsButton() const { return m_units; }
    QSpinBox* channelFrom() const { return m_channelFrom; }
    QSpinBox* channelTo() const { return m_channelTo; }
    QSpinBox* unitFrom() const { return m_unitFrom; }
    QSpinBox* unitTo() const { return m_unitTo; }

protected:
    void onCommand(int id) override;

private:
    PartialSettings m_source;
    SettingsChoice m_given;
    int m_currentChannel;
    std::array<QCheckBox*, 5> m_boxes{};
    QRadioButton* m_current = nullptr;
    QRadioButton* m_channels = nullptr;
    QRadioButton* m_units = nullptr;
    QSpinBox* m_channelFrom = nullptr;
    QSpinBox* m_channelTo = nullptr;
    QSpinBox* m_unitFrom = nullptr;
    QSpinBox* m_unitTo = nullptr;
};

} // namespace deskpanel
