#pragma once
#include <QLockFile>
#include <QString>

#include <memory>

namespace deskpanel {

// The one-copy rule. On Windows: the named mutex "PreventSecondInstance", created owned
// before any window exists and held until the process ends. Elsewhere: a lock file
// "PreventSecondInstance.lock" in the user's runtime folder
// ($XDG_RUNTIME_DIR), taken before any window exists and held until the process ends.
// A lock left behind by a copy that died is taken over.
//
// Only a lock held by a live copy of this user keeps a copy from starting. When the
// runtime folder fails in any other way (missing, not writable, another user's lock in a
// shared temporary folder) the lock moves to a private folder of this user in the
// temporary folder, "DeskPanel-<uid>" (mode 0700).
class SingleInstance {
public:
    static constexpr const char* LockName = "PreventSecondInstance";
    static constexpr const char* FallbackPrefix = "DeskPanel-";

    enum class Outcome {
        Acquired,
        HeldByAnotherCopy, // a live copy of this user holds it: end silently
        Failed // neither folder could hold the lock: errorText() says why; run without it
    };

    // `folder` empty: the runtime folder (the temporary folder when there is none);
    // `tempFolder` empty: the system's temporary folder.
    // The folders are not used on Windows, where the mutex lives in the session's namespace.
    explicit SingleInstance(const QString& folder = {}, const QString& tempFolder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome acquire();
    // Where the lock is held (or was tried last).
    QString lockPath() const { return m_path; }
    // After Failed: what went wrong, naming the folder.
    QString errorText() const { return m_error; }
    // The private folder in the temporary folder the lock moves to.
    QString fallbackFolder() const;

    static QString defaultFolder();

private:
    enum class Attempt {
        Locked,
        HeldByLiveCopy,
        Failed
    };
    Attempt tryIn(const QString& folder);
    // Creates the private folder, or checks that the one there is a folder of this user
    // that no one else may enter.
    bool makePrivateFolder(const QString& folder);

    QString m_folder;
    QString m_tempFolder;
    QString m_path;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    void* m_mutex = nullptr; // the mutex handle on Windows
};

} // namespace deskpanel
