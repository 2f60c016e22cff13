#include "ui/main/ChannelSettingsCommands.h"

#include "app/DeskPanelApp.h"
#include "core/host/FileDialogs.h"
#include "core/model/ChannelSettingsPaste.h"
#include "core/model/Text.h"
#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/PasteSettingsProfile.h"
#include "core/persistence/PathText.h"
#include "core/records/ClipboardLine.h"
#include "core/records/PresetCsv.h"
#include "ui/dialogs/ChannelPresetsDialog.h"
#include "ui/dialogs/PasteSettingsDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace deskpanel {

ChannelSettingsCommands::ChannelSettingsCommands(DeskPanelApp& app, std::string profilePath, std::string libraryPath,
                                                 FileDialogs& files, QWidget* window)
    : m_app(app),
      m_profilePath(std::move(profilePath)),
      m_libraryPath(std::move(libraryPath)),
      m_files(files),
      m_window(window),
      m_importPreview(window)
{}

void ChannelSettingsCommands::copy()
{
    const ChannelControl& channels = m_app.channels();
    const PartialSettings settings =
        PartialSettings::of(channels.settings(channels.currentChannel()), channels.reducedGainRange());
    QGuiApplication::clipboard()->setText(QString::fromStdString(ClipboardLine::write(settings)));
}

void ChannelSettingsCommands::paste()
{
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    const auto settings = ClipboardLine::read(text);
    if (!settings) {
        m_app.operatorPort().message(ClipboardLine::RefusalText);
        return;
    }
    pasteWithDialog(QStringLiteral("Paste Channel Settings"), *settings, true);
}

void ChannelSettingsCommands::pasteWithDialog(const QString& title, const PartialSettings& source, bool remember)
{
    // A preset's boxes start ticked for what it holds; a paste's as they were left.
    const SettingsChoice boxes = remember ? PasteSettingsProfile::read(m_profilePath) : SettingsChoice{};
    PasteSettingsDialog dialog(title, source, boxes, m_app.channels().currentChannel(), m_window);
    if (dialog.exec() != DialogResult::Ok)
        return;
    if (remember && dialog.choice() != boxes && !PasteSettingsProfile::write(m_profilePath, dialog.choice()))
        m_app.operatorPort().platformMessage("Failed to write file " + m_profilePath);
    ChannelSettingsPaste paste(m_app.project(), m_app.channels(), m_app.link(), m_app.scenes(), m_app.operatorPort());
    paste.paste(dialog.settings(), dialog.targets());
}

// ---------------------------------------------------------------- the library

void ChannelSettingsCommands::loadLibrary()
{
    if (m_libraryPath.empty())
        return; // no data folder: the library lives for this run only
    PresetLibrary::writeExamplesIfMissing(m_libraryPath);
    const PresetLibrary::ReadResult read = PresetLibrary::read(m_libraryPath);
    m_library = read.decoded.library;
    m_libraryReadWhole = !read.tooLarge && !read.unreadable;
    const std::string damage = PresetLibrary::damageMessage(m_libraryPath, read);
    if (!damage.empty() && damage != m_reportedDamage)
        m_app.operatorPort().message(damage);
    m_reportedDamage = damage;
}

void ChannelSettingsCommands::saveLibrary()
{
    if (m_libraryPath.empty())
        return;
    // A file that could not be read whole is never replaced by the part that was.
    if (!m_libraryReadWhole || !m_library.write(m_libraryPath))
        m_app.operatorPort().platformMessage("Failed to write file " + m_libraryPath);
}

void ChannelSettingsCommands::openPresets()
{
    loadLibrary();
    ChannelPresetsDialog::Actions actions;
    actions.names = [this] {
        std::vector<std::string> names;
        for (const ChannelPreset& preset : m_library.presets())
            names.push_back(preset.name);
        return names;
    };
    actions.apply = [this](std::size_t i) { applyPreset(i); };
    actions.rename = [this](std::size_t i) { renamePreset(i); };
    actions.remove = [this](std::size_t i) { deletePreset(i); };
    actions.newFromCurrent = [this] { newFromCurrent(); };
    actions.importCsv = [this] { importCsv(); };
    actions.exportCsv = [this] { exportCsv(); };
    ChannelPresetsDialog dialog(std::move(actions), m_window);
    dialog.exec();
}

