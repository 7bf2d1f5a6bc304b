#pragma once

#include "export/UArquivoPerfis.h"
#include "export/UInterfaces.h"
#include "export/USelecaoExportacao.h"
#include "export/UVerificacaoExportacao.h"
#include "platform/UDataHora.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TConexao;
class TQuery;

// What an export wrote; the desktop program ignores it, the headless command reports it.
struct TResultadoExportacao {
    bool Gerado = false;           // false: nothing was found and no file was touched
    std::filesystem::path Caminho; // the full path of the file written
    std::size_t Linhas = 0;
    std::int64_t TotalCentavos = 0;
    // Why the export could not be added to the record; empty when it was.
    std::string FalhaRegistro;
    // The record was held by another program: the row waits to be appended, and this says so. Empty otherwise.
    std::string AvisoRegistro;
    // Why no copy of the file as sent could be kept beside the record; empty when one was, or copies are off.
    std::string FalhaCopia;
};

// Export services shared by the whole program: the one connection of the process, the company list,
// the branch, the registered front-end interfaces, the profile file and the receivables export.
class TDadosExportacao {
public:
    TDadosExportacao() = delete;

    static void AbrirConexao();
    // None before AbrirConexao has succeeded.
    static TConexao* GetConexao();
    // Tests hand over a connection of their own (or none).
    static void DefinirConexao(std::unique_ptr<TConexao> conexao);

    static std::string RepetirCaractere(char caractere, int quantidade);
    static std::string CompletarEsquerda(const std::string& texto, int tamanho, char caractere);

    static std::unique_ptr<TQuery> AbrirEmpresas();
    static std::string DescricaoFilial(int filial);
    static int CodigoFilialMatriz();
    // Tests start again from an unread branch code.
    static void LimparCacheFilial();

    static void SetProgresso(IProgresso* progresso);
    static void SetInformacao(IInformacao* informacao);
    static void SetEventos(IEventos* eventos);
    static IProgresso* GetProgresso();
    static IInformacao* GetInformacao();
    static IEventos* GetEventos();

    // The profile file.
    static std::filesystem::path ArquivoPerfis();
    static int TamanhoDescricaoPerfil() { return TArquivoPerfis::TamanhoDescricao; }
    static std::string GruposDoPerfil(int perfil);

    // The posting number, read whole as a decimal integer; one that is none, or that does not fit the six
    // digits of its field, fails naming the posting.
    static std::int64_t NumeroLancamento(std::string_view numlanc);

    // NomeArquivo is a name: one that holds a folder, or is "." or "..", is refused. A posting that cannot go into
    // the file fails the export, naming every such posting, and no file is written.
    static TResultadoExportacao GerarArquivo(const std::filesystem::path& Diretorio,
                                             const std::filesystem::path& NomeArquivo, bool DataLancamento,
                                             const TDataHora& DataInicial, const TDataHora& DataFinal, int Empresa,
                                             int CodTorvane, int Perfil);
    // The export of the values a front end gathered and checked: the name typed is completed with ".txt" by the
    // file-name rule and made a file name here, once.
    static TResultadoExportacao GerarArquivo(const TPedidoExportacao& pedido);
    // The selection of an export read whole, writing and recording nothing, for a look before writing; none when
    // nothing was found (said, as the export says it). A number in Torvane or a profile that the export refuses
    // fails here too.
    static std::optional<TSelecaoExportacao> VisualizarArquivo(const TFiltroExportacao& filtro);
    // Writes exactly the lines of the selection, as seen, and records them; refuses a selection that holds unfit
    // postings, naming them, as the export does. `nota` goes at the end of the box that tells how it went.
    static TResultadoExportacao GerarArquivo(const TSelecaoExportacao& selecao, const std::filesystem::path& Diretorio,
                                             const std::filesystem::path& NomeArquivo, bool somenteNovos = false,
                                             const std::string& nota = {});
    // The same reading, saying nothing when nothing is found: the selection is then empty.
    static TSelecaoExportacao LerSelecao(TFiltroExportacao filtro);
    // The selection of the values a front end gathered and checked.
    static TFiltroExportacao Filtro(const TPedidoExportacao& pedido);
    // The receivables query of the selection, open, with the profile's groups of now unless the filter holds those
    // of an earlier export; the filter keeps the groups taken.
    static std::unique_ptr<TQuery> ConsultarSelecao(TFiltroExportacao& filtro);
    // The gauge, for a reading of the rows of a selection: its maximum, and a step (with the event pump) a row.
    static void IniciarProgresso(std::size_t maximo);
    static void Avancar();
    // The SQL text of the receivables query, given the profile's group list.
    static std::string SqlExportacao(bool DataLancamento, const TDataHora& DataInicial, const TDataHora& DataFinal,
                                     int Empresa, const std::string& grupos);
};
