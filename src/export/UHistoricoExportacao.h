#pragma once

#include "platform/UDataHora.h"

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
    // Fails with the file's path and the system's reason.
    static void Registrar(const TRegistroExportacao& registro);
    // A missing or empty record gives no rows; one that cannot be read fails.
    static TLeituraHistorico Ler();
    // The earlier exports of the company whose period shares a day with [de, ate], the last appended first.
    static TLeituraHistorico ExportacoesSobrepostas(int empresa, const TDataHora& de, const TDataHora& ate);
    static TConferencia Conferir(const std::filesystem::path& arquivo);
    // Never fails.
    static TAvisoHistorico ExportacoesAnteriores(int empresa, const TDataHora& de, const TDataHora& ate);

    // "Exportação de 05/03/2024 14:22:00 por joao: empresa 3, período de 01/02/2024 a 29/02/2024 pela data de
    // lançamento, arquivo "/saida/a.txt", 1.234 lançamentos, total R$ 45.678,90."
    static std::string Descrever(const TRegistroExportacao& registro);
};
