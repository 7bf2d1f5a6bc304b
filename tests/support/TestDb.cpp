#include "support/TestDb.h"

#include "dao/UDao.h"
#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UErroSistema.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"

#include <mysql.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#ifndef TORVANE_ESQUEMA_SQL
#error "TORVANE_ESQUEMA_SQL must name the schema file"
#endif

std::optional<TServidorTeste> ServidorTeste() {
    const char* host = std::getenv("TORVANE_TEST_HOST");
    const char* porta = std::getenv("TORVANE_TEST_PORT");
    if (!host || !porta)
        return std::nullopt;
    TServidorTeste servidor;
    servidor.Host = host;
    servidor.Porta = std::atoi(porta);
    const char* usuario = std::getenv("TORVANE_TEST_USER");
    const char* senha = std::getenv("TORVANE_TEST_PASSWORD");
    servidor.Usuario = usuario ? usuario : "root";
    servidor.Senha = senha ? senha : "";
    return servidor;
}

void Executar(TConexao& conexao, const std::string& sql) {
    MYSQL* mysql = conexao.Handle();
    ASSERT_EQ(mysql_set_server_option(mysql, MYSQL_OPTION_MULTI_STATEMENTS_ON), 0) << mysql_error(mysql);
    ASSERT_EQ(mysql_real_query(mysql, sql.data(), sql.size()), 0) << mysql_error(mysql) << "\n" << sql;
    do {
        MYSQL_RES* resultado = mysql_store_result(mysql);
        if (resultado)
            mysql_free_result(resultado);
        ASSERT_EQ(mysql_errno(mysql), 0u) << mysql_error(mysql);
    } while (mysql_next_result(mysql) == 0);
    ASSERT_EQ(mysql_errno(mysql), 0u) << mysql_error(mysql);
}

TPastaTemporaria::TPastaTemporaria() {
    std::random_device aleatorio;
    FCaminho = std::filesystem::temp_directory_path() / ("torvane-teste-" + std::to_string(aleatorio()));
    std::filesystem::create_directories(FCaminho);
}

TPastaTemporaria::~TPastaTemporaria() {
    std::error_code erro;
    std::filesystem::permissions(FCaminho, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, erro);
    std::filesystem::remove_all(FCaminho, erro);
}

std::string TPastaTemporaria::Caminho() const {
    return IncluirSeparador(CaminhoUtf8(FCaminho));
}

void UsarPastaDoTeste(const TPastaTemporaria& pasta) {
    DefinirPastaPrograma(pasta.Sistema());
    DefinirPastasConfiguracao(pasta.Sistema(), pasta.Sistema() / "sem-configuracao-do-sistema");
}

void RestaurarPastas() {
    DefinirPastaPrograma({});
    DefinirPastasConfiguracao({}, {});
}

std::string LerBinario(const std::filesystem::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    std::ostringstream texto;
    texto << arquivo.rdbuf();
    return texto.str();
}

void GravarBinario(const std::filesystem::path& caminho, const std::string& conteudo) {
    std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
    arquivo << conteudo;
}

