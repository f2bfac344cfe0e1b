#include "core/InstanceLock.h"

#include <QDir>
#include <QLockFile>

namespace zel {

InstanceLock::InstanceLock(const QString& baseFolder)
    : m_lock(std::make_unique<QLockFile>(QDir(baseFolder).filePath(fileName()))) {
    // A running instance may hold the folder for days: only a dead holder makes the lock stale.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock() { return m_lock->isLocked() || m_lock->tryLock(0); }

bool InstanceLock::isLocked() const { return m_lock->isLocked(); }

QString InstanceLock::refusal() const {
    QString text = QStringLiteral("Zelvarin è già in uso su questa cartella");
    if (m_lock->error() != QLockFile::LockFailedError)
        return QStringLiteral("Impossibile riservare la cartella a questa sessione di Zelvarin (%1)")
            .arg(QDir::toNativeSeparators(m_lock->fileName()));
    qint64 pid = 0;
    QString host, app;
    if (m_lock->getLockInfo(&pid, &host, &app) && pid > 0)
        text += host.isEmpty() ? QStringLiteral(" (processo %1)").arg(pid)
                               : QStringLiteral(" (processo %1 su %2)").arg(pid).arg(host);
    return text;
}

}  // namespace zel
