#pragma once
#include "ui/controls/PaintedParts.h"

#include <QWidget>

class QPainter;

namespace deskpanel {

// The whole content of a strip view (all 48 units), as one child of the view moved by
// the scroll offset, so that the strips' switches and faders move with it in one step.
// It paints and handles clicks through its view.
class StripCanvas : public QWidget, public PaintedParts {
public:
    class Client : public PaintedParts {
    public:
        // Paints the parts of the content that meet `area` (content coordinates).
        virtual void paintContent(QPainter& p, const QRect& area) = 0;
        virtual void contentPressed(const QPoint& at, Qt::MouseButton button) = 0;
        // A key that the focused control of the content left alone (Ctrl+Tab).
        virtual bool contentKey(QKeyEvent* event) = 0;
    };

    StripCanvas(Client& client, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    int paintedPartCount() const override { return m_client.paintedPartCount(); }
    PaintedPart paintedPart(int index) const override { return m_client.paintedPart(index); }
    void pressPaintedPart(int index) override { m_client.pressPaintedPart(index); }

private:
    Client& m_client;
};

} // namespace deskpanel
