#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

CommandOutcome runZelvarin(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(v));
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(ZELVARIN_BINARY), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError()),
            QString::fromUtf8(p.readAllStandardOutput())};
}

QString pdfText(const QString& pdf) {
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (exe.isEmpty()) return {};
    QProcess p;
    p.start(exe, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

}  // namespace zel::test
