#pragma once
#include "ui/controls/DialogTemplate.h"
#include "ui/controls/DialogUnits.h"

#include <QDialog>
#include <QKeySequence>
#include <QPoint>

#include <utility>
#include <vector>

class QLabel;

namespace deskpanel {
class GlassButton;

// The look every dialog of the program shares: a light ground, a white rounded panel,
// a gradient header strip with rounded corners carrying the title, a black frame.
// The dialog has no caption of its own; it is dragged by its header strip. Enter acts as
// OK; Escape and the close box act as Cancel, or as OK in a dialog without Cancel
// (result 2 when it has neither). A button whose caption marks a letter with "&" is
// also pressed with Alt and that letter. The buttons are Tab stops; Space presses the
// focused one. Layouts come from a DialogTemplate in dialog units.
class GlassDialog : public QDialog {
    Q_OBJECT
public:
    GlassDialog(const DialogTemplate& layout, const QString& title, QWidget* parent = nullptr);

    const DialogTemplate& layout() const { return m_layout; }
    const DialogUnits& units() const { return m_units; }
    QString title() const { return m_title; }
    // A control's rectangle in pixels (empty when the layout has no such control).
    QRect controlRect(int id) const;

    // Escape and closing the window: Cancel, else OK, else result 2.
    void reject() override;

    // Layered-window alpha of the glass look (0..255).
    static constexpr int glassAlpha = 245;
    // Whether the window system can make a window see-through.
    static bool supportsOpacity();

protected:
    // Creates a GlassButton over the placeholder `id`; its click, and Alt with the letter
    // its caption marks with "&", call onCommand(id).
    GlassButton* createButton(int id, const QString& text, const QString& bitmap);
    // A plain text over the placeholder `id` (left-aligned unless told otherwise).
    QLabel* createLabel(int id, const QString& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    // The usual OK and Cancel buttons ("OK", "Cancel" on face 162) over the placeholders
    // 1050 and 1049, where the layout has them.
    void createOkCancel();
    // A centred, word-wrapped text over the placeholder `id`. A box's text (ControlId::Text)
    // is also the dialog's accessible description, which a screen reader reads with its title.
    QLabel* createText(int id, const QString& text);
    // The label over the placeholder `labelId` names `field` for assistive technology.
    void setBuddy(int labelId, QWidget* field);

    // A button was clicked. The base ends the dialog with 1 for OK and 2 for Cancel.
    virtual void onCommand(int id);
    // Enter was pressed: OK in the dialogs that have one.
    virtual void onEnter();

    // Paints the glass look; `whitePanel` false leaves out the rounded white panel.
    void paintGlass(QPainter& painter, bool whitePanel) const;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool at120() const { return m_units.dpi() == 120; }

    // The buttons' marked letters (Alt+letter) and their ids.
    std::vector<std::pair<QKeySequence, int>> m_mnemonics;
    DialogTemplate m_layout;
    DialogUnits m_units;
    QString m_title;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

} // namespace deskpanel
