#include "app/UCamposEmpresa.h"

#include "export/UValoresExportacao.h"
#include "qtbase/UEditNumero.h"

#include <QLineEdit>

TCamposEmpresa::TCamposEmpresa(TEditNumero* codTorvane, QLineEdit* nomeArquivo)
    : EditCodTorvane(codTorvane), EditNomeArquivo(nomeArquivo) {}

void TCamposEmpresa::EmpresaMudou(int empresa) {
    const TValores agora = Atuais();
    const bool trazidos = FTrazidos && *FTrazidos == agora;
    const auto valores = ValoresDaEmpresa(empresa);
    if (!valores) {
        // A company never exported keeps the fields as the user left them.
        if (trazidos)
            Mostrar(FAntes);
        FTrazidos.reset();
        return;
    }
    if (!trazidos)
        FAntes = agora;
    FTrazidos = TValores{valores->CodTorvane, QString::fromStdString(valores->NomeArquivo)};
    Mostrar(*FTrazidos);
}

TCamposEmpresa::TValores TCamposEmpresa::Atuais() const {
    return {EditCodTorvane->Valor(), EditNomeArquivo->text()};
}

void TCamposEmpresa::Mostrar(const TValores& valores) {
    EditCodTorvane->SetValor(valores.CodTorvane);
    EditNomeArquivo->setText(valores.NomeArquivo);
}
