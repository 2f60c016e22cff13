#pragma once
#include <QString>
#include <QWidget>

#include <string>

namespace deskpanel {

class OperationGate;
class Project;

// The line a screen reader is told of at once: a status bar no one sees, whose name is the
// last announcement. Qt before 6.8 has no announcement event; the reader speaks a status
// bar's new name.
class ReaderStatus : public QWidget {
public:
    explicit ReaderStatus(QWidget* parent);
    QString text() const { return m_text; }
    void announce(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    QString m_text;
};

// A bulk change (a recall, Undo or Redo, the name import, the identity check) changes
// hundreds of controls at once. While its operation holds the gate the console's controls
// send no news; once it is free the focused control tells its new value once and one
// announcement says what happened ("Scene 3 Verse recalled"). An operation that changed
// nothing (a recall answered No) announces nothing.
class BulkChangeNews {
public:
    BulkChangeNews(OperationGate& gate, const Project& project, QWidget& window);
    ~BulkChangeNews();
    BulkChangeNews(const BulkChangeNews&) = delete;
    BulkChangeNews& operator=(const BulkChangeNews&) = delete;

    ReaderStatus* status() const { return m_status; }
    // What the announcement says after `operation` (a holder of the gate); empty for an
    // operation that is no bulk change.
    static QString summary(const std::string& operation, const Project& project);

private:
    bool bulkChangeNow();
    void released();

    OperationGate& m_gate;
    const Project& m_project;
    QWidget& m_window;
    ReaderStatus* m_status;
    int m_listener = 0;
    std::string m_operation; // the bulk change whose news was dropped
};

} // namespace deskpanel
