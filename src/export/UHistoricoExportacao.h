#pragma once

#include "platform/UDataHora.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One export that wrote a file, as HistoricoExportacao.csv keeps it. Texts are code page 1252.
struct TRegistroExportacao {
    TDataHora Momento;
    std::string Usuario;
    int Empresa = 0;
    std::string NomeEmpresa;
    int CodTorvane = 0;
    bool DataLancamento = true; // the period applies to the posting date; false: to the due date
    TDataHora DataInicial;
    TDataHora DataFinal;
    int Perfil = 0;
    std::string DescricaoPerfil;
    std::filesystem::path Arquivo;
    std::size_t Linhas = 0;
    std::int64_t TotalCentavos = 0;
    std::string Sha256;
    // The profile's product groups when the file was written ("" for every group); none in a row written before
    // they were kept, whose profile may have changed since.
    std::optional<std::string> Grupos;
    // A file of only the postings that no earlier file of the company under that number in Torvane held.
    bool SomenteNovos = false;
    // The name of the copy of the file as sent, in the folder of the copies; empty when none was kept.
    std::string Copia;

    friend bool operator==(const TRegistroExportacao&, const TRegistroExportacao&) = default;
};

// The rows read from the record, and how many could not be read and were left out.
struct TLeituraHistorico {
    std::vector<TRegistroExportacao> Registros;
    std::size_t Danificadas = 0;
    // The note on the rows left out; empty when there were none.
    std::string AvisoDanificadas() const;
};

enum class TSituacaoConferencia { Conferido, Alterado, Ausente, SemRegistro };

// Whether a file is still the one an export wrote, and what to tell the user about it.
struct TConferencia {
    TSituacaoConferencia Situacao = TSituacaoConferencia::SemRegistro;
    std::optional<TRegistroExportacao> Registro; // the row appended last for the file
    std::vector<std::string> Mensagens;          // one line each, for the user
};

// What to say before a company's period is exported again: each earlier export that shares a day with it,
// and a note on a record that is damaged or cannot be read; both empty when there is nothing to say.
struct TAvisoHistorico {
    std::string Exportacoes;
    std::string Aviso;
};

// The record of the exports, HistoricoExportacao.csv: a spreadsheet in Portuguese opens it as it stands (code
// page 1252, ";" between fields, a header row, CR LF). It lives in the folder that key Pasta of section
// [Historico] of the connection settings names, so that every clerk and scheduled run of an office that shares
// those settings shares one record (a local folder, a mapped drive, a network share), or else in the data
// folder. Rows are only ever added, each under the file's lock, so that programs exporting at the same moment,
// on one PC or on several, all keep their rows whole.
class THistoricoExportacao {
public:
    THistoricoExportacao() = delete;

    static std::filesystem::path Pasta();
    static std::filesystem::path Arquivo();
    // Rows that the record could not take while another program held it, one a line as the record has them, in the
    // user's data folder: the next export or history window that can write the record appends them, in order.
    static std::filesystem::path ArquivoPendente();
    // Appends the rows waiting, if any, and then the export's. When the record is held by another program past the
    // wait, the row waits with the others, and what to tell the user about it is given; empty when it was
    // appended. Fails with the file's path and the system's reason.
    static std::string Registrar(const TRegistroExportacao& registro);
    // Appends the rows waiting, if any, waiting up to `espera` for a record that another program holds. Fails as
    // Registrar does, with EArquivoOcupado while the record is held.
    static void AcrescentarPendentes(std::chrono::milliseconds espera = EsperaTrava());
    // How long an append waits for a record that another program holds: 10 s, or what tests set (zero: 10 s).
    static std::chrono::milliseconds EsperaTrava();
    static void DefinirEsperaTrava(std::chrono::milliseconds espera);
    // The rows of the record and then those waiting for it. A missing or empty record gives no rows; one that
    // cannot be read fails.
    static TLeituraHistorico Ler();
    // The earlier exports of the company whose period shares a day with [de, ate], the last appended first.
    static TLeituraHistorico ExportacoesSobrepostas(int empresa, const TDataHora& de, const TDataHora& ate);
    static TConferencia Conferir(const std::filesystem::path& arquivo);
    // Never fails.
    static TAvisoHistorico ExportacoesAnteriores(int empresa, const TDataHora& de, const TDataHora& ate);

    // When the record shows `codTorvane` sent for another company and never for this one, the question to ask
    // before the file goes, naming the company it was sent for last: a number in Torvane is one company's, and a
    // file under another's number pays the wrong company. Empty otherwise, and when the record cannot be read.
    static std::string CodigoDeOutraEmpresa(int empresa, int codTorvane);

    // "Exportação de 05/03/2024 14:22:00 por joao: empresa 3, período de 01/02/2024 a 29/02/2024 pela data de
    // lançamento, arquivo "/saida/a.txt", 1.234 lançamentos, total R$ 45.678,90."
    static std::string Descrever(const TRegistroExportacao& registro);

private:
    // The rows waiting, appended to the record at `arquivo`, whose folder exists.
    static void AcrescentarPendentesA(const std::filesystem::path& arquivo, std::chrono::milliseconds espera);
};
