#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace deskpanel {

namespace {

QString lockErrorText(QLockFile::LockError error)
{
    switch (error) {
    case QLockFile::PermissionError: return QStringLiteral("no permission to write there");
    case QLockFile::LockFailedError: return QStringLiteral("another user's lock is there");
    default: return QStringLiteral("the lock file cannot be created there");
    }
}

QString failureText(const QString& folder, const QString& why)
{
    return QStringLiteral("The lock that keeps a second copy from starting could not be taken in %1: %2.")
        .arg(QDir::toNativeSeparators(folder), why);
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& tempFolder)
    : m_folder(folder.isEmpty() ? defaultFolder() : folder),
      m_tempFolder(tempFolder.isEmpty() ? QDir::tempPath() : tempFolder),
      m_path(QDir(m_folder).filePath(QString::fromLatin1(LockName) + ".lock"))
{}

QString SingleInstance::defaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString SingleInstance::fallbackFolder() const
{
#ifdef _WIN32
    const QString user = QDir::home().dirName();
#else
    const QString user = QString::number(::geteuid());
#endif
    return QDir(m_tempFolder).filePath(QString::fromLatin1(FallbackPrefix) + user);
}

SingleInstance::~SingleInstance()
{
#ifdef _WIN32
    if (m_mutex)
        CloseHandle(static_cast<HANDLE>(m_mutex));
#endif
}

SingleInstance::Outcome SingleInstance::acquire()
{
#ifdef _WIN32
    if (m_mutex)
        return Outcome::Acquired;
    // The system ends the ownership and drops the name when the process that holds it ends.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, LockName);
    const DWORD error = GetLastError();
    if (mutex && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Outcome::HeldByAnotherCopy;
    }
    if (!mutex) {
        // Access denied: the name is held under another security context, by a copy.
        if (error == ERROR_ACCESS_DENIED)
            return Outcome::HeldByAnotherCopy;
        m_error = QStringLiteral("The single-copy mutex \"%1\" could not be created (error %2).")
                      .arg(QString::fromLatin1(LockName))
                      .arg(error);
        return Outcome::Failed;
    }
    m_mutex = mutex;
    return Outcome::Acquired;
#else
    if (m_lock && m_lock->isLocked())
        return Outcome::Acquired;
    m_error.clear();
    switch (tryIn(m_folder)) {
    case Attempt::Locked: return Outcome::Acquired;
    case Attempt::HeldByLiveCopy: return Outcome::HeldByAnotherCopy;
    case Attempt::Failed: break;
    }
    const QString fallback = fallbackFolder();
    if (!makePrivateFolder(fallback))
        return Outcome::Failed;
    const Attempt second = tryIn(fallback);
    if (second == Attempt::Failed)
        return Outcome::Failed;
    m_error.clear(); // the runtime folder's failure no longer matters
    return second == Attempt::Locked ? Outcome::Acquired : Outcome::HeldByAnotherCopy;
#endif
}

SingleInstance::Attempt SingleInstance::tryIn(const QString& folder)
{
    m_path = QDir(folder).filePath(QString::fromLatin1(LockName) + ".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: a running copy may run for weeks. A lock whose process is gone
    // is still recognised and removed by tryLock().
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Attempt::Locked;
    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
#ifndef _WIN32
    // A live lock counts only when it is this user's: another user's copy in a shared
    // folder must not keep this one from starting.
    struct stat info {};
    const bool ours = ::lstat(QFile::encodeName(m_path).constData(), &info) == 0 && info.st_uid == ::geteuid();
#else
    const bool ours = true;
#endif
    if (error == QLockFile::LockFailedError && ours)
        return Attempt::HeldByLiveCopy;
    m_error = failureText(folder, lockErrorText(error));
    return Attempt::Failed;
}

bool SingleInstance::makePrivateFolder(const QString& folder)
{
    const auto failed = [this, &folder](const QString& why) {
        m_error = failureText(folder, why);
        return false;
    };
#ifdef _WIN32
    return QDir().mkpath(folder) || failed(QStringLiteral("the folder cannot be created"));
#else
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    // It must be a real folder of this user (not a link someone planted), closed to
    // everyone else whatever the umask left.
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return failed(QStringLiteral("it is not a folder"));
    if (info.st_uid != ::geteuid())
        return failed(QStringLiteral("the folder belongs to another user"));
    if ((info.st_mode & 0777) != 0700 && ::chmod(path.constData(), 0700) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    return true;
#endif
}

} // namespace deskpanel
