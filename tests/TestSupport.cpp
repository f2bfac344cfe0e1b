#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zel::test {

void TempBase::write(const QString& rel, const QByteArray& bytes) const {
    const QString p = file(rel);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TempBase::read(const QString& rel) const {
    QFile f(file(rel));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace zel::test
