#include "ui/dialogs/EventLogWindow.h"

#include "core/host/FileDialogs.h"
#include "core/host/Operator.h"
#include "core/model/Limits.h"
#include "core/model/Text.h"
#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/SystemErrorText.h"
#include "core/records/EventLog.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

#include <cstring>

namespace deskpanel {

EventLogWindow::EventLogWindow(const EventLog& log, FileDialogs& dialogs, Operator& op, QWidget* parent)
    : GlassDialog(DialogTemplates::eventLog(), QStringLiteral("Event Log"), parent),
      m_log(log),
      m_dialogs(dialogs),
      m_operator(op)
{
    using namespace DialogControl;
    setModal(false);
    createLabel(EventUnitLabel, QStringLiteral("Unit:"));
    m_units = new QComboBox(this);
    setBuddy(EventUnitLabel, m_units);
    m_units->setObjectName(QStringLiteral("unitFilter"));
    m_units->setGeometry(controlRect(EventUnitFilter));
    m_units->addItem(QStringLiteral("All units"), 0);
    m_units->addItem(QStringLiteral("Program"), -1);
    for (int unit = 1; unit <= MaxUnits; ++unit)
        m_units->addItem(QStringLiteral("Unit %1").arg(unit), unit);
    createLabel(EventKindLabel, QStringLiteral("Kind:"));
    m_kinds = new QComboBox(this);
    setBuddy(EventKindLabel, m_kinds);
    m_kinds->setObjectName(QStringLiteral("kindFilter"));
    m_kinds->setGeometry(controlRect(EventKindFilter));
    m_kinds->addItem(QStringLiteral("All kinds"), QString());
    for (const char* kind : {"ACTIVE", "OFFLINE", "CONFLICT", "FAULT", "LOCAL", "INACTIVE", ProgramKind})
        m_kinds->addItem(QString::fromLatin1(kind), QString::fromLatin1(kind));
    m_count = createLabel(EventCount, QString());
    m_count->setObjectName(QStringLiteral("count"));

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("events"));
    m_table->setGeometry(controlRect(EventTable));
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // Rows of one height: the view never measures a full log's rows.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    const int timeWidth = fontMetrics().horizontalAdvance(QStringLiteral("2026-12-07 22:41:07.123 +01:00")) + 12;
    m_table->setColumnWidth(EventTableModel::TimeColumn, timeWidth);
    m_table->setColumnWidth(EventTableModel::UnitColumn, fontMetrics().horizontalAdvance(QStringLiteral("Unit")) + 16);
    m_table->setColumnWidth(EventTableModel::MacColumn,
                            fontMetrics().horizontalAdvance(QStringLiteral("0050C2100007")) + 12);
    m_table->setColumnWidth(EventTableModel::IpColumn,
                            fontMetrics().horizontalAdvance(QStringLiteral("192.168.100.100")) + 12);

    createButton(EventExport, QStringLiteral("&Export CSV..."), ImageRegistry::key(162));
    createButton(ControlId::Ok, QStringLiteral("OK"), ImageRegistry::key(162));

    connect(m_units, &QComboBox::currentIndexChanged, this, [this] { setUnitFilter(m_units->currentData().toInt()); });
    connect(m_kinds, &QComboBox::currentIndexChanged, this,
            [this] { setKindFilter(m_kinds->currentData().toString()); });
    connect(&m_refresh, &QTimer::timeout, this, &EventLogWindow::refresh);
    m_refresh.start(RefreshMs);
    refresh();
}

void EventLogWindow::refresh()
{
    // Only what is new is taken, so a flood costs the window little per look.
    const std::uint64_t count = m_log.count();
    if (count != m_taken) {
        m_model.addRunEvents(m_log.eventsFrom(m_taken));
        m_taken = count;
    }
    if (!m_historyShown && m_log.historyRead()) {
        m_historyShown = true;
        m_model.setHistory(m_log.history());
    }
    showCount();
}

void EventLogWindow::setUnitFilter(int unit)
{
    m_unitFilter = unit;
    m_model.setFilter(m_unitFilter, m_kindFilter.toStdString());
    const int index = m_units->findData(unit);
    if (index >= 0 && index != m_units->currentIndex())
        m_units->setCurrentIndex(index);
    showCount();
}

void EventLogWindow::setKindFilter(const QString& kind)
{
    m_kindFilter = kind;
    m_model.setFilter(m_unitFilter, m_kindFilter.toStdString());
    const int index = m_kinds->findData(kind);
    if (index >= 0 && index != m_kinds->currentIndex())
        m_kinds->setCurrentIndex(index);
    showCount();
}

void EventLogWindow::showCount()
{
    m_count->setText(QStringLiteral("%1 of %2 events").arg(m_model.rowCount()).arg(m_model.totalCount()));
}

std::vector<UnitEvent> EventLogWindow::shownEvents() const
{
    std::vector<UnitEvent> events;
    events.reserve(static_cast<std::size_t>(m_model.rowCount()));
    for (int row = 0; row < m_model.rowCount(); ++row)
        events.push_back(m_model.eventAt(row));
    return events;
}

void EventLogWindow::exportCsv()
{
    FileDialogRequest request;
    request.title = " Export Events";
    request.filterName = "CSV Files (*.csv)";
    request.pattern = "*.csv";
    request.defaultExtension = "csv";
    request.confirmOverwrite = true;
    const auto path = m_dialogs.askSaveAs(request);
    if (!path)
        return;
    int errorNumber = 0;
    if (!writeWholeFile(*path, eventsCsv(shownEvents()), errorNumber))
        m_operator.platformMessage(
            format("Cannot write file %s (%s)", path->c_str(), systemErrorText(errorNumber).c_str()));
}

void EventLogWindow::onCommand(int id)
{
    if (id == DialogControl::EventExport) {
        exportCsv();
        return;
    }
    GlassDialog::onCommand(id);
}

} // namespace deskpanel
