#pragma once
#include "ui/main/MainLayout.h"

#include <QFont>
#include <QWidget>

namespace deskpanel {

class Project;

// The main window's client area: paints the background pattern, the banner, the
// active-scene label and the scene name header; every panel is a child placed on it.
class MainClient : public QWidget {
public:
    MainClient(const Project& project, const MainLayout& layout, const DisplayMetrics& metrics,
               QWidget* parent = nullptr);

    // The top block moved right by `dx` (maximised) or back (0).
    void setTopShift(int dx);
    int topShift() const { return m_topShift; }
    void setPaintingEnabled(bool enabled);

    // "Blank Scene" for the Blank Scene, else the active scene's line, cut to 30.
    static QString headerText(const Project& project);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Project& m_project;
    MainLayout m_layout;
    bool m_at120;
    int m_topShift = 0;
    bool m_painting = false;
    QFont m_headerFont;
    QFont m_labelFont;
};

} // namespace deskpanel
