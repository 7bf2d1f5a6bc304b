#include "export/UConclusaoExportacao.h"

#include "dao/UDao.h"
#include "export/UArquivoPerfis.h"
#include "export/UCopiasExportacao.h"
#include "export/UHistoricoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UTexto.h"
#include "platform/UUsuarioSistema.h"

namespace {

// What only the database and the profile file know about the export; a field that cannot be read stays empty,
// since the row itself matters more than either.
void Completar(TRegistroExportacao& registro) {
    try {
        if (TConexao* conexao = TDadosExportacao::GetConexao())
            registro.NomeEmpresa = VarParaTexto(TDao::ConsultarValor(
                *conexao, "select nome from empresa where empresa_id = " + std::to_string(registro.Empresa), "", true));
    } catch (const std::exception&) {
        registro.NomeEmpresa.clear();
    }
    try {
        const auto descricoes = TArquivoPerfis::Descricoes();
        if (registro.Perfil >= 0 && static_cast<std::size_t>(registro.Perfil) < descricoes.size())
            registro.DescricaoPerfil = Aparar(descricoes[static_cast<std::size_t>(registro.Perfil)]);
    } catch (const std::exception&) {
        registro.DescricaoPerfil.clear();
    }
}

// The copy of what was sent, before the row that names it; none when the office keeps none.
void GuardarCopia(TRegistroExportacao& registro, TResultadoExportacao& resultado,
                  std::optional<std::string_view> texto) {
    try {
        if (!TCopiasExportacao::Ligadas())
            return;
        registro.Copia = texto ? TCopiasExportacao::GuardarTexto(*texto, registro.Sha256)
                               : TCopiasExportacao::Guardar(resultado.Caminho, registro.Sha256);
    } catch (const std::exception& falha) {
        registro.Copia.clear();
        resultado.FalhaCopia =
            TextoAnsi("O arquivo foi gerado, mas a cópia do arquivo enviado não pôde ser guardada: ") + falha.what();
    }
}

// Appends the export to the record: the text of why it could not goes to FalhaRegistro, and the note on a row that
// waits for a record held by another program to AvisoRegistro. The file is in place either way: the export is done.
void Registrar(TRegistroExportacao& registro, TResultadoExportacao& resultado) {
    try {
        registro.Momento = Agora();
        registro.Usuario = NomeUsuarioSistema();
        registro.Arquivo = std::filesystem::absolute(resultado.Caminho);
        Completar(registro);
        resultado.AvisoRegistro = THistoricoExportacao::Registrar(registro);
    } catch (const std::exception& falha) {
        resultado.FalhaRegistro =
            TextoAnsi("O arquivo foi gerado, mas não foi registrado no histórico de exportações: ") + falha.what();
    }
}

} // namespace

std::string ConcluirExportacao(TResultadoExportacao& resultado, const TFiltroExportacao& filtro, std::string sha256,
                               const std::filesystem::path& NomeArquivo, std::optional<std::string_view> texto,
                               bool somenteNovos) {
    resultado.Gerado = true;
    TRegistroExportacao registro;
    registro.Empresa = filtro.Empresa;
    registro.CodTorvane = filtro.CodTorvane;
    registro.DataLancamento = filtro.DataLancamento;
    registro.DataInicial = filtro.DataInicial;
    registro.DataFinal = filtro.DataFinal;
    registro.Perfil = filtro.Perfil;
    registro.Grupos = filtro.Grupos.value_or("");
    registro.SomenteNovos = somenteNovos;
    registro.Linhas = resultado.Linhas;
    registro.TotalCentavos = resultado.TotalCentavos;
    registro.Sha256 = std::move(sha256);
    GuardarCopia(registro, resultado, texto);
    Registrar(registro, resultado);

    std::string mensagem = "Arquivo \"" + CaminhoMensagem(NomeArquivo) + TextoAnsi("\"  gerado com sucesso.");
    mensagem += '\n';
    mensagem += MilharesBrasileiros(static_cast<long long>(resultado.Linhas)) +
                (resultado.Linhas == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos")) + ", total R$ " +
                ReaisBrasileiros(resultado.TotalCentavos);
    for (const std::string& nota : {resultado.FalhaCopia, resultado.FalhaRegistro, resultado.AvisoRegistro})
        if (!nota.empty()) {
            mensagem += '\n';
            mensagem += nota;
        }
    return mensagem;
}
