#include "app/DeskPanelApp.h"
#include "ui/views/UnitListWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DeskPanel"));
    QApplication::setApplicationVersion(QStringLiteral(DESKPANEL_VERSION));
    deskpanel::DeskPanelApp app;
    app.window().show();
    app.start();
    const int result = QApplication::exec();
    app.stop();
    return result;
}
