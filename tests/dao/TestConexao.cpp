#include "support/SocketLocal.h"
#include "support/TestDb.h"

#include "dao/UConexao.h"
#include "dao/UDao.h"
#include "dao/UQuery.h"
#include "platform/UIni.h"
#include "platform/URede.h"

#include <mysql.h>

#include <chrono>
#include <optional>

namespace {

// What the client library itself says when asked to connect with these details; nothing when it connects.
std::optional<std::string> ErroDoCliente(const std::string& host, const std::string& database,
                                         const std::string& usuario, const std::string& senha, int porta) {
    MYSQL* mysql = mysql_init(nullptr);
    mysql_options(mysql, MYSQL_SET_CHARSET_NAME, "latin1");
    std::optional<std::string> erro;
    if (!mysql_real_connect(mysql, host.empty() ? nullptr : host.c_str(), usuario.c_str(), senha.c_str(),
                            database.empty() ? nullptr : database.c_str(), static_cast<unsigned>(porta), nullptr, 0))
        erro = mysql_error(mysql);
    mysql_close(mysql);
    return erro;
}

class TesteConexao : public TTesteBanco {
protected:
    std::unique_ptr<TConexao> Conectar(const std::string& banco) {
        return TDao::CriarConexao(Servidor().Host, banco, Servidor().Usuario, Servidor().Senha, Servidor().Porta);
    }
    std::string Valor(TConexao& conexao, const std::string& sql) {
        return VarParaTexto(TDao::ConsultarValor(conexao, sql, std::string("<padrao>"), true));
    }
    TVariante Consultar(const std::string& sql, const TVariante& padrao = {}, bool gerarErro = true) {
        return TDao::ConsultarValor(Conexao(), sql, padrao, gerarErro);
    }
};

TEST_F(TesteConexao, CriarConexao_ConnectsOrFailsWithClientsOwnText) {
    auto conexao = Conectar(NomeBanco());
    EXPECT_EQ(Valor(*conexao, "select database()"), NomeBanco());
    EXPECT_EQ(conexao->Host(), Servidor().Host);
    EXPECT_EQ(conexao->Database(), NomeBanco());
    EXPECT_EQ(Valor(*Conectar(""), "select database()"), "<padrao>");
    struct TCaso {
        const char* Inicio; // how the client's text begins, as a check that the case is what it says
        std::string Database, Usuario, Senha;
        int Porta;
    };
    const auto& s = Servidor();
    const TCaso casos[] = {
        {"Can't connect to server on '127.0.0.1'", NomeBanco(), s.Usuario, s.Senha, 1},
        {"Access denied for user", NomeBanco(), s.Usuario, "errada", s.Porta},
        {"Access denied for user 'ninguem'", NomeBanco(), "ninguem", s.Senha, s.Porta},
        {"Unknown database 'torvane_nao_existe'", "torvane_nao_existe", s.Usuario, s.Senha, s.Porta}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Inicio);
        const auto esperado = ErroDoCliente(s.Host, caso.Database, caso.Usuario, caso.Senha, caso.Porta);
        ASSERT_TRUE(esperado.has_value()) << "the client connected";
        EXPECT_EQ(esperado->rfind(caso.Inicio, 0), 0u) << *esperado;
        EXPECT_EQ(
            TextoDaFalha([&] { TDao::CriarConexao(s.Host, caso.Database, caso.Usuario, caso.Senha, caso.Porta); }),
            *esperado);
    }
}

TEST(Conexao, CriarConexao_ServerThatAcceptsAndNeverAnswers_FailsWithClientsTimeOut) {
    // The system takes the connection in; nobody ever sends the server's greeting.
    const TSocketLocal mudo = TSocketLocal::Escutar();
    const auto inicio = std::chrono::steady_clock::now();
    const std::string falha = TextoDaFalha([&] { TDao::CriarConexao("127.0.0.1", "", "u", "s", mudo.Porta()); });
    EXPECT_EQ(falha.rfind("Lost connection to server at 'handshake: reading initial communication packet'", 0), 0u)
        << falha;
    // A generous bound: without a time limit the wait would never end.
    EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(3 * TConexao::SegundosConexao));
}

TEST_F(TesteConexao, Query_LongerThanTheSilenceTheServerIsAskedAbout_RunsToItsEnd) {
    // SLEEP gives 1 when it is cut short.
    TQuery query(Conexao(), "select sleep(" + std::to_string(TConexao::SegundosSilencio + 2) + ") as s, 7 as n");
    query.Abrir();
    EXPECT_EQ(query.Campo("s").Inteiro(), 0);
    EXPECT_EQ(query.Campo("n").Inteiro(), 7);
}