void ChannelSettingsCommands::showStripMenu(int channel, const QPoint& globalPos)
{
    if (!isValidChannel(channel))
        return;
    m_app.channels().setCurrentChannel(channel);
    loadLibrary();
    QMenu menu(m_window);
    menu.addAction(QStringLiteral("C&opy Channel Settings"), [this] { copy(); });
    menu.addAction(QStringLiteral("&Paste Channel Settings..."), [this] { paste(); });
    if (m_library.size() > 0)
        menu.addSeparator();
    for (std::size_t i = 0; i < m_library.size(); ++i) {
        // The name is found again after the menu: the file may have been read anew.
        const std::string name = m_library.presets()[i].name;
        menu.addAction(QString::fromStdString(name).replace('&', QStringLiteral("&&")), [this, name] {
            if (const auto index = m_library.find(name))
                applyPreset(*index);
        });
    }
    menu.exec(globalPos);
}

void ChannelSettingsCommands::applyPreset(std::size_t index)
{
    if (index >= m_library.size())
        return;
    const ChannelPreset preset = m_library.presets()[index];
    pasteWithDialog(QStringLiteral("Apply Preset: %1").arg(QString::fromStdString(preset.name)), preset.settings,
                    false);
}

void ChannelSettingsCommands::newFromCurrent()
{
    const ChannelControl& channels = m_app.channels();
    const int current = channels.currentChannel();
    PresetNameDialog dialog(QStringLiteral("New Preset from Channel %1").arg(globalChannelNumber(current)),
                            QString::fromStdString(m_app.project().channels[static_cast<std::size_t>(current)].name),
                            m_window);
    if (dialog.exec() != DialogResult::Ok)
        return;
    const std::string name = dialog.name().toStdString();
    if (const std::string problem = m_library.nameProblem(name); !problem.empty()) {
        m_app.operatorPort().message(problem);
        return;
    }
    // The settings as they are now, after the dialog.
    m_library.put({name, PartialSettings::of(channels.settings(current), channels.reducedGainRange())});
    saveLibrary();
}

void ChannelSettingsCommands::renamePreset(std::size_t index)
{
    if (index >= m_library.size())
        return;
    const std::string old = m_library.presets()[index].name;
    PresetNameDialog dialog(QStringLiteral("Rename Preset"), QString::fromStdString(old), m_window);
    if (dialog.exec() != DialogResult::Ok)
        return;
    const auto at = m_library.find(old);
    if (!at)
        return;
    if (const std::string problem = m_library.rename(*at, dialog.name().toStdString()); !problem.empty()) {
        m_app.operatorPort().message(problem);
        return;
    }
    saveLibrary();
}

void ChannelSettingsCommands::deletePreset(std::size_t index)
{
    if (index >= m_library.size())
        return;
    const std::string name = m_library.presets()[index].name;
    if (m_app.operatorPort().decide("Are you sure?") != Decision::Yes)
        return;
    if (const auto at = m_library.find(name)) {
        m_library.remove(*at);
        saveLibrary();
    }
}

void ChannelSettingsCommands::importCsv()
{
    FileDialogRequest request;
    request.title = " Import Channel Presets";
    request.filterName = "Channel Presets (*.csv)";
    request.pattern = "*.csv";
    request.defaultExtension = "csv";
    request.startPath = directoryPart(m_app.project().projectPath);
    request.mustExist = true;
    const auto path = m_files.askOpen(request);
    if (!path)
        return;
    const PresetCsv::Import import = PresetCsv::readFile(*path);
    if (!import.error.empty()) {
        m_app.operatorPort().message(import.error);
        return;
    }
    if (!m_importPreview.confirm(PresetCsv::preview(import, m_library)) || import.presets.empty())
        return;
    PresetCsv::apply(import, m_library);
    saveLibrary();
}

void ChannelSettingsCommands::exportCsv()
{
    FileDialogRequest request;
    request.title = " Export Channel Presets";
    request.filterName = "Channel Presets (*.csv)";
    request.pattern = "*.csv";
    request.defaultExtension = "csv";
    request.startPath = directoryPart(m_app.project().projectPath) + "Channel Presets.csv";
    request.confirmOverwrite = true;
    const auto path = m_files.askSaveAs(request);
    if (!path)
        return;
    int errorNumber = 0;
    if (!writeWholeFile(*path, PresetCsv::write(m_library), errorNumber))
        m_app.operatorPort().platformMessage("Failed to write file " + *path);
}

} // namespace deskpanel
