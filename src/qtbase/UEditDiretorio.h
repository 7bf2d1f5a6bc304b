#pragma once

#include <QLineEdit>

// The output folder: free text with a button at its right that opens a folder picker; the chosen folder
// replaces the text. Where the file system ignores case, typed letters are turned to upper case; a folder
// set by the program (the stored one, the picker's choice) stays as it is.
class TEditDiretorio : public QLineEdit {
    Q_OBJECT
public:
    explicit TEditDiretorio(QWidget* dono);

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void EscolherPasta();
};
