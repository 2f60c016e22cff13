#pragma once
#include <QObject>
#include <QRect>

#include <functional>

namespace deskpanel {
class PictureButton;

struct MainLayout;

// The five picture buttons under the scene list: Recall, New, Delete, Lock and Overview.
// While the scene lock is on, Lock shows its latched look and New, Delete and Recall are
// disabled.
class SceneButtons : public QObject {
public:
    SceneButtons(QWidget* parent, const MainLayout& layout, std::function<void(int controlId)> onClick);

    void showLock(bool locked);
    void showOverview(bool shown);
    void setOverviewShownQuery(std::function<bool()> query);
    void moveBy(int dx);

    PictureButton* button(int controlId) const;

private:
    PictureButton* m_buttons[5] = {};
};

} // namespace deskpanel
