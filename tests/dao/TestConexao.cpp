#include "TestDb.h"

#include "UConexao.h"
#include "UDao.h"
#include "UErro.h"
#include "UPastaPrograma.h"
#include "UQuery.h"

#include <mysql.h>

#include <optional>

namespace {

const std::string SenhaDoPadrao = "\xD5\x88,\x16\xE8,\xE6U8";

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

std::string Hex(const std::string& bytes) {
    static constexpr char digitos[] = "0123456789ABCDEF";
    std::string texto;
    for (unsigned char c : bytes) {
        texto += digitos[c >> 4];
        texto += digitos[c & 15];
    }
    return texto;
}

class TesteConexao : public TTesteBanco {
protected:
    std::string Valor(TConexao& conexao, const std::string& sql) {
        return VarParaTexto(TDao::ConsultarValor(conexao, sql, std::string("<padrao>"), true));
    }
};

TEST_F(TesteConexao, CriarConexao_TestServer_ConnectsToDatabase) {
    auto conexao =
        TDao::CriarConexao(Servidor().Host, NomeBanco(), Servidor().Usuario, Servidor().Senha, Servidor().Porta);
    EXPECT_EQ(Valor(*conexao, "select database()"), NomeBanco());
    EXPECT_EQ(conexao->Host(), Servidor().Host);
    EXPECT_EQ(conexao->Database(), NomeBanco());
}

TEST_F(TesteConexao, CriarConexao_EmptyDatabase_SelectsNone) {
    auto conexao = TDao::CriarConexao(Servidor().Host, "", Servidor().Usuario, Servidor().Senha, Servidor().Porta);
    EXPECT_EQ(Valor(*conexao, "select database()"), "<padrao>");
}

struct TCasoRecusa {
    const char* Nome;
    const char* Inicio; // how the client's text begins, as a check that the case is what it says
};

void PrintTo(const TCasoRecusa& caso, std::ostream* saida) {
    *saida << caso.Nome;
}

class TesteConexaoRecusada : public TesteConexao, public ::testing::WithParamInterface<TCasoRecusa> {};

TEST_P(TesteConexaoRecusada, CriarConexao_Refused_FailsWithClientsOwnText) {
    std::string host = Servidor().Host, database = NomeBanco(), usuario = Servidor().Usuario, senha = Servidor().Senha;
    int porta = Servidor().Porta;
    const std::string caso = GetParam().Nome;
    if (caso == "porta fechada")
        porta = 1;
    else if (caso == "senha errada")
        senha = "errada";
    else if (caso == "banco desconhecido")
        database = "torvane_nao_existe";
    else if (caso == "usuario desconhecido")
        usuario = "ninguem";

    const auto esperado = ErroDoCliente(host, database, usuario, senha, porta);
    ASSERT_TRUE(esperado.has_value()) << "the client connected";
    EXPECT_EQ(esperado->rfind(GetParam().Inicio, 0), 0u) << *esperado;
    try {
        TDao::CriarConexao(host, database, usuario, senha, porta);
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), *esperado);
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteConexaoRecusada,
                         ::testing::Values(TCasoRecusa{"porta fechada", "Can't connect to server on '127.0.0.1'"},
                                           TCasoRecusa{"senha errada", "Access denied for user"},
                                           TCasoRecusa{"usuario desconhecido", "Access denied for user 'ninguem'"},
                                           TCasoRecusa{"banco desconhecido", "Unknown database 'torvane_nao_existe'"}),
                         [](const auto& info) {
                             std::string nome = info.param.Nome;
                             std::replace(nome.begin(), nome.end(), ' ', '_');
                             return nome;
                         });

TEST_F(TesteConexao, Conectar_SettingsFile_OpensConfiguredDatabase) {
    GravarSistemaQorIni();
    auto conexao = TDao::Conectar("", "ip");
    EXPECT_EQ(Valor(*conexao, "select database()"), NomeBanco());
    EXPECT_EQ(Valor(*conexao, "select current_user()").rfind(Servidor().Usuario + "@", 0), 0u);
}

