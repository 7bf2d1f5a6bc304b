#include "app/UInicializacao.h"

#include "app/UFConexao.h"
#include "app/UFMain.h"
#include "dao/UDao.h"
#include "export/UDados.h"
#include "platform/UArquivos.h"
#include "platform/UCp1252.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UFalhas.h"

#include <QApplication>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Every folder searched for the connection file, in order: the program's own comes first, as a file there
// makes the copy portable.
std::vector<std::filesystem::path> PastasProcuradas() {
    auto pastas = PastasConexao();
    if (std::none_of(pastas.begin(), pastas.end(),
                     [](const auto& pasta) { return MesmoCaminho(pasta, PastaPrograma()); }))
        pastas.insert(pastas.begin(), PastaPrograma());
    return pastas;
}

std::string ListaPastas(const std::vector<std::filesystem::path>& pastas) {
    std::string texto;
    for (std::size_t i = 0; i < pastas.size(); ++i)
        texto += (i == 0 ? "" : i + 1 == pastas.size() ? " e " : ", ") + CaminhoMensagem(pastas[i]);
    return texto;
}

std::string TextoFalha(const std::string& erro) {
    // The client's text goes on exactly as it came: no full stop is added to it.
    std::string texto =
        TextoAnsi("Erro ao conectar com o banco de dados.") + "\r\n" + TextoAnsi("Descrição do Erro: ") + erro;
    if (!ArquivoExiste(TDao::CaminhoArquivoIni("")))
        texto +=
            "\r\n" + TextoAnsi("Nenhum sistema_qor.ini foi encontrado em: ") + ListaPastas(PastasProcuradas()) + ".";
    return texto;
}

bool AbrirConexao(std::string& falha) {
    try {
        TDadosExportacao::AbrirConexao();
        return true;
    } catch (const std::exception& erro) {
        falha = erro.what();
        return false;
    }
}

// True once the user has saved new settings.
bool ConfigurarConexao() {
    bool salvou = false;
    ExecutarTratando(nullptr, [&salvou] {
        TFConexao janela(nullptr);
        salvou = janela.exec() == QDialog::Accepted;
    });
    return salvou;
}

// Opens the shared connection. While it fails the user is told why and may set the connection up: new
// settings are tried at once, and leaving the window without saving shows the failure again. False when the
// user gives up.
bool Conectar() {
    std::string falha;
    while (!AbrirConexao(falha)) {
        do {
            if (!AvisarOferecendoConexao(nullptr, TextoFalha(falha), "Falha"))
                return false;
        } while (!ConfigurarConexao());
    }
    return true;
}

} // namespace

int Iniciar(QApplication& aplicacao) {
    if (!Conectar())
        return 0;
    TFMain janela;
    janela.show();
    aplicacao.exec();
    return 0;
}
