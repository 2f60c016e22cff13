#include "ui/access/ConsoleAccessibility.h"

#include "core/model/GainMath.h"
#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/GlassButton.h"
#include "ui/controls/KeyboardFocus.h"
#include "ui/controls/PaintedParts.h"
#include "ui/controls/PartButton.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/ToggleButton.h"

#include <QAccessibleWidget>
#include <QKeySequence>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace deskpanel {
namespace {

// Runs `action` on the UI thread once the accessibility call that asked for it returned,
// and only if `target` still exists.
template <class Target, class Action>
void later(Target* target, Action action)
{
    QMetaObject::invokeMethod(
        target,
        [guard = QPointer<Target>(target), action] {
            if (guard)
                action(guard.data());
        },
        Qt::QueuedConnection);
}

// The name a console control is read with: its accessible name when set, else the
// label its view keeps for it.
QString consoleName(const QWidget* widget, QAccessible::Text t, const QString& qtText)
{
    if (t == QAccessible::Name && widget->accessibleName().isEmpty())
        return AccessibleNotifier::accessibleLabel(widget);
    return qtText;
}

// A screen reader's grab-focus: the control is reached by keyboard, as with Tab.
void grabFocus(QWidget* widget)
{
    if (widget->focusPolicy() & Qt::TabFocus)
        KeyboardFocus::focusByKeyboard(widget);
}

class ToggleAccessible : public QAccessibleWidget {
public:
    explicit ToggleAccessible(ToggleButton* button) : QAccessibleWidget(button, QAccessible::CheckBox) {}

    QString text(QAccessible::Text t) const override { return consoleName(widget(), t, QAccessibleWidget::text(t)); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->state() != 0;
        return s;
    }
    QStringList actionNames() const override { return {toggleAction(), pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (name == toggleAction() || name == pressAction())
            later(button(), [](ToggleButton* b) { b->press(); });
        else if (name == setFocusAction())
            grabFocus(widget());
    }

private:
    ToggleButton* button() const { return static_cast<ToggleButton*>(widget()); }
};

class FaderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit FaderAccessible(GainFader* fader) : QAccessibleWidget(fader, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override { return consoleName(widget(), t, QAccessibleWidget::text(t)); }
    QStringList actionNames() const override { return {setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (name == setFocusAction())
            grabFocus(widget());
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return gainDb(fader()->position(), fader()->reducedRange()); }
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const int db = value.toInt(&ok);
        if (ok)
            later(fader(), [db](GainFader* f) { f->moveTo(MaxGainDb - db); });
    }
    QVariant maximumValue() const override
    {
        return fader()->reducedRange() ? gainDb(GainFader::ReducedRangeFloor, true) : MaxGainDb;
    }
    QVariant minimumValue() const override { return MinGainDb; }
    QVariant minimumStepSize() const override { return 1; }

private:
    GainFader* fader() const { return static_cast<GainFader*>(widget()); }
};

QString sceneButtonCaption(int controlId)
{
    switch (controlId) {
    case PictureButton::RecallId: return QStringLiteral("Recall");
    case PictureButton::NewId: return QStringLiteral("New");
    case PictureButton::DeleteId: return QStringLiteral("Delete");
    case PictureButton::LockId: return QStringLiteral("Lock");
    case PictureButton::OverviewId: return QStringLiteral("Overview");
    default: return {};
    }
}

class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button)
        : QAccessibleWidget(button, QAccessible::Button, sceneButtonCaption(button->controlId()))
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return sceneButtonCaption(button()->controlId());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const int id = button()->controlId();
        if (id == PictureButton::LockId || id == PictureButton::OverviewId) {
            s.checkable = true;
            s.checked = button()->state() == PictureButton::Pressed;
        }
        return s;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            later(button(), [](PictureButton* b) { b->click(); });
        else if (name == setFocusAction())
            grabFocus(widget());
    }

private:
    PictureButton* button() const { return static_cast<PictureButton*>(widget()); }
};

class GlassButtonAccessible : public QAccessibleWidget {
public:
    explicit GlassButtonAccessible(GlassButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QString(button()->text()).remove(QLatin1Char('&'));
        // The letter its caption marks, pressed with Alt ("Alt+Y").
        if (t == QAccessible::Accelerator)
            return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            later(button(), [](GlassButton* b) { b->click(); });
        else if (name == setFocusAction())
            grabFocus(widget());
    }

private:
    GlassButton* button() const { return static_cast<GlassButton*>(widget()); }
};

class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ScrollBarAccessible(ScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return bar()->isVertical() ? QStringLiteral("Vertical scroll bar")
                                       : QStringLiteral("Horizontal scroll bar");
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return bar()->scrollPos(); }
    void setCurrentValue(const QVariant&) override {} // its owner decides what moves
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    ScrollBar* bar() const { return static_cast<ScrollBar*>(widget()); }
};

PaintedParts* partsOf(QWidget* host)
{
    return host ? dynamic_cast<PaintedParts*>(host) : nullptr;
}

