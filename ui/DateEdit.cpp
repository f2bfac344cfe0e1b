#include "ui/DateEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

#include "core/Clock.h"
#include "ui/Dialogs.h"

namespace zel {

namespace {
const QString kFormat = QStringLiteral("dd/MM/yyyy");

bool hasDigits(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}
}  // namespace

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent) {
    // Optional digits, so that a half-typed or emptied date still ends its editing.
    setInputMask(QStringLiteral("00/00/0000;_"));
    auto* pick =
        addAction(QIcon::fromTheme(QStringLiteral("x-office-calendar"),
                                   style()->standardIcon(QStyle::SP_FileDialogContentsView)),
                  QLineEdit::TrailingPosition);
    pick->setObjectName(QStringLiteral("act_calendario"));
    connect(pick, &QAction::triggered, this, &DateEdit::showCalendar);
    connect(this, &QLineEdit::editingFinished, this, &DateEdit::commitText);
    // A complete date counts as soon as it is typed, before the focus leaves.
    connect(this, &QLineEdit::textEdited, this, [this] {
        const QDate typed = QDate::fromString(text(), kFormat);
        if (typed.isValid()) setDate(typed);
    });
}

void DateEdit::setDate(const QDate& date) {
    const QDate next = date.isValid() ? date : QDate();
    const bool changed = next != m_date;
    m_date = next;
    showDate();
    if (changed) Q_EMIT dateChanged(m_date);
}

bool DateEdit::setValue(const QVariant& stored) {
    if (stored.isNull()) {
        setDate({});
        return true;
    }
    if (stored.typeId() == QMetaType::QDate || stored.typeId() == QMetaType::QDateTime) {
        setDate(stored.toDate());
        return true;
    }
    const QString text = stored.toString().trimmed();
    const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    setDate(d);
    return text.isEmpty() || d.isValid();
}

void DateEdit::showDate() {
    const QString shown = m_date.isValid() ? m_date.toString(kFormat) : QString();
    if (shown.isEmpty() ? hasDigits(text()) : text() != shown) setText(shown);
}

void DateEdit::commitText() {
    if (!hasDigits(text())) {
        setDate({});
        return;
    }
    const QDate typed = QDate::fromString(text(), kFormat);
    if (typed.isValid()) {
        setDate(typed);
        return;
    }
    // Not a date: keep the last good one rather than store a guess.
    Dialogs::instance().beep();
    showDate();
}

void DateEdit::showCalendar() {
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("cal_data"));
        m_calendar->setWindowFlags(Qt::Popup);
        m_calendar->setFirstDayOfWeek(Qt::Monday);
        connect(m_calendar, &QCalendarWidget::activated, this, [this](const QDate& d) {
            m_calendar->hide();
            setDate(d);
            setFocus();
        });
        connect(m_calendar, &QCalendarWidget::clicked, this, [this](const QDate& d) {
            m_calendar->hide();
            setDate(d);
            setFocus();
        });
    }
    m_calendar->setSelectedDate(m_date.isValid() ? m_date : Clock::today());
    m_calendar->move(mapToGlobal(rect().bottomLeft()));
    m_calendar->show();
    m_calendar->setFocus();
}

void DateEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

}  // namespace zel
