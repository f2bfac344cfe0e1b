#pragma once

#include <QDate>
#include <QLineEdit>
#include <QVariant>

class QCalendarWidget;

namespace zel {

// A date typed as "dd/mm/yyyy" that may also be empty. An empty edit is a date the
// user did not fill: value() is then a null QVariant, so it is stored as NULL and
// never as today or as a made-up date.
class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    // Invalid when empty.
    QDate date() const { return m_date; }
    bool isEmpty() const { return !m_date.isValid(); }
    // An invalid date empties the edit.
    void setDate(const QDate& date);
    // A null QVariant when empty, the QDate otherwise: ready to bind.
    QVariant value() const { return m_date.isValid() ? QVariant(m_date) : QVariant(); }
    // A stored value: NULL or "" empties; a QDate or ISO text "yyyy-mm-dd[...]" is shown.
    // Anything else empties the edit and returns false.
    bool setValue(const QVariant& stored);

    // Opens the month view on the date (today when empty).
    void showCalendar();

Q_SIGNALS:
    // The date changed by typing, by the month view or by setDate().
    void dateChanged(const QDate& date);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void commitText();
    void showDate();

    QDate m_date;
    QCalendarWidget* m_calendar = nullptr;
};

}  // namespace zel
