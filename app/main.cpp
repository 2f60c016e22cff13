#include "app/DeskPanelApp.h"
#include "ui/dialogs/QtOperator.h"
#include "ui/views/UnitListWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DeskPanel"));
    QApplication::setApplicationVersion(QStringLiteral(DESKPANEL_VERSION));

    deskpanel::UnitListWindow window;
    deskpanel::QtOperator op(&window);
    deskpanel::DeskPanelApp app(deskpanel::LinkPorts{}, op);
    window.attach(app);
    window.show();
    app.start();
    const int result = QApplication::exec();
    app.stop();
    return result;
}
