#include "ui/dialogs/AppDialogs.h"

#include "ui/dialogs/InfoBox.h"

#include <QInputDialog>

namespace deskpanel {

// A stand-in until the real dialogs exist: every command says so, the naming of scenes
// uses a plain input dialog.
AppDialogs::AppDialogs(DeskPanelApp& app, HelpOpener& help, QWidget* parent)
    : m_app(app), m_help(help), m_parent(parent)
{}

void AppDialogs::notYetAvailable()
{
    InfoBox box(QStringLiteral("This dialog is not yet available."), m_parent);
    box.exec();
}

void AppDialogs::openChannelName(int)
{
    notYetAvailable();
}

void AppDialogs::openUnitName(int)
{
    notYetAvailable();
}

void AppDialogs::openPreferences()
{
    notYetAvailable();
}

void AppDialogs::openAutosave()
{
    notYetAvailable();
}

void AppDialogs::openMeterPreferences()
{
    notYetAvailable();
}

void AppDialogs::openLinkMatrix()
{
    notYetAvailable();
}

void AppDialogs::openSystemStatus()
{
    notYetAvailable();
}

void AppDialogs::openUnitStatus(int)
{
    notYetAvailable();
}

void AppDialogs::openIdentityCheck()
{
    notYetAvailable();
}

int AppDialogs::chooseLinkGroup(int, int)
{
    notYetAvailable();
    return NothingChosen;
}

bool AppDialogs::editChannelTitle(int, const std::string&)
{
    notYetAvailable();
    return false;
}

std::optional<NameAndNotes> AppDialogs::askNewScene(const NameAndNotes& initial)
{
    bool ok = false;
    const QString name = QInputDialog::getText(m_parent, QStringLiteral("New Scene"),
                                               QStringLiteral("Enter a name for the new scene..."), QLineEdit::Normal,
                                               QString::fromStdString(initial.name), &ok);
    if (!ok)
        return std::nullopt;
    return NameAndNotes{name.toStdString(), initial.notes};
}

std::optional<NameAndNotes> AppDialogs::askRenameScene(const std::string& heading, const NameAndNotes& initial)
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(m_parent, QStringLiteral("Rename Scene"), QString::fromStdString(heading),
                              QLineEdit::Normal, QString::fromStdString(initial.name), &ok);
    if (!ok)
        return std::nullopt;
    return NameAndNotes{name.toStdString(), initial.notes};
}

} // namespace deskpanel