std::vector<std::string> NomesNaPasta(const std::filesystem::path& pasta) {
    std::vector<std::string> nomes;
    for (const auto& entrada : std::filesystem::directory_iterator(pasta))
        nomes.push_back(CaminhoUtf8(entrada.path().filename()));
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

std::string MotivoSistema(std::errc erro) {
#ifdef _WIN32
    // What Windows reports in each case: a folder missing or a file in its place within the path is a path not
    // found; writing over a folder or a read-only file is refused.
    const auto codigo = [&] {
        switch (erro) {
        case std::errc::no_such_file_or_directory:
            return 2; // ERROR_FILE_NOT_FOUND
        case std::errc::not_a_directory:
            return 3; // ERROR_PATH_NOT_FOUND
        default:
            return 5; // ERROR_ACCESS_DENIED
        }
    };
    return TextoErroSistema(codigo());
#else
    return Utf8ParaCp1252(std::generic_category().message(static_cast<int>(erro)));
#endif
}

std::string P(const std::string& descricao) {
    return descricao + std::string(60 - descricao.size(), ' ');
}

std::string ArquivoDePerfis(const std::vector<std::string>& linhas) {
    std::string arquivo = P("Todos os Grupos") + "\r\n";
    for (const auto& linha : linhas)
        arquivo += linha + "\r\n";
    return arquivo;
}

void TTesteBanco::SetUp() {
    TTestePasta::SetUp();
    TDadosExportacao::LimparCacheFilial();
    const auto servidor = ServidorTeste();
    if (!servidor) {
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true")
            FAIL() << "No test database: TORVANE_TEST_HOST and TORVANE_TEST_PORT are not set (run scripts/test)";
        GTEST_SKIP() << "No test database (run scripts/test)";
    }
    FServidor = *servidor;
    std::random_device aleatorio;
    FBanco = "torvane_t" + std::to_string(aleatorio() % 1000000000u);
    auto raiz = TDao::CriarConexao(FServidor.Host, "", FServidor.Usuario, FServidor.Senha, FServidor.Porta);
    Executar(*raiz, "CREATE DATABASE " + FBanco + " DEFAULT CHARSET latin1");
    FConexao = TDao::CriarConexao(FServidor.Host, FBanco, FServidor.Usuario, FServidor.Senha, FServidor.Porta);
    std::ifstream esquema(TORVANE_ESQUEMA_SQL);
    std::ostringstream texto;
    texto << esquema.rdbuf();
    ASSERT_FALSE(texto.str().empty()) << "schema file missing: " << TORVANE_ESQUEMA_SQL;
    Executar(*FConexao, texto.str());
    TDadosExportacao::DefinirConexao(
        TDao::CriarConexao(FServidor.Host, FBanco, FServidor.Usuario, FServidor.Senha, FServidor.Porta));
    if (!HasFatalFailure())
        Preparar();
}

void TTesteBanco::TearDown() {
    // What a test may have set to play a moment that is rare with a real server or a real record.
    TConexao::DefinirVigia(nullptr);
    TConexao::DefinirSilencio({});
    THistoricoExportacao::DefinirEsperaTrava({});
    TDadosExportacao::DefinirConexao(nullptr);
    TDadosExportacao::SetProgresso(nullptr);
    TDadosExportacao::SetInformacao(nullptr);
    TDadosExportacao::SetEventos(nullptr);
    if (FConexao && !FBanco.empty())
        Executar(*FConexao, "DROP DATABASE " + FBanco);
    FConexao.reset();
    TTestePasta::TearDown();
}

void TTesteBanco::GravarSistemaQorIni(const std::string& extra) {
    std::string texto = "[ip]\r\nlocal=" + FServidor.Host + "\r\ndatabase=" + FBanco +
                        "\r\nusuario=" + FServidor.Usuario + "\r\nPorta=" + std::to_string(FServidor.Porta) +
                        "\r\nsenha=" + Criptografia("E", FServidor.Senha, "KAV") + "\r\n" + extra;
    GravarBinario(FPasta.Sistema() / "sistema_qor.ini", texto);
}

void TTesteBanco::InserirCadastros() {
    Executar(Conexao(), "INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N'), (2, 'EMPRESA DOIS', 'N');"
                        "INSERT INTO filial VALUES (1, 'LOJA CENTRO', '12345678000190', 'N');"
                        "INSERT INTO produto VALUES (1, 'BEBIDA', 10), (2, 'DOCE', 20), (3, 'PAO', 30);"
                        "INSERT INTO clientes VALUES (1, 'CLIENTE EXEMPLO', '4521', 1, 'N'),"
                        " (2, 'OUTRA EMPRESA', '77', 2, 'N'), (3, 'SEGUNDO CLIENTE', '12', 1, 'N')");
}

void TTesteBanco::Inserir(const std::vector<TReceber>& linhas) {
    for (const auto& r : linhas)
        Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, "
                            "clientes_id, filial_id, produto_id) VALUES (" +
                                r.numlanc + ", " + r.datahora + ", " + r.vencimento + ", " + r.valortotal + ", " +
                                r.amort + ", " + r.apagado + ", " + std::to_string(r.clientes) + ", " +
                                std::to_string(r.filial) + ", " + std::to_string(r.produto) + ")");
}
