#pragma once
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace deskpanel {

// A picture button of the main window with three looks: normal (state 0), pressed or
// latched (1) and disabled (5). New, Delete and Recall spring back by themselves; Lock
// and Overview keep the look their commands give them.
class PictureButton : public QWidget {
    Q_OBJECT
public:
    enum State {
        Normal = 0,
        Pressed = 1,
        Disabled = 5
    };

    // The five buttons of the main window.
    static constexpr int OverviewId = 1004;
    static constexpr int LockId = 1005;
    static constexpr int NewId = 1006;
    static constexpr int DeleteId = 1007;
    static constexpr int RecallId = 1008;

    // Reports "ERROR - failed to create CCustomGUIButton" and returns nullptr when it
    // cannot be made.
    static PictureButton* create(QWidget* parent, int controlId, const QString& normal, const QString& pressed,
                                 const QString& disabled, const QRect& rect);

    int controlId() const { return m_controlId; }
    int state() const { return m_state; }
    // 5 also disables the button, 0 and 1 enable it.
    void setState(int state);
    // Tells the Overview button whether the main window shows the Overview.
    void setOverviewShownQuery(std::function<bool()> query) { m_overviewShown = std::move(query); }
    // How long a press lasts at most before the button springs back (0: it does not).
    int springBackMs() const;
    // A left press and release, as the mouse gives them (Space and the accessible press).
    void click();

signals:
    void clicked(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    PictureButton(QWidget* parent, int controlId, const QString& normal, const QString& pressed,
                  const QString& disabled);
    void springBack();
    void press();
    void release();

    int m_controlId;
    QString m_bitmaps[3];
    int m_state = Normal;
    QTimer m_springTimer;
    std::function<bool()> m_overviewShown;
};

} // namespace deskpanel