TEST_F(TesteConexao, Conectar_HexPortAndMixedCaseNames_AreRead) {
    char porta[16];
    std::snprintf(porta, sizeof porta, "0x%X", Servidor().Porta);
    GravarBinario(FPasta->Sistema() / "sistema_qor.ini",
                  "[IP]\r\nLOCAL=" + Servidor().Host + "\r\nDATABASE=" + NomeBanco() +
                      "\r\nUsuario=" + Servidor().Usuario + "\r\nporta=" + porta +
                      "\r\nSenha=" + Criptografia("E", Servidor().Senha, "KAV") + "\r\n");
    auto conexao = TDao::Conectar("", "Ip");
    EXPECT_EQ(Valor(*conexao, "select database()"), NomeBanco());
}

TEST_F(TesteConexao, Conectar_WrongStoredPassword_FailsWithClientsOwnText) {
    GravarBinario(FPasta->Sistema() / "sistema_qor.ini",
                  "[ip]\r\nlocal=" + Servidor().Host + "\r\nusuario=" + Servidor().Usuario +
                      "\r\nPorta=" + std::to_string(Servidor().Porta) + "\r\nsenha=7C\r\n");
    // An unreadable stored password becomes the fallback password, which this user does not have.
    const auto esperado = ErroDoCliente(Servidor().Host, "", Servidor().Usuario, "581937wex", Servidor().Porta);
    ASSERT_TRUE(esperado.has_value());
    try {
        TDao::Conectar("", "ip");
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), *esperado);
    }
}

TEST_F(TesteConexao, Conectar_NoSettingsFile_GoesToLocalServerAsRoot) {
    const auto esperado = ErroDoCliente("", "", "root", SenhaDoPadrao, 3306);
    try {
        auto conexao = TDao::Conectar("", "ip");
        EXPECT_FALSE(esperado.has_value()) << "the client failed with " << *esperado;
    } catch (const EFalha& erro) {
        ASSERT_TRUE(esperado.has_value()) << "the client connected";
        EXPECT_EQ(std::string(erro.what()), *esperado);
    }
}

TEST_F(TesteConexao, Latin1_NamesArriveOneByteACharacter) {
    // The literals are UTF-8; the server stores them in the latin1 column.
    Executar(Conexao(), "INSERT INTO clientes (clientes_id, nome) VALUES (1, _utf8mb4 X'4A4F53C389'), "
                        "(2, _utf8mb4 X'E282AC'), (3, _utf8mb4 X'C3A7C3A3')");
    EXPECT_EQ(Valor(Conexao(), "select hex(nome) from clientes where clientes_id = 1"), "4A4F53C9");
    EXPECT_EQ(Valor(Conexao(), "select hex(nome) from clientes where clientes_id = 2"), "80");

    auto conexao =
        TDao::CriarConexao(Servidor().Host, NomeBanco(), Servidor().Usuario, Servidor().Senha, Servidor().Porta);
    EXPECT_STREQ(mysql_character_set_name(conexao->Handle()), "latin1");
    TQuery query(*conexao, "select nome from clientes order by clientes_id");
    query.Abrir();
    ASSERT_EQ(query.QuantidadeRegistros(), 3u);
    EXPECT_EQ(Hex(query.Campo("nome").Texto()), "4A4F53C9");
    query.Proximo();
    EXPECT_EQ(Hex(query.Campo("nome").Texto()), "80");
    query.Proximo();
    EXPECT_EQ(query.Campo("nome").Texto(), "\xE7\xE3");

    // Text sent by the program is code page 1252 too.
    Executar(*conexao, "INSERT INTO clientes (clientes_id, nome) VALUES (4, 'JOS\xC9 \x80')");
    EXPECT_EQ(Valor(Conexao(), "select hex(nome) from clientes where clientes_id = 4"), "4A4F53C92080");
}

