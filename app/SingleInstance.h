#pragma once
#include <QLockFile>
#include <QString>

#include <memory>

namespace deskpanel {

// The one-copy rule: a lock file "PreventSecondInstance" in the user's runtime folder
// ($XDG_RUNTIME_DIR), taken before any window exists and held until the process ends.
// A lock left behind by a copy that died is taken over.
class SingleInstance {
public:
    static constexpr const char* LockName = "PreventSecondInstance";

    // `folder` empty: the runtime folder (the temporary folder when there is none).
    explicit SingleInstance(const QString& folder = {});

    // True when this process now holds the lock; false when another copy holds it.
    bool acquire();
    QString lockPath() const { return m_path; }

    static QString defaultFolder();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace deskpanel
