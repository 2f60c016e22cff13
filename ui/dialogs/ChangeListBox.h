#pragma once
#include "core/host/ChangeListDialog.h"
#include "ui/controls/GlassDialog.h"

class QListWidget;

namespace deskpanel {

// A list of changes before they are made (the recall preview, and any other change of
// many inputs at once): a heading, one line per change with warnings in red first and
// kept settings in grey last, the go-ahead button (its text from the list, "&Recall")
// and "&Cancel". Y or the go-ahead's letter goes ahead; N, C or Escape cancels; Enter
// does nothing, so a habit of pressing Enter cannot start it.
class ChangeListBox : public GlassDialog {
    Q_OBJECT
public:
    static inline const QColor WarningRed{200, 0, 0};
    static inline const QColor KeptGrey{120, 120, 120};

    ChangeListBox(const ChangeList& changes, QWidget* parent = nullptr);
    QListWidget* lines() const { return m_lines; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void onEnter() override {}

private:
    QListWidget* m_lines = nullptr;
    QChar m_acceptLetter;
};

// The change list dialog the core asks through.
class QtChangeListDialog : public ChangeListDialog {
public:
    explicit QtChangeListDialog(QWidget* parent) : m_parent(parent) {}
    bool confirm(const ChangeList& changes) override;

private:
    QWidget* m_parent;
};

} // namespace deskpanel
