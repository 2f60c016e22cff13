#include "ui/dialogs/ChannelSheetDialog.h"

#include "core/model/Project.h"
#include "core/records/ChannelSheet.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QComboBox>

namespace deskpanel {

ChannelSheetDialog::ChannelSheetDialog(const Project& project, QWidget* parent)
    : GlassDialog(DialogTemplates::channelSheet(), QStringLiteral("Export Channel Sheet"), parent)
{
    using namespace DialogControl;
    createLabel(SheetSceneLabel, QStringLiteral("Settings:"));
    m_scenes = new QComboBox(this);
    setBuddy(SheetSceneLabel, m_scenes);
    m_scenes->setObjectName(QStringLiteral("scene"));
    m_scenes->setGeometry(controlRect(SheetScene));
    m_scenes->addItem(QStringLiteral("Live state"), ChannelSheetMaker::Live);
    for (int p = 0; p < project.scenes.count(); ++p)
        m_scenes->addItem(QString::fromStdString(project.scenes.displayText(p)).trimmed(), p);
    createLabel(SheetUnitsLabel, QStringLiteral("Units:"));
    m_units = new QComboBox(this);
    setBuddy(SheetUnitsLabel, m_units);
    m_units->setObjectName(QStringLiteral("units"));
    m_units->setGeometry(controlRect(SheetUnits));
    m_units->addItem(QStringLiteral("All 48 units"), false);
    m_units->addItem(QStringLiteral("Units present"), true);
    createOkCancel();
}

int ChannelSheetDialog::scenePosition() const
{
    return m_scenes->currentData().toInt();
}

bool ChannelSheetDialog::presentUnitsOnly() const
{
    return m_units->currentData().toBool();
}

} // namespace deskpanel
