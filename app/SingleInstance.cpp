#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace deskpanel {

SingleInstance::SingleInstance(const QString& folder)
    : m_path(QDir(folder.isEmpty() ? defaultFolder() : folder).filePath(QString::fromLatin1(LockName) + ".lock"))
{}

QString SingleInstance::defaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

bool SingleInstance::acquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: a running copy may run for weeks. A lock whose process is gone
    // is still recognised and removed by tryLock().
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

} // namespace deskpanel
