#include "ui/controls/ControlErrors.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>

namespace deskpanel {

Q_LOGGING_CATEGORY(lcControlsTrace, "deskpanel.controls.trace", QtWarningMsg)

namespace {
ControlErrors::Handler& handlerSlot()
{
    static ControlErrors::Handler handler;
    return handler;
}
} // namespace

void ControlErrors::report(const QString& text)
{
    if (handlerSlot())
        handlerSlot()(text);
    else
        showPlatformMessage(text);
}

ControlErrors::Handler ControlErrors::setHandler(Handler handler)
{
    Handler old = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return old;
}

void ControlErrors::showPlatformMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void ControlErrors::trace(const char* text)
{
    qCDebug(lcControlsTrace, "%s", text);
}

} // namespace deskpanel