// The server finishes the query just as the watch asks about it: the watch finds it idle, and the answer, already on
// its way, is what the query gives.
TEST_F(TesteConexao, Query_EndingAsTheWatchLooks_IsReadAndNotGivenUp) {
    TConexao::DefinirSilencio(std::chrono::milliseconds(100));
    int perguntas = 0;
    TConexao::DefinirVigia([&perguntas](const TConexao& conexao, std::string&) {
        ++perguntas;
        // The answer has come by the time the server is heard to be idle.
        EsperarSocket(mysql_get_socket(conexao.Handle()), true, false, 5000);
        return TConexao::TSituacaoConsulta::Parada;
    });
    TQuery query(Conexao(), "select sleep(0.4) as s, 7 as n");
    query.Abrir();
    EXPECT_EQ(query.Campo("n").Inteiro(), 7);
    EXPECT_GE(perguntas, 1);
}

// An account that may hold one connection only: the watch's own is refused by the server, which has thereby
// answered, and the query runs to its end.
TEST_F(TesteConexao, Query_AccountLimitedToOneConnection_RunsPastTheSilenceToItsEnd) {
    for (const char* host : {"localhost", "127.0.0.1"})
        Executar(Conexao(),
                 std::string("CREATE USER 'torvane_um'@'") + host + "' IDENTIFIED BY 'um' WITH MAX_USER_CONNECTIONS 1");
    TConexao::DefinirSilencio(std::chrono::milliseconds(200));
    std::string falha;
    try {
        auto um = TDao::CriarConexao(Servidor().Host, "", "torvane_um", "um", Servidor().Porta);
        TQuery query(*um, "select sleep(1.5) as s, 7 as n");
        query.Abrir();
        EXPECT_EQ(query.Campo("s").Inteiro(), 0);
        EXPECT_EQ(query.Campo("n").Inteiro(), 7);
    } catch (const EFalha& erro) {
        falha = erro.what();
    }
    Executar(Conexao(), "DROP USER 'torvane_um'@'localhost'; DROP USER 'torvane_um'@'127.0.0.1'");
    EXPECT_EQ(falha, "");
}

TEST_F(TesteConexao, Conectar_SettingsFileWithHexPortAndMixedCaseNames_OpensConfiguredDatabase) {
    GravarSistemaQorIni();
    EXPECT_EQ(Valor(*TDao::Conectar("", "ip"), "select current_user()").rfind(Servidor().Usuario + "@", 0), 0u);
    char porta[16];
    std::snprintf(porta, sizeof porta, "0x%X", Servidor().Porta);
    GravarBinario(FPasta.Sistema() / "sistema_qor.ini",
                  "[IP]\r\nLOCAL=" + Servidor().Host + "\r\nDATABASE=" + NomeBanco() +
                      "\r\nUsuario=" + Servidor().Usuario + "\r\nporta=" + porta +
                      "\r\nSenha=" + Criptografia("E", Servidor().Senha, "KAV") + "\r\n");
    EXPECT_EQ(Valor(*TDao::Conectar("", "Ip"), "select database()"), NomeBanco());
}

TEST_F(TesteConexao, Conectar_WrongStoredPassword_FailsWithClientsOwnText) {
    GravarSistemaQorIni();
    TIniFile(FPasta.Caminho() + "sistema_qor.ini").GravarTexto("ip", "senha", "7C");
    // An unreadable stored password becomes the fallback password, which this user does not have.
    const auto esperado =
        ErroDoCliente(Servidor().Host, NomeBanco(), Servidor().Usuario, "581937wex", Servidor().Porta);
    ASSERT_TRUE(esperado.has_value());
    EXPECT_EQ(TextoDaFalha([] { TDao::Conectar("", "ip"); }), *esperado);
}

TEST_F(TesteConexao, Conectar_NoSettingsFile_GoesToLocalServerAsRoot) {
    // The password that the stored default "7C19E05B3A62D8F40B15" unscrambles to.
    const auto esperado = ErroDoCliente("", "", "root", "\xD5\x88,\x16\xE8,\xE6U8", 3306);
    try {
        auto conexao = TDao::Conectar("", "ip");
        EXPECT_FALSE(esperado.has_value()) << "the client failed with " << *esperado;
    } catch (const EFalha& erro) {
        ASSERT_TRUE(esperado.has_value()) << "the client connected";
        EXPECT_EQ(std::string(erro.what()), *esperado);
    }
}

