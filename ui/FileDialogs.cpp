#include "ui/FileDialogs.h"

#include <QFileDialog>

namespace zel {

FileDialogs& FileDialogs::instance() {
    static FileDialogs d;
    return d;
}

QString FileDialogs::openFile(QWidget* parent, const QString& title, const QString& filter) {
    m_asked.append(title);
    if (m_scripted) return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

void FileDialogs::reset() {
    m_answers.clear();
    m_asked.clear();
}

}  // namespace zel
