#include "app/QuietPrograms.h"

#include <QProcess>
#include <QStringList>

namespace deskpanel {

void startQuietly(const std::vector<std::vector<std::string>>& commands)
{
    for (const std::vector<std::string>& command : commands) {
        if (command.empty())
            continue;
        QProcess process;
        process.setProgram(QString::fromStdString(command.front()));
        QStringList arguments;
        for (std::size_t i = 1; i < command.size(); ++i)
            arguments << QString::fromStdString(command[i]);
        process.setArguments(arguments);
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.startDetached();
    }
}

} // namespace deskpanel
