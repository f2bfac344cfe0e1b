#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace zel {

// Every file choice of the program goes through here. Tests switch it to scripted mode,
// queue the files "chosen" in advance and read back which choices were asked for.
class FileDialogs {
public:
    static FileDialogs& instance();

    // An existing file chosen by the user; empty when the choice is cancelled.
    QString openFile(QWidget* parent, const QString& title, const QString& filter = {});

    // Test seam: in scripted mode nothing is shown; each choice takes the next queued
    // answer, or is cancelled when the queue is empty.
    void setScripted(bool scripted) { m_scripted = scripted; }
    void queueAnswer(const QString& path) { m_answers.append(path); }
    // Titles of the choices asked for.
    const QStringList& asked() const { return m_asked; }
    void reset();

private:
    bool m_scripted = false;
    QStringList m_answers;
    QStringList m_asked;
};

}  // namespace zel
