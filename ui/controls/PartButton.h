#pragma once
#include <QString>
#include <QWidget>

#include <functional>

namespace deskpanel {

// The keyboard's and the reader's way to a painted field of a strip view (a link field, a
// channel title, a unit title): a see-through Tab stop over the field that shows the focus
// ring; Enter or Space does what a click on the field does. The mouse passes through it
// to the view, which handles clicks as it always did.
class PartButton : public QWidget {
    Q_OBJECT
public:
    // `channel` is the channel the field belongs to, -1 for a unit's title.
    PartButton(QWidget* parent, const QRect& rect, int channel, std::function<void()> press);

    int channel() const { return m_channel; }
    void press();
    QString description() const { return m_description; }
    // What the field shows (the link group); the reader is told of a change.
    void setDescription(const QString& description);

signals:
    // The keyboard reached the field: its channel becomes the current one.
    void focused(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_channel;
    std::function<void()> m_press;
    QString m_description;
};

} // namespace deskpanel
