#pragma once

#include "dao/UDao.h"

#include <filesystem>
#include <optional>
#include <string>

// What the connection window saves; texts are code page 1252.
struct TValoresConexao {
    std::string Host;
    std::string Database;
    std::string Usuario;
    int Porta = 3306;
    // None: the stored password stays as it is.
    std::optional<std::string> Senha;
    std::string CodFisica;
};

// sistema_qor.ini, the connection settings: the one place that knows its sections and keys. It reads the
// connection ([ip]), the branch ([FilialMatriz] CodFisica), the record's folder ([Historico] Pasta) and whether
// copies of the files sent are kept beside it ([Historico] Copias), and
// writes the connection and the branch, leaving every other section and key of the file as it was. The file is
// read afresh on every call.
class TArquivoConexao {
public:
    explicit TArquivoConexao(std::filesystem::path caminho);
    // The file that this copy of the program reads: the first of the folders searched that holds one.
    static TArquivoConexao EmUso();

    // "Nenhum sistema_qor.ini foi encontrado em: " and every folder searched, in order.
    static std::string TextoNaoEncontrado();

    const std::filesystem::path& Caminho() const { return FCaminho; }
    bool Existe() const;

    // A missing file or key gives the defaults; a stored password that cannot be read, the fallback password.
    TParametrosConexao Parametros(const std::string& secao = SecaoConexao) const;
    // The branch number; -1 when absent or not a whole number.
    int CodigoFilial() const;
    // The branch number as written, for a window to show.
    std::string TextoFilial() const;
    // The folder of the exports' record; a relative one is taken from this file's folder. Empty when not given.
    std::filesystem::path PastaHistorico() const;
    // Whether a copy of every file sent is kept beside the record: yes, unless [Historico] Copias is 0 or N.
    bool GuardarCopias() const;

    // Writes the values into `destino` in one replacement of the file. A `destino` that does not exist yet starts
    // as a copy of this file, so that nothing else this file held is lost, and the record's folder stays the one
    // this file names. Fails, leaving `destino` as it was, with the path and the system's reason, or for a password
    // that no stored form gives back.
    void Gravar(const std::filesystem::path& destino, const TValoresConexao& valores) const;

    static inline const std::string SecaoConexao = "ip";

private:
    // [Historico] Pasta as written.
    std::string TextoPastaHistorico() const;

    std::filesystem::path FCaminho;
};