TEST_F(TesteConexao, Latin1_NamesArriveAndGoOneByteACharacter) {
    // The literals are UTF-8; the server stores them in the latin1 column. With the client's own default
    // character set "JOSÉ" would arrive as five bytes and shift every later column of the export line.
    Executar(Conexao(), "INSERT INTO clientes (clientes_id, nome) VALUES (1, _utf8mb4 X'4A4F53C389'), "
                        "(2, _utf8mb4 X'E282AC'), (3, _utf8mb4 X'C3A7C3A3')");
    auto conexao = Conectar(NomeBanco());
    EXPECT_STREQ(mysql_character_set_name(conexao->Handle()), "latin1");
    TQuery query(*conexao, "select nome from clientes order by clientes_id");
    query.Abrir();
    ASSERT_EQ(query.QuantidadeRegistros(), 3u);
    for (const std::string esperado : {"JOS\xC9", "\x80", "\xE7\xE3"}) {
        EXPECT_EQ(query.Campo("nome").Texto(), esperado);
        query.Proximo();
    }
    Executar(*conexao, "INSERT INTO clientes (clientes_id, nome) VALUES (4, 'JOS\xC9 \x80')");
    EXPECT_EQ(Valor(Conexao(), "select hex(nome) from clientes where clientes_id = 4"), "4A4F53C92080");
}

TEST_F(TesteConexao, ConsultarValor_FirstColumnOfFirstRow_OrDefaultOnNoRowOrNull) {
    Executar(Conexao(),
             "INSERT INTO filial (filial_id, nome, cgc) VALUES (3, 'C', NULL), (1, 'A', NULL), (2, 'B', '')");
    const TVariante padrao = std::string("padrao");
    EXPECT_EQ(Consultar("select nome, filial_id from filial order by filial_id"), TVariante(std::string("A")));
    EXPECT_EQ(Consultar("select 7, 8 union all select 9, 10"), TVariante(std::int64_t{7}));
    EXPECT_EQ(Consultar("select nome from filial where filial_id = 4", padrao), padrao);
    EXPECT_EQ(Consultar("select cgc from filial where filial_id = 1", padrao), padrao);
    EXPECT_EQ(Consultar("select cgc from filial where filial_id = 2", padrao), TVariante(std::string()));
    EXPECT_EQ(Consultar("select NULL, 5", padrao, false), padrao);
    EXPECT_EQ(Consultar("select 5 from filial where 1 = 0", TVariante(std::int64_t{9})), TVariante(std::int64_t{9}));
}

TEST_F(TesteConexao, ConsultarValor_GivesValueInColumnsOwnType) {
    Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, valortotal) VALUES "
                        "('000123', '2024-03-05 14:07:09', 1234.50)");
    const auto casos = Casos<std::pair<std::string, TVariante>>(
        std::pair("select receber_id from receber", TVariante(std::int64_t{1})),
        std::pair("select numlanc from receber", TVariante(std::string("000123"))),
        std::pair("select valortotal from receber", TVariante(TValorFixo::DoTexto("1234.50"))),
        std::pair("select sum(valortotal) from receber", TVariante(TValorFixo::DoTexto("1234.50"))),
        std::pair("select datahora from receber", TVariante(TDataHora{2024, 3, 5, 14, 7, 9})),
        std::pair("select cast(1.5 as double)", TVariante(1.5)),
        std::pair("select cast(-9223372036854775808 as signed)", TVariante(INT64_MIN)),
        std::pair("select concat(1, ' - ', 'x')", TVariante(std::string("1 - x"))));
    for (const auto& [sql, esperado] : casos)
        EXPECT_EQ(Consultar(sql), esperado) << sql;
}

TEST_F(TesteConexao, ConsultarValor_Failure_RaisedWithServersTextOrSwallowed) {
    ASSERT_NE(mysql_query(Conexao().Handle(), "select x from nao_existe"), 0);
    const std::string esperado = mysql_error(Conexao().Handle());
    EXPECT_EQ(esperado, "Table '" + NomeBanco() + ".nao_existe' doesn't exist");
    EXPECT_EQ(TextoDaFalha([&] { Consultar("select x from nao_existe", std::string("padrao")); }), esperado);
    EXPECT_TRUE(VarVazio(Consultar("select x from nao_existe", std::string("padrao"), false)));
    EXPECT_TRUE(VarVazio(Consultar("not sql at all", std::string("padrao"), false)));
    // A value that cannot be read, after the query ran, is handled alike.
    EXPECT_THROW(Consultar("select cast(18446744073709551615 as unsigned)"), EFalha);
    EXPECT_TRUE(VarVazio(Consultar("select cast(18446744073709551615 as unsigned)", {}, false)));
    // The connection is still usable: nothing was left pending on it.
    EXPECT_EQ(Valor(Conexao(), "select 1"), "1");
}

} // namespace
