#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zel::test {

// A fresh base folder for one test, removed afterwards.
class TempBase {
public:
    TempBase() { dir.setAutoRemove(true); }
    QString path() const { return dir.path(); }
    QString file(const QString& rel) const { return dir.filePath(rel); }
    void write(const QString& rel, const QByteArray& bytes) const;
    QByteArray read(const QString& rel) const;

private:
    QTemporaryDir dir;
};

}  // namespace zel::test
