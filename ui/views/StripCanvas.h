#pragma once
#include <QWidget>

class QPainter;

namespace deskpanel {

// The whole content of a strip view (all 48 units), as one child of the view moved by
// the scroll offset, so that the strips' switches and faders move with it in one step.
// It paints and handles clicks through its view.
class StripCanvas : public QWidget {
public:
    class Client {
    public:
        virtual ~Client() = default;
        // Paints the parts of the content that meet `area` (content coordinates).
        virtual void paintContent(QPainter& p, const QRect& area) = 0;
        virtual void contentPressed(const QPoint& at, Qt::MouseButton button) = 0;
    };

    StripCanvas(Client& client, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Client& m_client;
};

} // namespace deskpanel
