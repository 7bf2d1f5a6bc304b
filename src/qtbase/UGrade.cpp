#include "qtbase/UGrade.h"

#include <QHeaderView>

TGrade::TGrade(QWidget* dono) : QTableView(dono) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    horizontalHeader()->setStretchLastSection(true);
    // With a border of its own the section is drawn as given, without the style's gradient over the colour.
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(0, 64, 128); color: white; border: none;"
                       " border-right: 1px solid rgb(0, 48, 96); padding: 2px 4px; }"));
}

QModelIndex TGrade::moveCursor(CursorAction acao, Qt::KeyboardModifiers modificadores) {
    // A table goes to the first or last column on Home and End; a grid of rows goes to the first or last row.
    if (acao == MoveHome || acao == MoveEnd)
        modificadores |= Qt::ControlModifier;
    return QTableView::moveCursor(acao, modificadores);
}
