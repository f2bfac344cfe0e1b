#pragma once

#include <QString>
#include <QStringList>

namespace zel {

enum class MsgIcon { None, Information, Warning, Error, Question };

// What the data layer needs from whoever shows messages: the windows answer with
// message boxes, the command line with standard error.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void message(MsgIcon icon, const QString& title, const QString& text) = 0;
    // A question with an affirmative and a negative answer; true means affirmative.
    virtual bool ask(MsgIcon icon, const QString& title, const QString& text) = 0;
    virtual void beep() = 0;
};

// Writes every message to standard error and answers every question with "no",
// so that nothing changes without a person's consent.
class StderrNotifier : public Notifier {
public:
    void message(MsgIcon icon, const QString& title, const QString& text) override;
    bool ask(MsgIcon icon, const QString& title, const QString& text) override;
    void beep() override {}
};

// Keeps what would have been shown; answers questions from a queue (default no).
class RecordingNotifier : public Notifier {
public:
    struct Entry {
        MsgIcon icon;
        QString title;
        QString text;
        bool question;
    };
    void message(MsgIcon icon, const QString& title, const QString& text) override;
    bool ask(MsgIcon icon, const QString& title, const QString& text) override;
    void beep() override { ++beeps; }

    QStringList texts() const;
    QList<Entry> entries;
    QList<bool> answers;
    int beeps = 0;
};

// "Title: text" with the message's own line breaks, as written to a terminal.
QString plainMessage(const QString& title, const QString& text);

}  // namespace zel
