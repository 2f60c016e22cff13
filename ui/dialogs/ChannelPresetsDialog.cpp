#include "ui/dialogs/ChannelPresetsDialog.h"

#include "core/model/Limits.h"
#include "ui/dialogs/ChannelSettingsTemplates.h"

#include <QLineEdit>
#include <QListWidget>

namespace deskpanel {

using namespace ChannelSettingsControl;

ChannelPresetsDialog::ChannelPresetsDialog(Actions actions, QWidget* parent)
    : GlassDialog(ChannelSettingsTemplates::presets(), QStringLiteral("Channel Presets"), parent),
      m_actions(std::move(actions))
{
    m_list = new QListWidget(this);
    m_list->setGeometry(controlRect(PresetList));
    m_list->setAccessibleName(QStringLiteral("Presets"));
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { onCommand(Apply); });
    const QString face = QStringLiteral("162");
    createButton(Apply, QStringLiteral("&Apply..."), face);
    createButton(New, QStringLiteral("&New from Current..."), face);
    createButton(Rename, QStringLiteral("&Rename..."), face);
    createButton(Delete, QStringLiteral("&Delete"), face);
    createButton(Import, QStringLiteral("&Import CSV..."), face);
    createButton(Export, QStringLiteral("E&xport CSV..."), face);
    createButton(ControlId::Cancel, QStringLiteral("&Close"), face);
    refresh();
    m_list->setCurrentRow(0);
    m_list->setFocus(Qt::OtherFocusReason);
}

void ChannelPresetsDialog::refresh()
{
    const int row = m_list->currentRow();
    m_list->clear();
    for (const std::string& name : m_actions.names())
        m_list->addItem(QString::fromStdString(name));
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(row, 0, m_list->count() - 1));
}

std::optional<std::size_t> ChannelPresetsDialog::selected() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_list->count())
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void ChannelPresetsDialog::onEnter()
{
    onCommand(Apply);
}

void ChannelPresetsDialog::onCommand(int id)
{
    const auto row = selected();
    switch (id) {
    case Apply:
        if (row)
            m_actions.apply(*row);
        break;
    case Rename:
        if (row)
            m_actions.rename(*row);
        break;
    case Delete:
        if (row)
            m_actions.remove(*row);
        break;
    case New: m_actions.newFromCurrent(); break;
    case Import: m_actions.importCsv(); break;
    case Export: m_actions.exportCsv(); break;
    default: GlassDialog::onCommand(id); return;
    }
    refresh();
}

PresetNameDialog::PresetNameDialog(const QString& title, const QString& name, QWidget* parent)
    : GlassDialog(ChannelSettingsTemplates::presetName(), title, parent)
{
    createLabel(NameLabel, QStringLiteral("Preset name:"));
    m_edit = new QLineEdit(name, this);
    m_edit->setGeometry(controlRect(NameEdit));
    m_edit->setMaxLength(MaxTextChars);
    m_edit->selectAll();
    createOkCancel();
    m_edit->setFocus(Qt::OtherFocusReason);
}

QString PresetNameDialog::name() const
{
    return m_edit->text();
}

} // namespace deskpanel
