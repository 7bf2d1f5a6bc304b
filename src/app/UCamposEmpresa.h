#pragma once

#include <QString>

#include <optional>

class QLineEdit;
class TEditNumero;

// The main window's number in Torvane and file name, as each company left them: a company typed or picked brings
// back its own; one never exported gets back what the fields held before another company's values came, as its
// number is typed through another's ("12" passes by 1).
class TCamposEmpresa {
public:
    TCamposEmpresa(TEditNumero* codTorvane, QLineEdit* nomeArquivo);

    void EmpresaMudou(int empresa);

private:
    struct TValores {
        int CodTorvane = 0;
        QString NomeArquivo;
        bool operator==(const TValores&) const = default;
    };
    TValores Atuais() const;
    void Mostrar(const TValores& valores);

    TEditNumero* EditCodTorvane;
    QLineEdit* EditNomeArquivo;
    // What a company's values replaced, and what they brought, while the fields still show them.
    TValores FAntes;
    std::optional<TValores> FTrazidos;
};
