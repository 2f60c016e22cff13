#include "app/SheetExport.h"

#include "app/ChannelSheetPdf.h"
#include "core/host/Operator.h"
#include "core/host/Timers.h"
#include "core/model/Text.h"
#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/PathText.h"
#include "core/persistence/ProjectFileReader.h"
#include "core/persistence/SystemErrorText.h"

#include <QDateTime>
#include <QLocale>

#include <cstring>

namespace deskpanel {

namespace {

// The boxes of a read without a screen: the first message is kept as the reason.
class CollectingOperator : public Operator {
public:
    void message(const std::string& text) override { keep(text); }
    void platformMessage(const std::string& text) override { keep(text); }
    Decision decide(const std::string&) override { return Decision::No; }
    Decision decideThreeWay(const std::string&, const std::function<void()>&) override { return Decision::Cancel; }
    void timedNote(const std::string&, const std::string&, std::uint32_t) override {}
    bool isTimedNoteOpen() const override { return false; }
    void beep() override {}
    std::string messages;

private:
    void keep(const std::string& text)
    {
        if (!messages.empty())
            messages += "; ";
        messages += text;
    }
};

// Nothing of a read without a window runs later: the autosave the preferences arm is not
// this job's.
class StillTimers : public Timers {
public:
    void start(TimerId, std::uint32_t) override {}
    void stop(TimerId) override {}
    bool isRunning(TimerId) const override { return false; }
};

std::string lowerExtension(const std::string& path)
{
    const std::string name = fileNamePart(path);
    const std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

} // namespace

SheetExport::Format SheetExport::formatOf(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    if (extension == "csv")
        return Format::Csv;
    if (extension == "pdf")
        return Format::Pdf;
    return Format::None;
}

namespace {
QString printedNow()
{
    return QLocale::system().toString(QDateTime::currentDateTime(), QLocale::LongFormat);
}
} // namespace

bool SheetExport::writeOnWorker(BackgroundWork& work, const ChannelSheet& sheet, const std::string& path,
                                QPageSize::PageSizeId paper, std::string& error)
{
    // The locale and the clock are read here; the worker only lays out and writes.
    const QString date = printedNow();
    bool written = false;
    std::string reason;
    work.run([&] { written = write(sheet, path, paper, reason, date); });
    error = reason;
    return written;
}

bool SheetExport::write(const ChannelSheet& sheet, const std::string& path, QPageSize::PageSizeId paper,
                        std::string& error, const QString& date)
{
    std::string bytes;
    switch (formatOf(path)) {
    case Format::Csv: bytes = channelSheetCsv(sheet); break;
    case Format::Pdf: {
        const QByteArray pdf = ChannelSheetPdf::render(sheet, paper, date.isEmpty() ? printedNow() : date);
        bytes.assign(pdf.constData(), static_cast<std::size_t>(pdf.size()));
        break;
    }
    case Format::None: error = format("%s: the file name must end in .csv or .pdf", path.c_str()); return false;
    }
    int errorNumber = 0;
    if (!writeWholeFile(path, bytes, errorNumber)) {
        error = format("Cannot write file %s (%s)", path.c_str(), systemErrorText(errorNumber).c_str());
        return false;
    }
    return true;
}

int SheetExport::fromProjectFile(const std::string& out, const std::optional<std::string>& scene,
                                 const std::string& projectPath, QPageSize::PageSizeId paper, std::string& error)
{
    if (formatOf(out) == Format::None) {
        error = format("%s: the file name must end in .csv or .pdf", out.c_str());
        return WrongUsage;
    }
    FileSource source(projectPath);
    if (!source.isOpen()) {
        error = format("Cannot open file %s", projectPath.c_str());
        return Failed;
    }
    Project project;
    CollectingOperator op;
    StillTimers timers;
    ProjectFileReader reader(project, op, timers);
    if (reader.read(source) != ProjectFileReader::Outcome::Complete) {
        error = format("%s: %s", projectPath.c_str(), op.messages.c_str());
        return Failed;
    }
    // As Open leaves it: the live settings are the defaults, the Blank Scene's.
    project.resetAllChannelSettings();
    project.setProjectName(fileNamePart(projectPath));
    int position = 0;
    if (scene) {
        const auto found = ChannelSheetMaker::findScene(project.scenes, *scene);
        if (!found) {
            error = format("%s has no scene \"%s\"", projectPath.c_str(), scene->c_str());
            return Failed;
        }
        position = *found;
    }
    const ChannelSheet sheet = ChannelSheetMaker::make(project, position, ChannelSheetMaker::allUnits());
    return write(sheet, out, paper, error) ? Done : Failed;
}

} // namespace deskpanel
