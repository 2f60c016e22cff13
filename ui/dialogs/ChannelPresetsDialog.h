#pragma once
#include "ui/controls/GlassDialog.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace deskpanel {

// Edit > "Channel Presets...": the library's presets by name, with Apply (to the same
// targets as a paste), New from the current channel, Rename, Delete, and the import and
// export of the library as CSV. The dialog only shows and picks; what each button does is
// the caller's, and the list is filled again after every action.
class ChannelPresetsDialog : public GlassDialog {
    Q_OBJECT
public:
    struct Actions {
        std::function<std::vector<std::string>()> names;
        std::function<void(std::size_t)> apply, rename, remove;
        std::function<void()> newFromCurrent, importCsv, exportCsv;
    };
    ChannelPresetsDialog(Actions actions, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    // Fills the list from the library, keeping the selected row where it can.
    void refresh();

protected:
    void onCommand(int id) override;
    void onEnter() override; // Apply

private:
    std::optional<std::size_t> selected() const;

    Actions m_actions;
    QListWidget* m_list = nullptr;
};

// The name of a new or renamed preset, in the program's look.
class PresetNameDialog : public GlassDialog {
    Q_OBJECT
public:
    PresetNameDialog(const QString& title, const QString& name, QWidget* parent = nullptr);
    QString name() const;
    QLineEdit* edit() const { return m_edit; }

private:
    QLineEdit* m_edit = nullptr;
};

} // namespace deskpanel
