#pragma once

#include "dao/UVariante.h"

#include <filesystem>
#include <memory>
#include <string>

class TConexao;

struct TParametrosConexao {
    std::string Host;
    std::string Database;
    std::string Usuario;
    std::string Senha;
    int Porta = 3306;
};

// Database access: the connection settings file, the connection and a one-value query. No state.
class TDao {
public:
    TDao() = delete;

    // The settings file of that name, found where the program keeps its settings; a name with a folder
    // part is taken as it is, and an empty one is sistema_qor.ini.
    static std::filesystem::path CaminhoArquivoIni(const std::filesystem::path& nomeArquivo);
    static TParametrosConexao LerParametrosConexao(const std::filesystem::path& nomeArquivo, const std::string& secao);
    static std::unique_ptr<TConexao> CriarConexao(const std::string& host, const std::string& database,
                                                  const std::string& usuario, const std::string& senha, int porta);
    static std::unique_ptr<TConexao> Conectar(const std::filesystem::path& nomeArquivo, const std::string& secao);
    // The first column of the first row in its own type; the default when there is no row or it is NULL.
    // A failure is raised with the client's text when `gerarErro` is set, otherwise the result is empty.
    static TVariante ConsultarValor(TConexao& conexao, const std::string& sql, const TVariante& padrao, bool gerarErro);
};

// What the user is told when the connection fails: the client's text goes on exactly as it came, with no full
// stop added.
std::string TextoFalhaConexao(const std::string& erro);

// Scrambles (mode "E") or unscrambles (mode "D") a stored password; any other mode gives "".
// A malformed text in mode "D" fails with EFalha.
std::string Criptografia(const std::string& modo, const std::string& texto, const std::string& chave);
// "" for a text of blanks only; otherwise Criptografia in mode "D" on the text as given.
std::string DescriptografarSenha(const std::string& texto, const std::string& chave);
// Why the connection settings cannot keep the password (code page 1252): its stored form would be longer than a
// value they give back whole. Empty when they can.
std::string ProblemaSenha(const std::string& senha);
// The value of `senha` in the connection settings for a password (code page 1252), as LerParametrosConexao reads
// it back: Criptografia in mode "E" with the settings' key, or "" for an empty password. Fails with EFalha for
// a password no stored form gives back (too long, or a character of code 0).
std::string SenhaArmazenada(const std::string& senha);
// The password of the value of `senha`; the fallback password when the value cannot be read.
std::string SenhaGuardada(const std::string& armazenada);
