#pragma once

#include "dao/UConexao.h"
#include "platform/UErro.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// Connection details of the test server, from the environment that scripts/test sets.
struct TServidorTeste {
    std::string Host;
    int Porta = 0;
    std::string Usuario;
    std::string Senha;
};
std::optional<TServidorTeste> ServidorTeste();

// Runs statements (several, separated by ";") that return nothing; fails the test on error.
void Executar(TConexao& conexao, const std::string& sql);

// A folder of its own for the test, removed afterwards; it also stands in as the program's folder.
class TPastaTemporaria {
public:
    TPastaTemporaria();
    ~TPastaTemporaria();
    TPastaTemporaria(const TPastaTemporaria&) = delete;
    TPastaTemporaria& operator=(const TPastaTemporaria&) = delete;
    // UTF-8, ending in a separator.
    std::string Caminho() const;
    std::filesystem::path Sistema() const { return FCaminho; }

private:
    std::filesystem::path FCaminho;
};

// Makes the folder both the program's own and the user's settings folder, so that the settings files are
// found and written there whether or not it holds sistema_qor.ini; RestaurarPastas goes back to the real
// folders.
void UsarPastaDoTeste(const TPastaTemporaria& pasta);
void RestaurarPastas();

std::string LerBinario(const std::filesystem::path& caminho);
void GravarBinario(const std::filesystem::path& caminho, const std::string& conteudo);
// The names in a folder, sorted.
std::vector<std::string> NomesNaPasta(const std::filesystem::path& pasta);
// The system's reason for an error, in the code page the program's messages use; on Windows, the text of the
// error Windows reports in that case.
std::string MotivoSistema(std::errc erro);
// The reason for a path whose folder is missing: Windows says the path is not found.
#ifdef _WIN32
inline constexpr std::errc MotivoPastaFalta = std::errc::not_a_directory;
#else
inline constexpr std::errc MotivoPastaFalta = std::errc::no_such_file_or_directory;
#endif

// A profile description as the profile file holds it: padded with blanks to 60 bytes.
std::string P(const std::string& descricao);
// A profile file: line 0 "Todos os Grupos", then these lines, each ending in CR LF.
std::string ArquivoDePerfis(const std::vector<std::string>& linhas);

// The cases of a table-driven test, each written as `T(...)`.
template <typename T, typename... A> std::vector<T> Casos(A&&... casos) {
    return {T(std::forward<A>(casos))...};
}

// The message of the failure that `acao` raises; a failure of the test when it raises none.
template <typename F> std::string TextoDaFalha(F&& acao) {
    try {
        acao();
    } catch (const EFalha& erro) {
        return erro.what();
    }
    ADD_FAILURE() << "no failure";
    return "<no failure>";
}

// A test whose program folder, and the user's settings folder, is a temporary folder of its own.
class TTestePasta : public ::testing::Test {
protected:
    void SetUp() override { UsarPastaDoTeste(FPasta); }
    void TearDown() override { RestaurarPastas(); }

    TPastaTemporaria FPasta;
};

// One row of table receber, each value an SQL literal; by default posting 1893 of customer 1 on 5 March 2024.
struct TReceber {
    std::string numlanc = "'1893'";
    std::string datahora = "'2024-03-05 14:22:00'";
    std::string vencimento = "'2024-04-05 00:00:00'";
    std::string valortotal = "10.00";
    std::string amort = "0";
    std::string apagado = "'N'";
    int clientes = 1;
    int filial = 1;
    int produto = 1;
};

// A test that uses a database of its own on the test server, with the system's tables made empty in it.
// The database is the shared connection of the export services while the test runs, and the program's
// folder is a temporary folder. Without a server the test is skipped, except under CI, where it fails.
class TTesteBanco : public TTestePasta {
protected:
    void SetUp() override;
    void TearDown() override;
    // What the fixture adds once the database is ready; not reached when the test is skipped or has failed.
    virtual void Preparar() {}

    TConexao& Conexao() { return *FConexao; }
    // Companies 1 and 2, branch 1, products 1 to 3 of groups 10, 20 and 30, and the customers 1 "CLIENTE
    // EXEMPLO" (badge 4521) and 3 "SEGUNDO CLIENTE" (badge 12) of company 1 and 2 "OUTRA EMPRESA" of company 2.
    void InserirCadastros();
    void Inserir(const std::vector<TReceber>& linhas);
    // The settings file that points the program at the test database.
    void GravarSistemaQorIni(const std::string& extra = {});
    const std::string& NomeBanco() const { return FBanco; }
    const TServidorTeste& Servidor() const { return FServidor; }

private:
    TServidorTeste FServidor;
    std::string FBanco;
    std::unique_ptr<TConexao> FConexao;
};
