#pragma once

#include <QList>
#include <QString>

#include "core/Notifier.h"

class QWidget;

namespace zel {

enum class DlgButton { None = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8, Retry = 16, Abort = 32, Ignore = 64 };
using DlgButtons = int;  // DlgButton values or-ed together

// Every message box of the program goes through here. Tests switch it to scripted
// mode, queue the answers in advance and read back what was shown.
class Dialogs : public Notifier {
public:
    struct Shown {
        MsgIcon icon;
        QString title;
        QString text;
        DlgButtons buttons;
        DlgButton answer;
    };

    static Dialogs& instance();

    // Shows a box and returns the button pressed. "\r\n" and "\n\r" break lines.
    DlgButton show(MsgIcon icon, const QString& title, const QString& text, DlgButtons buttons,
                   DlgButton defaultButton, QWidget* parent = nullptr);
    void info(const QString& title, const QString& text, QWidget* parent = nullptr);
    void warning(const QString& title, const QString& text, QWidget* parent = nullptr);
    void error(const QString& title, const QString& text, QWidget* parent = nullptr);
    // Yes/No question; true for Yes.
    bool yesNo(MsgIcon icon, const QString& title, const QString& text, QWidget* parent = nullptr);

    // Notifier
    void message(MsgIcon icon, const QString& title, const QString& text) override;
    bool ask(MsgIcon icon, const QString& title, const QString& text) override;
    void beep() override;

    // Test seam: in scripted mode nothing is shown; each box takes the next queued
    // answer, or its default button when the queue is empty.
    void setScripted(bool scripted) { m_scripted = scripted; }
    bool scripted() const { return m_scripted; }
    void queueAnswer(DlgButton b) { m_answers.append(b); }
    const QList<Shown>& shown() const { return m_shown; }
    QStringList shownTexts() const;
    int beeps() const { return m_beeps; }
    void reset();

    static QString displayText(const QString& text);

private:
    bool m_scripted = false;
    QList<DlgButton> m_answers;
    QList<Shown> m_shown;
    int m_beeps = 0;
};

}  // namespace zel
