#pragma once

#include <QPointer>

class QFrame;
class QProgressBar;
class QPushButton;
class QWidget;

// One export from start to end. "Gerar (F3)" is disabled meanwhile, but it keeps the clerk's focus: Qt
// would hand the focus of a disabled button to the next one, "Fechar (Esc)", and a second Enter would then
// be a close request. So the focus waits on the gauge, where keys click nothing, and on every path out the
// gauge goes away and the focus comes back to the control that had it.
class TExportacaoEmCurso {
public:
    TExportacaoEmCurso(QFrame* painel, QProgressBar* medidor, QPushButton* gerar);
    ~TExportacaoEmCurso();
    TExportacaoEmCurso(const TExportacaoEmCurso&) = delete;
    TExportacaoEmCurso& operator=(const TExportacaoEmCurso&) = delete;

private:
    QFrame* FPainel;
    QPushButton* FGerar;
    QPointer<QWidget> FFoco;
};
