#include "app/UEditData.h"

#include "platform/UDataHora.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

namespace {

const QString Formato = QStringLiteral("dd/MM/yyyy");

// Day and month of one or two digits, so that "3/3/2024" (the separator typed after one digit) counts;
// the year always of four.
// The arrow of a drop-down list, drawn by the style, so the field looks like the date pickers clerks know.
QIcon SetaAbaixo(const QWidget& campo) {
    QPixmap seta(12, 12);
    seta.fill(Qt::transparent);
    QPainter pintor(&seta);
    QStyleOption opcao;
    opcao.initFrom(&campo);
    opcao.rect = seta.rect();
    campo.style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opcao, &pintor, &campo);
    return QIcon(seta);
}

bool LerParte(const QString& parte, int minimo, int maximo, int& valor) {
    if (parte.size() < minimo || parte.size() > maximo)
        return false;
    for (const QChar c : parte)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    valor = parte.toInt();
    return true;
}

} // namespace

TEditData::TEditData(QWidget* dono) : QLineEdit(dono) {
    // The mask keeps the separators in place and lets a typed "/" jump to the next part; "_" marks the
    // digits still missing. text() gives the digits without the blanks.
    setInputMask(QStringLiteral("99/99/9999;_"));
    FBotaoCalendario = addAction(SetaAbaixo(*this), QLineEdit::TrailingPosition);
    FBotaoCalendario->setObjectName(QStringLiteral("btnCalendario"));
    FBotaoCalendario->setText(QStringLiteral("Calendário"));
    FBotaoCalendario->setToolTip(QStringLiteral("Calendário (F4)"));
    connect(FBotaoCalendario, &QAction::triggered, this, &TEditData::AbrirCalendario);
    connect(this, &QLineEdit::textChanged, this, &TEditData::MostrarValidade);
    MostrarValidade();
}

QDate TEditData::date() const {
    const QStringList partes = text().split(QLatin1Char('/'));
    int dia = 0;
    int mes = 0;
    int ano = 0;
    if (partes.size() != 3 || !LerParte(partes[0], 1, 2, dia) || !LerParte(partes[1], 1, 2, mes) ||
        !LerParte(partes[2], 4, 4, ano))
        return {};
    // QDate refuses 31 February and day 0 instead of moving them to another day.
    return QDate(ano, mes, dia);
}

void TEditData::setDate(const QDate& data) {
    setText(data.isValid() ? data.toString(Formato) : QString());
}

void TEditData::AbrirCalendario() {
    if (!FCalendario) {
        FCalendario = new QCalendarWidget(this);
        FCalendario->setObjectName(QStringLiteral("calendario"));
        FCalendario->setWindowFlags(Qt::Popup);
        FCalendario->setGridVisible(true);
        connect(FCalendario, &QCalendarWidget::clicked, this, &TEditData::Escolher);
        connect(FCalendario, &QCalendarWidget::activated, this, &TEditData::Escolher);
    }
    QDate inicial = date();
    if (!inicial.isValid()) {
        const TDataHora hoje = Agora();
        inicial = QDate(hoje.Ano, hoje.Mes, hoje.Dia);
    }
    FCalendario->setSelectedDate(inicial);
    FCalendario->adjustSize();
    QPoint posicao = mapToGlobal(QPoint(0, height()));
    if (const QScreen* tela = screen()) {
        const QRect area = tela->availableGeometry();
        posicao.setX(qBound(area.left(), posicao.x(), area.right() - FCalendario->width()));
        if (posicao.y() + FCalendario->height() > area.bottom())
            posicao.setY(mapToGlobal(QPoint(0, 0)).y() - FCalendario->height());
    }
    FCalendario->move(posicao);
    FCalendario->show();
    FCalendario->setFocus(Qt::PopupFocusReason);
}

void TEditData::Nomear(const QString& campo, const QString& calendario) {
    setAccessibleName(campo);
    // The button shows only its arrow; the action's text is what it is called.
    FBotaoCalendario->setText(calendario);
}

void TEditData::Escolher(const QDate& data) {
    setDate(data);
    FCalendario->hide();
    setFocus(Qt::PopupFocusReason);
}

void TEditData::focusInEvent(QFocusEvent* evento) {
    QLineEdit::focusInEvent(evento);
    // Reached from the keyboard or put here by the program (a failed check, the calendar closing), the
    // cursor starts at the day, so a date typed whole replaces the shown one digit by digit.
    if (evento->reason() != Qt::MouseFocusReason && evento->reason() != Qt::ActiveWindowFocusReason)
        setCursorPosition(0);
}

void TEditData::focusOutEvent(QFocusEvent* evento) {
    QLineEdit::focusOutEvent(evento);
    // "3/3/2024" as typed is shown as the date it is.
    const QDate data = date();
    if (data.isValid() && text() != data.toString(Formato))
        setDate(data);
}

void TEditData::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_F4 || (evento->key() == Qt::Key_Down && (evento->modifiers() & Qt::AltModifier))) {
        AbrirCalendario();
        return;
    }
    if (evento->text() == QStringLiteral("/") && TerminarParte())
        return;
    QLineEdit::keyPressEvent(evento);
}

bool TEditData::TerminarParte() {
    // One digit of the day or the month typed, then "/": that digit is the whole part, so "3/3/2024" is
    // 03/03/2024 whatever digits the field showed there. Elsewhere the mask swallows the "/" after a whole
    // part, or moves to the next part.
    const int posicao = cursorPosition();
    if (hasSelectedText() || (posicao != 1 && posicao != 4) || !displayText()[posicao - 1].isDigit())
        return false;
    setSelection(posicao - 1, 1);
    insert(QStringLiteral("0") + displayText()[posicao - 1]);
    return true;
}

void TEditData::MostrarValidade() {
    const bool valida = date().isValid();
    if (valida == FValida)
        return;
    FValida = valida;
    // An empty palette takes every colour from the window; only the text turns red.
    QPalette cores;
    if (!valida)
        cores.setColor(QPalette::Text, Qt::red);
    setPalette(cores);
    setToolTip(valida ? QString() : QStringLiteral("Data inválida"));
}
