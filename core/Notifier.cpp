#include "core/Notifier.h"

#include <cstdio>

namespace zel {

QString plainMessage(const QString& title, const QString& text) {
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return title.isEmpty() ? body : title + QStringLiteral(": ") + body;
}

void StderrNotifier::message(MsgIcon, const QString& title, const QString& text) {
    std::fprintf(stderr, "%s\n", plainMessage(title, text).toLocal8Bit().constData());
    std::fflush(stderr);
}

bool StderrNotifier::ask(MsgIcon icon, const QString& title, const QString& text) {
    message(icon, title, text);
    return false;
}

void RecordingNotifier::message(MsgIcon icon, const QString& title, const QString& text) {
    entries.append({icon, title, text, false});
}

bool RecordingNotifier::ask(MsgIcon icon, const QString& title, const QString& text) {
    entries.append({icon, title, text, true});
    return answers.isEmpty() ? false : answers.takeFirst();
}

QStringList RecordingNotifier::texts() const {
    QStringList out;
    for (const Entry& e : entries) out << e.text;
    return out;
}

}  // namespace zel