TEST_F(TesteConexao, DefaultCharacterSet_WouldSplitAccentedName) {
    // Why the connection sets latin1: the client's own default sends two bytes for one letter.
    Executar(Conexao(), "INSERT INTO clientes (clientes_id, nome) VALUES (1, _utf8mb4 X'4A4F53C389')");
    MYSQL* mysql = mysql_init(nullptr);
    ASSERT_TRUE(mysql_real_connect(mysql, Servidor().Host.c_str(), Servidor().Usuario.c_str(), Servidor().Senha.c_str(),
                                   NomeBanco().c_str(), static_cast<unsigned>(Servidor().Porta), nullptr, 0))
        << mysql_error(mysql);
    ASSERT_EQ(mysql_query(mysql, "select nome from clientes"), 0);
    MYSQL_RES* resultado = mysql_store_result(mysql);
    MYSQL_ROW linha = mysql_fetch_row(resultado);
    const std::string nome(linha[0], mysql_fetch_lengths(resultado)[0]);
    mysql_free_result(resultado);
    mysql_close(mysql);
    EXPECT_NE(nome, "JOS\xC9");
}

TEST_F(TesteConexao, ConsultarValor_NoRowOrNull_GivesDefault) {
    Executar(Conexao(), "INSERT INTO filial (filial_id, nome, cgc) VALUES (1, 'LOJA', NULL)");
    const TVariante padrao = std::string("padrao");
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select nome from filial where filial_id = 2", padrao, true), padrao);
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select cgc from filial where filial_id = 1", padrao, true), padrao);
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select NULL, 5", padrao, false), padrao);
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select 5 from filial where 1 = 0", TVariante(std::int64_t{9}), true),
              TVariante(std::int64_t{9}));
}

TEST_F(TesteConexao, ConsultarValor_SeveralRowsAndColumns_GivesFirstColumnOfFirstRow) {
    Executar(Conexao(), "INSERT INTO filial (filial_id, nome) VALUES (3, 'C'), (1, 'A'), (2, 'B')");
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select nome, filial_id from filial order by filial_id", {}, true),
              TVariante(std::string("A")));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select 7, 8 union all select 9, 10", {}, true),
              TVariante(std::int64_t{7}));
}

TEST_F(TesteConexao, ConsultarValor_GivesValueInColumnsOwnType) {
    Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, valortotal) VALUES "
                        "('000123', '2024-03-05 14:07:09', 1234.50)");
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select receber_id from receber", {}, true), TVariante(std::int64_t{1}));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select numlanc from receber", {}, true),
              TVariante(std::string("000123")));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select valortotal from receber", {}, true),
              TVariante(TValorFixo::DoTexto("1234.50")));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select sum(valortotal) from receber", {}, true),
              TVariante(TValorFixo::DoTexto("1234.50")));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select datahora from receber", {}, true),
              TVariante(TDataHora{2024, 3, 5, 14, 7, 9}));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select cast(1.5 as double)", {}, true), TVariante(1.5));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select cast(-9223372036854775808 as signed)", {}, true),
              TVariante(INT64_MIN));
    EXPECT_EQ(TDao::ConsultarValor(Conexao(), "select concat(1, ' - ', 'x')", {}, true),
              TVariante(std::string("1 - x")));
}

TEST_F(TesteConexao, ConsultarValor_Failure_RaisedWithServersTextOrSwallowed) {
    ASSERT_NE(mysql_query(Conexao().Handle(), "select x from nao_existe"), 0);
    const std::string esperado = mysql_error(Conexao().Handle());
    EXPECT_EQ(esperado, "Table '" + NomeBanco() + ".nao_existe' doesn't exist");
    try {
        TDao::ConsultarValor(Conexao(), "select x from nao_existe", std::string("padrao"), true);
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), esperado);
    }
    EXPECT_TRUE(VarVazio(TDao::ConsultarValor(Conexao(), "select x from nao_existe", std::string("padrao"), false)));
    EXPECT_TRUE(VarVazio(TDao::ConsultarValor(Conexao(), "not sql at all", std::string("padrao"), false)));
    // A value that cannot be read, after the query ran, is handled alike.
    EXPECT_THROW(TDao::ConsultarValor(Conexao(), "select cast(18446744073709551615 as unsigned)", {}, true), EFalha);
    EXPECT_TRUE(VarVazio(TDao::ConsultarValor(Conexao(), "select cast(18446744073709551615 as unsigned)", {}, false)));
    // The connection is still usable: nothing was left pending on it.
    EXPECT_EQ(Valor(Conexao(), "select 1"), "1");
}

} // namespace
