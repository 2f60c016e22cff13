#pragma once
#include <QTimer>
#include <QWidget>

class QLabel;

namespace deskpanel {

// A small plain window that shows a note and closes itself when its time is up. It
// cannot be dismissed early: Escape and the close button only beep. It deletes itself
// when it closes.
class TimedNote : public QWidget {
    Q_OBJECT
public:
    TimedNote(const QString& caption, const QString& text, int durationMs);

    QString text() const;
    // True once its time is up (it is closing or gone).
    bool isExpired() const { return m_expired; }
    // Shows new text and starts the time again.
    void restart(const QString& caption, const QString& text, int durationMs);

signals:
    void beeped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void expire();
    void beep();

    QLabel* m_text = nullptr;
    QTimer m_timer;
    bool m_expired = false;
};

} // namespace deskpanel
