#pragma once
#include "ui/controls/GlassDialog.h"

#include <QTimer>

class QLabel;

namespace deskpanel {

// The about box: the about picture under the glass header, the program's version in its
// lower right corner, a fade-in of about 1.2 s. A left click anywhere, Enter or Escape
// closes it.
class AboutBox : public GlassDialog {
    Q_OBJECT
public:
    // `programVersion` is the program's own version ("major.minor", as the application
    // reports it); an empty or unreadable one shows "Version 1.01".
    explicit AboutBox(const QString& programVersion, QWidget* parent = nullptr);

    // "Version %d.%02d" from "major.minor[.patch]", each part 0..65535; otherwise "Version 1.01".
    static QString versionText(const QString& programVersion);

    QString shownVersion() const;
    QRect versionRect() const;
    // The alpha (0..255) the fade-in has reached; it stops at 244.
    int alpha() const { return m_appliedAlpha; }
    bool isFading() const { return m_fade.isActive(); }

protected:
    void onEnter() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fadeStep();

    QLabel* m_version = nullptr;
    QTimer m_fade;
    int m_nextAlpha = 0;
    int m_appliedAlpha = 0;
};

} // namespace deskpanel
