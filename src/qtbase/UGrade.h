#pragma once

#include <QTableView>

// The read-only grid of the profile windows: whole rows selected one at a time, titles in white on a plain
// RGB(0,64,128) bar. The keyboard moves rows, never cells: the arrow keys, Page Up/Down and Home/End move
// the current row, and Tab leaves the grid for the next control without touching the row.
class TGrade : public QTableView {
    Q_OBJECT
public:
    explicit TGrade(QWidget* dono);

protected:
    QModelIndex moveCursor(CursorAction acao, Qt::KeyboardModifiers modificadores) override;
};
