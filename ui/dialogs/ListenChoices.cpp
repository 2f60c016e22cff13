#include "ui/dialogs/ListenChoices.h"

#include "core/unitlink/LocalAddress.h"

#include <QComboBox>

namespace deskpanel {

void addListenChoices(QComboBox* box, const std::string& current, bool withAutomatic)
{
    if (withAutomatic)
        box->addItem(QStringLiteral("automatic"), QStringLiteral("auto"));
    box->addItem(QStringLiteral("this computer only"), QStringLiteral("loopback"));
    box->addItem(QStringLiteral("all interfaces"), QStringLiteral("all"));
    if (const auto local = localIpv4Address(); local && local->rfind("127.", 0) != 0)
        box->addItem(QString::fromStdString(*local), QString::fromStdString(*local));
    const QString listen = QString::fromStdString(current);
    if (box->findData(listen) < 0)
        box->addItem(listen, listen);
    box->setCurrentIndex(box->findData(listen));
}

} // namespace deskpanel
