#pragma once
#include <QRect>
#include <QSize>

class QScreen;

namespace deskpanel {

// What the layout depends on: the screen's logical pixels per inch (rounded), its size,
// how many device pixels make one logical pixel, and its work area.
struct DisplayMetrics {
    int dpiX = 96;
    int dpiY = 96;
    QSize screen{1920, 1080};
    double devicePixelRatio = 1.0;
    // The screen less the desktop's panels and task bars; empty: the whole screen.
    QRect workArea{};

    bool is120() const { return dpiX == 120; }
    bool isExactly96() const { return dpiX == 96 && dpiY == 96; }
    // Device pixels per inch: what a 150 % scaled desktop has in place of 120 pixels per inch.
    int effectiveDpi() const;
    QRect availableArea() const { return workArea.isEmpty() ? QRect(QPoint(0, 0), screen) : workArea; }
    // The primary screen's values, and those of `screen` (none: the defaults).
    static DisplayMetrics current();
    static DisplayMetrics of(const QScreen* screen);
};

// The main window's geometry in client pixels, from dialog template 102 and the rules of
// the two resolutions: 120 pixels per inch has its own adjustments, every other value
// follows the 96 rules.
struct MainLayout {
    static constexpr int TemplateWidth = 514; // dialog units
    static constexpr int TemplateHeight = 370;
    static constexpr int MinTrackingHeight = 780;

    QSize windowSize;
    QRect banner; // placeholder 1057
    QRect sceneList; // 1018
    QRect sceneScrollBar; // 1915
    QRect activeLabelAnchor; // 1062
    QRect unitStatus; // 1000
    QRect unitScrollBar; // 1914
    QRect overviewButton, lockButton, newButton, deleteButton, recallButton;
    QRect underview; // top and height; the width follows the client area
    QRect overview; // 601
    QRect underviewScrollBar; // 6024; stretched to the client's right edge
    QRect overviewScrollBar; // 6025

    // Entries of the scene list the scroll range leaves visible, and the hover index at
    // which a drag scrolls the list.
    int sceneRangeVisible = 6;
    int dragScrollIndex = 5;
    int unitNumberTop = 6;

    static MainLayout compute(const DisplayMetrics& metrics);
};

} // namespace deskpanel
