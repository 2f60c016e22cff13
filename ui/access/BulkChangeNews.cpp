#include "ui/access/BulkChangeNews.h"

#include "core/model/OperationGate.h"
#include "core/model/Project.h"
#include "ui/controls/AccessibleNotifier.h"

#include <QAccessibleWidget>
#include <QApplication>

namespace deskpanel {
namespace {

class ReaderStatusAccessible : public QAccessibleWidget {
public:
    explicit ReaderStatusAccessible(ReaderStatus* status) : QAccessibleWidget(status, QAccessible::StatusBar) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<ReaderStatus*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* statusFactory(const QString&, QObject* object)
{
    if (object && object->isWidgetType() && dynamic_cast<ReaderStatus*>(static_cast<QWidget*>(object)))
        return new ReaderStatusAccessible(static_cast<ReaderStatus*>(object));
    return nullptr;
}

} // namespace

ReaderStatus::ReaderStatus(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(&statusFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("readerStatus"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
}

void ReaderStatus::announce(const QString& text)
{
    m_text = text;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(window(), text);
    AccessibleNotifier::sendNow(&event);
#else
    QAccessibleEvent event(this, QAccessible::NameChanged);
    AccessibleNotifier::sendNow(&event);
#endif
}

BulkChangeNews::BulkChangeNews(OperationGate& gate, const Project& project, QWidget& window)
    : m_gate(gate), m_project(project), m_window(window), m_status(new ReaderStatus(&window))
{
    AccessibleNotifier::setBulkChangeQuery([this] { return bulkChangeNow(); });
    AccessibleNotifier::takeDropped();
    m_listener = m_gate.addReleaseListener([this] { released(); });
}

BulkChangeNews::~BulkChangeNews()
{
    m_gate.removeReleaseListener(m_listener);
    AccessibleNotifier::setBulkChangeQuery({});
}

QString BulkChangeNews::summary(const std::string& operation, const Project& project)
{
    if (operation == "Recall") {
        const int active = project.activeSceneIndex;
        if (active <= 0 || active >= project.scenes.count())
            return QStringLiteral("Blank Scene recalled");
        return QStringLiteral("Scene %1 %2 recalled")
            .arg(active)
            .arg(QString::fromStdString(project.scenes.scene(active).name));
    }
    if (operation == "Undo")
        return QStringLiteral("Undone");
    if (operation == "Redo")
        return QStringLiteral("Redone");
    if (operation == "Import channel names")
        return QStringLiteral("Channel names imported");
    if (operation == "Identity check")
        return QStringLiteral("Identity check finished");
    return {};
}

bool BulkChangeNews::bulkChangeNow()
{
    if (!m_gate.isHeld() || summary(m_gate.holder(), m_project).isEmpty())
        return false;
    m_operation = m_gate.holder();
    return true;
}

void BulkChangeNews::released()
{
    const int dropped = AccessibleNotifier::takeDropped();
    const std::string operation = std::move(m_operation);
    m_operation.clear();
    if (operation.empty() || dropped == 0)
        return;
    // The focused control's new value, once (through the usual interval).
    if (QWidget* focused = QApplication::focusWidget(); focused && focused->window() == m_window.window()) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(focused);
        if (iface && iface->valueInterface())
            AccessibleNotifier::valueChanged(focused);
        if (iface && iface->state().checkable) {
            QAccessible::State changed;
            changed.checked = true;
            AccessibleNotifier::stateChanged(focused, changed);
        }
    }
    m_status->announce(summary(operation, m_project));
}

} // namespace deskpanel
