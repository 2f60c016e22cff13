#pragma once
#include <QString>
#include <QWidget>

namespace deskpanel {

// A text button on a bitmap face (the OK, Cancel, Yes and No buttons of the dialogs).
// While held down the face and the text are drawn one pixel lower and to the right. It is
// a Tab stop with the focus ring; Space presses it.
class GlassButton : public QWidget {
    Q_OBJECT
public:
    // Creates the button over `rect` (the parent's coordinates). Reports
    // "ERROR - failed to create CCustomButton" and returns nullptr when it cannot be made.
    static GlassButton* create(QWidget* parent, int controlId, const QString& bitmap, const QString& text,
                               const QRect& rect);

    int controlId() const { return m_controlId; }
    int state() const { return m_state; }
    QString text() const { return m_text; }
    QString bitmap() const { return m_bitmap; }
    // A press and release over the button (the accessible press action).
    void click() { emit clicked(m_controlId); }

signals:
    // A click: pressed and released over the button.
    void clicked(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    GlassButton(QWidget* parent, int controlId, const QString& bitmap, const QString& text);
    void setState(int state);

    int m_controlId;
    QString m_bitmap;
    QString m_text;
    int m_state = 0; // 0 up, 1 down
};

} // namespace deskpanel
