#pragma once
#include "ui/controls/GlassDialog.h"

class QComboBox;

namespace deskpanel {

class Project;

// Files > "Export Channel Sheet...": which settings (the live state or a scene) and which
// units (all 48, or those present) the sheet shows.
class ChannelSheetDialog : public GlassDialog {
public:
    explicit ChannelSheetDialog(const Project& project, QWidget* parent = nullptr);

    // ChannelSheetMaker::Live, or a scene list position.
    int scenePosition() const;
    bool presentUnitsOnly() const;
    QComboBox* sceneList() const { return m_scenes; }
    QComboBox* unitChoice() const { return m_units; }

private:
    QComboBox* m_scenes = nullptr;
    QComboBox* m_units = nullptr;
};

} // namespace deskpanel