// One painted part, a child of its host's interface.
class PaintedPartAccessible : public QAccessibleInterface,
                              public QAccessibleActionInterface,
                              public QAccessibleValueInterface {
public:
    PaintedPartAccessible(QWidget* host, int index) : m_host(host), m_index(index) {}

    bool isValid() const override
    {
        PaintedParts* parts = partsOf(m_host);
        return parts && m_index < parts->paintedPartCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_host ? m_host->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_host.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const PaintedPart part = this->part();
        switch (t) {
        case QAccessible::Name: return part.name;
        case QAccessible::Description: return part.description;
        case QAccessible::Value: return part.hasValue ? QString::number(part.value) : QString();
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = part().rect;
        return QRect(m_host->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return isValid() ? part().role : QAccessible::NoRole; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const PaintedPart p = part();
        s.disabled = p.disabled;
        s.invisible = !m_host->isVisible();
        s.offscreen = s.invisible || !m_host->visibleRegion().intersects(p.rect);
        s.focusable = m_host->focusPolicy() != Qt::NoFocus && p.pressable;
        s.focused = m_host->hasFocus() && partsOf(m_host)->focusedPaintedPart() == m_index;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        if (t == QAccessible::ValueInterface && isValid() && part().hasValue)
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override
    {
        return isValid() && part().pressable && !part().disabled ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& name) override
    {
        if (name != pressAction() || !isValid() || !part().pressable)
            return;
        later(m_host.data(), [index = m_index](QWidget* host) {
            if (PaintedParts* parts = partsOf(host); parts && index < parts->paintedPartCount())
                parts->pressPaintedPart(index);
        });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    QVariant currentValue() const override { return part().value; }
    void setCurrentValue(const QVariant&) override {} // read only: meters
    QVariant maximumValue() const override { return part().maximum; }
    QVariant minimumValue() const override { return part().minimum; }
    QVariant minimumStepSize() const override { return 0; }

private:
    PaintedPart part() const { return partsOf(m_host)->paintedPart(m_index); }

    QPointer<QWidget> m_host;
    int m_index;
};

// A widget with painted parts: its child widgets first, then its parts. The parts'
// interfaces are made when first asked for and go with the host's.
class PaintedHostAccessible : public QAccessibleWidget {
public:
    explicit PaintedHostAccessible(QWidget* host) : QAccessibleWidget(host, QAccessible::Grouping) {}
    ~PaintedHostAccessible() override
    {
        for (QAccessible::Id id : m_partIds)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return widgetChildCount() + partCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int widgets = widgetChildCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        return part(index - widgets);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t i = 0; i < m_partIds.size(); ++i)
            if (m_partIds[i] && QAccessible::accessibleInterface(m_partIds[i]) == child)
                return widgetChildCount() + static_cast<int>(i);
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (QAccessibleInterface* w = QAccessibleWidget::childAt(x, y))
            return w;
        const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
        PaintedParts* parts = partsOf(widget());
        for (int i = 0; i < partCount(); ++i)
            if (parts->paintedPart(i).rect.contains(at))
                return part(i);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        if (widget()->hasFocus()) {
            const int focused = partsOf(widget())->focusedPaintedPart();
            if (focused >= 0)
                return part(focused);
        }
        return QAccessibleWidget::focusChild();
    }

private:
    int widgetChildCount() const { return QAccessibleWidget::childCount(); }
    int partCount() const
    {
        PaintedParts* parts = partsOf(widget());
        return parts ? parts->paintedPartCount() : 0;
    }
    QAccessibleInterface* part(int index) const
    {
        if (index < 0 || index >= partCount())
            return nullptr;
        if (m_partIds.size() < static_cast<std::size_t>(partCount()))
            m_partIds.resize(static_cast<std::size_t>(partCount()), 0);
        QAccessible::Id& id = m_partIds[static_cast<std::size_t>(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new PaintedPartAccessible(widget(), index));
        return QAccessible::accessibleInterface(id);
    }

    mutable std::vector<QAccessible::Id> m_partIds;
};

// A painted field's Tab stop: a button named as its field, described by what it shows.
class PartButtonAccessible : public QAccessibleWidget {
public:
    explicit PartButtonAccessible(PartButton* part) : QAccessibleWidget(part, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return part()->description();
        return consoleName(widget(), t, QAccessibleWidget::text(t));
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            later(part(), [](PartButton* p) { p->press(); });
        else if (name == setFocusAction())
            grabFocus(widget());
    }

private:
    PartButton* part() const { return static_cast<PartButton*>(widget()); }
};

QAccessibleInterface* consoleFactory(const QString&, QObject* object)
{
    if (auto* part = qobject_cast<PartButton*>(object))
        return new PartButtonAccessible(part);
    if (auto* toggle = qobject_cast<ToggleButton*>(object))
        return new ToggleAccessible(toggle);
    if (auto* fader = qobject_cast<GainFader*>(object))
        return new FaderAccessible(fader);
    if (auto* picture = qobject_cast<PictureButton*>(object))
        return new PictureButtonAccessible(picture);
    if (auto* glass = qobject_cast<GlassButton*>(object))
        return new GlassButtonAccessible(glass);
    if (auto* bar = qobject_cast<ScrollBar*>(object))
        return new ScrollBarAccessible(bar);
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && partsOf(widget))
        return new PaintedHostAccessible(widget);
    return nullptr;
}

} // namespace

void installConsoleAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&consoleFactory);
        KeyboardFocus::install();
        return true;
    }();
    (void)installed;
}

} // namespace deskpanel
