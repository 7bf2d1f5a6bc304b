#include "app/UExportacaoEmCurso.h"

#include <QFrame>
#include <QProgressBar>
#include <QPushButton>

TExportacaoEmCurso::TExportacaoEmCurso(QFrame* painel, QProgressBar* medidor, QPushButton* gerar)
    : FPainel(painel), FGerar(gerar), FFoco(gerar->window()->focusWidget()) {
    FPainel->show();
    if (FFoco == FGerar)
        medidor->setFocus();
    FGerar->setEnabled(false);
}

TExportacaoEmCurso::~TExportacaoEmCurso() {
    FGerar->setEnabled(true);
    if (FFoco)
        FFoco->setFocus();
    FPainel->hide();
}
