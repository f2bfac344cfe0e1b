#pragma once

#include <QByteArray>
#include <QStringList>
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

// What the program said and returned when run as a command.
struct CommandOutcome {
    int code;  // -1 when it did not end normally
    QString err;
    QString out;
};

// The program with no display at all, as a cron job would run it.
CommandOutcome runZelvarin(const QStringList& args);

// The text of a PDF as pdftotext reads it (ligatures undone); empty without pdftotext.
QString pdfText(const QString& pdf);

}  // namespace zel::test
