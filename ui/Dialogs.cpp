#include "ui/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace zel {

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Error: return QMessageBox::Critical;
        case MsgIcon::Question: return QMessageBox::Question;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

constexpr std::pair<DlgButton, QMessageBox::StandardButton> kButtons[] = {
    {DlgButton::Ok, QMessageBox::Ok},         {DlgButton::Cancel, QMessageBox::Cancel},
    {DlgButton::Yes, QMessageBox::Yes},       {DlgButton::No, QMessageBox::No},
    {DlgButton::Retry, QMessageBox::Retry},   {DlgButton::Abort, QMessageBox::Abort},
    {DlgButton::Ignore, QMessageBox::Ignore},
};

}  // namespace

Dialogs& Dialogs::instance() {
    static Dialogs dialogs;
    return dialogs;
}

QString Dialogs::displayText(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

DlgButton Dialogs::show(MsgIcon icon, const QString& title, const QString& text, DlgButtons buttons,
                        DlgButton defaultButton, QWidget* parent) {
    DlgButton answer = defaultButton;
    if (m_scripted) {
        if (!m_answers.isEmpty()) answer = m_answers.takeFirst();
    } else {
        QMessageBox box(boxIcon(icon), title.isEmpty() ? QStringLiteral("Zelvarin") : title, displayText(text),
                        QMessageBox::NoButton, parent ? parent : QApplication::activeWindow());
        for (const auto& [ours, theirs] : kButtons)
            if (buttons & static_cast<int>(ours)) box.addButton(theirs);
        for (const auto& [ours, theirs] : kButtons)
            if (ours == defaultButton) box.setDefaultButton(theirs);
        const int pressed = box.exec();
        answer = DlgButton::None;
        for (const auto& [ours, theirs] : kButtons)
            if (pressed == theirs) answer = ours;
        if (answer == DlgButton::None)  // closed by its frame or Escape
            answer = (buttons & static_cast<int>(DlgButton::Cancel)) ? DlgButton::Cancel
                     : (buttons & static_cast<int>(DlgButton::No))   ? DlgButton::No
                                                                      : defaultButton;
    }
    m_shown.append({icon, title, text, buttons, answer});
    return answer;
}

void Dialogs::info(const QString& title, const QString& text, QWidget* parent) {
    show(MsgIcon::Information, title, text, static_cast<int>(DlgButton::Ok), DlgButton::Ok, parent);
}

void Dialogs::warning(const QString& title, const QString& text, QWidget* parent) {
    show(MsgIcon::Warning, title, text, static_cast<int>(DlgButton::Ok), DlgButton::Ok, parent);
}

void Dialogs::error(const QString& title, const QString& text, QWidget* parent) {
    show(MsgIcon::Error, title, text, static_cast<int>(DlgButton::Ok), DlgButton::Ok, parent);
}

bool Dialogs::yesNo(MsgIcon icon, const QString& title, const QString& text, QWidget* parent) {
    return show(icon, title, text, static_cast<int>(DlgButton::Yes) | static_cast<int>(DlgButton::No),
                DlgButton::Yes, parent) == DlgButton::Yes;
}

void Dialogs::message(MsgIcon icon, const QString& title, const QString& text) {
    show(icon, title, text, static_cast<int>(DlgButton::Ok), DlgButton::Ok);
}

bool Dialogs::ask(MsgIcon icon, const QString& title, const QString& text) {
    return show(icon, title, text, static_cast<int>(DlgButton::Yes) | static_cast<int>(DlgButton::Cancel),
                DlgButton::Cancel) == DlgButton::Yes;
}

void Dialogs::beep() {
    ++m_beeps;
    if (!m_scripted) QApplication::beep();
}

QStringList Dialogs::shownTexts() const {
    QStringList out;
    for (const Shown& s : m_shown) out << s.text;
    return out;
}

void Dialogs::reset() {
    m_answers.clear();
    m_shown.clear();
    m_beeps = 0;
}

}  // namespace zel
