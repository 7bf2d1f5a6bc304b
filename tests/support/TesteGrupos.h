#pragma once

#include "support/TestDb.h"
#include "support/qt/JanelasTeste.h"

#include "dao/UQuery.h"
#include "platform/UCp1252.h"
#include "profiles/UFiltroGenerico2.h"

#include <QTableView>

#include <map>
#include <sstream>
#include <string>

// A database with product groups. In the selection dialog's order (by description): 3 Açougue, 40 Bebidas,
// 12 Frios, 15 Limpeza, 7 Padaria; group 99 is deleted and not listed.
class TTesteGrupos : public TTesteBanco {
protected:
    void Preparar() override {
        Executar(Conexao(), TextoAnsi("INSERT INTO grupo VALUES (40, 'Bebidas', 'N'), (12, 'Frios', 'N'), "
                                      "(15, 'Limpeza', 'N'), (7, 'Padaria', 'N'), (3, 'Açougue', 'N'), "
                                      "(99, 'Utensílios', 'S')"));
    }

    int ContarGrupos() {
        TQuery consulta(Conexao(), "select count(*) from grupo");
        consulta.Abrir();
        return consulta.Campo(0).Inteiro();
    }
};

// One letter a row of the selection dialog, in the grid's order: S marked, N not.
inline std::string Marcas(const TFFiltroGenerico2& dialogo) {
    const QAbstractItemModel* modelo = Controle<QTableView>(dialogo, "oGrid").model();
    std::string marcas;
    for (int linha = 0; linha < modelo->rowCount(); ++linha)
        marcas += modelo->index(linha, 0).data(TFFiltroGenerico2::PapelMarcado).toBool() ? 'S' : 'N';
    return marcas;
}

inline void IrPara(const TFFiltroGenerico2& dialogo, int linha) {
    auto& grade = Controle<QTableView>(dialogo, "oGrid");
    grade.setCurrentIndex(grade.model()->index(linha, 0));
}

// What the user does, step by step, separated by blanks: a key in the search box ("F5"), a key in another
// control ("oGrid:F5", "btnOK:Return"), a click ("clicar:btnCancelar"), a row made current ("linha:3"), or the
// close box ("fechar").
inline void Passos(TFFiltroGenerico2& dialogo, const std::string& passos) {
    static const std::map<std::string, Qt::Key> teclas = {{"F5", Qt::Key_F5},       {"F6", Qt::Key_F6},
                                                          {"F7", Qt::Key_F7},       {"Return", Qt::Key_Return},
                                                          {"Enter", Qt::Key_Enter}, {"Esc", Qt::Key_Escape}};
    std::istringstream leitor(passos);
    for (std::string passo; leitor >> passo;) {
        const auto separador = passo.find(':');
        const std::string alvo = passo.substr(0, separador);
        const std::string acao = separador == std::string::npos ? std::string() : passo.substr(separador + 1);
        if (passo == "fechar")
            dialogo.close();
        else if (acao.empty())
            Tecla(dialogo, "EditPesquisa", teclas.at(passo));
        else if (alvo == "linha")
            IrPara(dialogo, std::stoi(acao));
        else if (alvo == "clicar")
            Clicar(dialogo, acao.c_str());
        else
            Tecla(dialogo, alvo.c_str(), teclas.at(acao));
    }
}
