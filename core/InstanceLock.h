#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace zel {

// One instance of the program per base folder. The lock is a file in the base folder
// naming the process that holds it; a lock left by a process that no longer runs is
// taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& baseFolder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running instance holds the folder, or the lock cannot be made.
    bool tryLock();
    bool isLocked() const;
    // The message for the user when tryLock() failed.
    QString refusal() const;

    static QString fileName() { return QStringLiteral(".zelvarin.lock"); }

private:
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace zel
