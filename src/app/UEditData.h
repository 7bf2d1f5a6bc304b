#pragma once

#include <QDate>
#include <QLineEdit>

class QAction;
class QCalendarWidget;

// A date field shown as dd/MM/yyyy with a drop-down calendar. It holds the date as typed: the text is read
// whole, so typing a day the shown month lacks never clamps it, and a day that cannot exist is no date at
// all, shown in red, until it is corrected. Tab leaves the field in one stop; inside it the arrow keys and
// a typed "/" move between day, month and year. F4 or Alt+Down opens the calendar.
class TEditData : public QLineEdit {
    Q_OBJECT
public:
    explicit TEditData(QWidget* dono);

    // Invalid while the text is not a real date.
    QDate date() const;
    void setDate(const QDate& data);
    void AbrirCalendario();
    // What a screen reader calls the field and its calendar button.
    void Nomear(const QString& campo, const QString& calendario);

protected:
    void focusInEvent(QFocusEvent* evento) override;
    void focusOutEvent(QFocusEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    bool TerminarParte();
    void MostrarValidade();
    void Escolher(const QDate& data);

    QAction* FBotaoCalendario = nullptr;
    QCalendarWidget* FCalendario = nullptr;
    // As the field shows it: black, or red for no valid date.
    bool FValida = true;
};
