#include "TestDb.h"

#include "UDao.h"
#include "UErro.h"
#include "UQuery.h"

#include <mysql.h>

namespace {

class TesteQuery : public TTesteBanco {
protected:
    void SetUp() override {
        TTesteBanco::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Executar(Conexao(), "INSERT INTO clientes (clientes_id, nome, chapa, empresa_id) VALUES "
                            "(1, 'JOS\xC9 DA SILVA', '0042', 7), (2, 'jos\xE9 souza', NULL, 7), "
                            "(3, 'MARIA', '17', NULL), (4, NULL, '1a', 8)");
        Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort) VALUES "
                            "('10', '2024-03-05 14:07:09', NULL, 1234.50, 0), "
                            "('11', '2024-02-29 00:00:00', '2024-04-01 00:00:00', 0.10, 12.5), "
                            "('12', NULL, NULL, NULL, NULL)");
    }

    std::vector<std::string> Nomes(TQuery& query) {
        std::vector<std::string> nomes;
        for (query.Primeiro(); !query.FimDosDados(); query.Proximo())
            nomes.push_back(query.Campo("nome").Nulo() ? "<null>" : query.Campo("nome").Texto());
        return nomes;
    }
};

TEST_F(TesteQuery, Abrir_FetchesEveryRowAndStandsOnFirst) {
    TQuery query(Conexao(), "select clientes_id, nome from clientes order by clientes_id");
    EXPECT_FALSE(query.Aberta());
    query.Abrir();
    EXPECT_TRUE(query.Aberta());
    EXPECT_EQ(query.QuantidadeRegistros(), 4u);
    EXPECT_FALSE(query.Vazia());
    EXPECT_FALSE(query.FimDosDados());
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 1);
    EXPECT_EQ(Nomes(query), (std::vector<std::string>{"JOS\xC9 DA SILVA", "jos\xE9 souza", "MARIA", "<null>"}));
    EXPECT_TRUE(query.FimDosDados());
    query.Proximo();
    EXPECT_TRUE(query.FimDosDados());
    query.Primeiro();
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 1);
}

TEST_F(TesteQuery, Abrir_NoRows_IsEmptyAndAtEnd) {
    TQuery query(Conexao(), "select nome from clientes where clientes_id = 99");
    query.Abrir();
    EXPECT_EQ(query.QuantidadeRegistros(), 0u);
    EXPECT_TRUE(query.Vazia());
    EXPECT_TRUE(query.FimDosDados());
    EXPECT_EQ(query.QuantidadeCampos(), 1);
    try {
        (void)query.Campo("nome").Texto();
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_STREQ(erro.what(), "No current record");
    }
}

TEST_F(TesteQuery, FecharAndAbrirAgain_ReadsRowsAfresh) {
    TQuery query(Conexao(), "select nome from clientes where clientes_id = 3");
    query.Abrir();
    query.Fechar();
    EXPECT_FALSE(query.Aberta());
    EXPECT_EQ(query.QuantidadeRegistros(), 0u);
    Executar(Conexao(), "UPDATE clientes SET nome = 'MARIANA' WHERE clientes_id = 3");
    query.Abrir();
    EXPECT_EQ(query.Campo("nome").Texto(), "MARIANA");
    query.SetSQL("select count(*) as n from clientes");
    query.Abrir();
    EXPECT_EQ(query.Campo("N").Inteiro(), 4);
}

TEST_F(TesteQuery, Abrir_Failure_CarriesServersText) {
    const std::string sql = "select nada from clientes";
    ASSERT_NE(mysql_query(Conexao().Handle(), sql.c_str()), 0);
    const std::string esperado = mysql_error(Conexao().Handle());
    EXPECT_EQ(esperado.rfind("Unknown column 'nada'", 0), 0u) << esperado;
    TQuery query(Conexao(), sql);
    try {
        query.Abrir();
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(erro.what(), esperado);
    }
    EXPECT_FALSE(query.Aberta());
    query.SetSQL("DO 1");
    EXPECT_THROW(query.Abrir(), EFalha);
    query.SetSQL("select 1");
    query.Abrir();
    EXPECT_EQ(query.Campo(0).Inteiro(), 1);
}

TEST_F(TesteQuery, Campo_ByNameWithoutRegardToCase) {
    TQuery query(Conexao(), "select clientes_id, nome as NomeCliente from clientes where clientes_id = 1");
    query.Abrir();
    EXPECT_EQ(query.IndiceCampo("NOMECLIENTE"), 1);
    EXPECT_EQ(query.NomeCampo(1), "NomeCliente");
    EXPECT_EQ(query.Campo("nomecliente").Texto(), "JOS\xC9 DA SILVA");
    try {
        (void)query.Campo("chapa");
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_STREQ(erro.what(), "Field 'chapa' not found");
    }
}

TEST_F(TesteQuery, Campo_TextAndIntegerWithNull) {
    TQuery query(Conexao(), "select clientes_id, chapa, empresa_id from clientes order by clientes_id");
    query.Abrir();
    EXPECT_FALSE(query.Campo("chapa").Nulo());
    EXPECT_EQ(query.Campo("chapa").Texto(), "0042");
    EXPECT_EQ(query.Campo("chapa").Inteiro(), 42);
    EXPECT_EQ(query.Campo("empresa_id").Inteiro(), 7);
    query.Proximo();
    EXPECT_TRUE(query.Campo("chapa").Nulo());
    EXPECT_EQ(query.Campo("chapa").Texto(), "");
    EXPECT_EQ(query.Campo("chapa").Inteiro(), 0);
    query.Proximo();
    EXPECT_TRUE(query.Campo("empresa_id").Nulo());
    EXPECT_EQ(query.Campo("empresa_id").Inteiro(), 0);
    query.Proximo();
    try {
        (void)query.Campo("chapa").Inteiro();
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_STREQ(erro.what(), "'1a' is not a valid integer value");
    }
}

TEST_F(TesteQuery, Campo_TextWithZeroByteAndEmptyText_KeepsItsLength) {
    TQuery query(Conexao(), "select concat('a', char(0), 'b') as t, '' as vazio union all select 'xyz', NULL");
    query.Abrir();
    query.Proximo();
    query.Primeiro();
    EXPECT_EQ(query.Campo("t").Texto(), std::string("a\0b", 3));
    EXPECT_FALSE(query.Campo("vazio").Nulo());
    EXPECT_EQ(query.Campo("vazio").Texto(), "");
    query.Proximo();
    EXPECT_EQ(query.Campo("t").Texto(), "xyz");
    EXPECT_TRUE(query.Campo("vazio").Nulo());
}

TEST_F(TesteQuery, Campo_DateTimeWithNullAsZeroDate) {
    TQuery query(Conexao(), "select datahora, vencimento from receber order by receber_id");
    query.Abrir();
    EXPECT_EQ(query.Campo("datahora").DataHora(), (TDataHora{2024, 3, 5, 14, 7, 9}));
    EXPECT_TRUE(query.Campo("vencimento").Nulo());
    EXPECT_EQ(query.Campo("vencimento").DataHora(), TDataHora::Data(1899, 12, 30));
    query.Proximo();
    EXPECT_EQ(query.Campo("datahora").DataHora(), TDataHora::Data(2024, 2, 29));
    EXPECT_EQ(query.Campo("vencimento").DataHora(), TDataHora::Data(2024, 4, 1));
    query.Proximo();
    EXPECT_EQ(query.Campo("datahora").DataHora(), TDataHora::Zero());
}

TEST_F(TesteQuery, Campo_AmountExactFromDecimalText) {
    TQuery query(Conexao(), "select valortotal, amort from receber order by receber_id");
    query.Abrir();
    EXPECT_EQ(query.Campo("valortotal").Valor(), TValorFixo::DeDezMilesimos(12345000));
    query.Proximo();
    EXPECT_EQ(query.Campo("valortotal").Valor(), TValorFixo::DeDezMilesimos(1000));
    EXPECT_EQ(query.Campo("amort").Valor(), TValorFixo::DeDezMilesimos(125000));
    query.Proximo();
    EXPECT_TRUE(query.Campo("valortotal").Nulo());
    EXPECT_EQ(query.Campo("valortotal").Valor(), TValorFixo());

    // Ten thousand times 0.10 is 1000.00 exactly; a binary floating point sum would not be.
    Executar(Conexao(), "INSERT INTO receber (numlanc, valortotal) SELECT '20', 0.10 FROM "
                        "(SELECT 1 FROM information_schema.columns LIMIT 100) a, "
                        "(SELECT 1 FROM information_schema.columns LIMIT 100) b");
    TQuery soma(Conexao(), "select sum(valortotal) as total, count(*) as n from receber where numlanc = '20'");
    soma.Abrir();
    ASSERT_EQ(soma.Campo("n").Inteiro(), 10000);
    EXPECT_EQ(soma.Campo("total").Texto(), "1000.00");
    EXPECT_EQ(soma.Campo("total").Valor(), TValorFixo::DeDezMilesimos(10000000));
}

TEST_F(TesteQuery, Campo_AmountWithFifthDecimal_RoundsHalfAwayFromZero) {
    TQuery query(Conexao(), "select cast('0.00005' as decimal(12,5)) as a, cast('0.00004' as decimal(12,5)) as b, "
                            "cast('-1.23455' as decimal(12,5)) as c, cast('12345678901.99995' as decimal(20,5)) as d, "
                            "cast('7' as decimal(5,0)) as e");
    query.Abrir();
    EXPECT_EQ(query.Campo("a").Valor().DezMilesimos(), 1);
    EXPECT_EQ(query.Campo("b").Valor().DezMilesimos(), 0);
    EXPECT_EQ(query.Campo("c").Valor().DezMilesimos(), -12346);
    EXPECT_EQ(query.Campo("d").Valor().DezMilesimos(), 123456789020000);
    EXPECT_EQ(query.Campo("e").Valor().DezMilesimos(), 70000);
}

TEST_F(TesteQuery, Linha_RememberAndRestore) {
    TQuery query(Conexao(), "select nome from clientes order by clientes_id");
    query.Abrir();
    query.Proximo();
    query.Proximo();
    const auto marcada = query.Linha();
    EXPECT_EQ(query.Campo("nome").Texto(), "MARIA");
    query.Primeiro();
    EXPECT_EQ(query.Campo("nome").Texto(), "JOS\xC9 DA SILVA");
    query.IrPara(marcada);
    EXPECT_EQ(query.Campo("nome").Texto(), "MARIA");
    query.IrPara(99);
    EXPECT_TRUE(query.FimDosDados());
}

TEST_F(TesteQuery, Localizar_ExactOrCaseInsensitivePrefix) {
    TQuery query(Conexao(), "select clientes_id, nome from clientes order by clientes_id");
    query.Abrir();
    query.IrPara(2);
    EXPECT_FALSE(query.Localizar("nome", "jos\xE9 da silva", false));
    EXPECT_EQ(query.Linha(), 2u);
    EXPECT_FALSE(query.Localizar("nome", "JOS\xC9", false));
    EXPECT_EQ(query.Linha(), 2u);
    EXPECT_TRUE(query.Localizar("nome", "jos\xE9 souza", false));
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 2);
    EXPECT_TRUE(query.Localizar("NOME", "jos\xE9 da", true));
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 1);
    EXPECT_TRUE(query.Localizar("nome", "JOS\xC9 S", true));
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 2);
    EXPECT_TRUE(query.Localizar("nome", "mar", true));
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 3);
    EXPECT_FALSE(query.Localizar("nome", "maria x", true));
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 3);
    EXPECT_TRUE(query.Localizar("clientes_id", "4", false));
    EXPECT_TRUE(query.Campo("nome").Nulo());
    EXPECT_THROW(query.Localizar("falta", "x", false), EFalha);
}

TEST_F(TesteQuery, Editar_ChangesFetchedRowInMemoryOnly) {
    TQuery query(Conexao(), "select clientes_id, nome, chapa from clientes order by clientes_id");
    query.Abrir();
    query.Proximo();
    query.Editar("chapa", std::string("999"));
    query.Editar("NOME", std::nullopt);
    EXPECT_EQ(query.Campo("chapa").Texto(), "999");
    EXPECT_TRUE(query.Campo("nome").Nulo());
    query.Primeiro();
    EXPECT_EQ(query.Campo("chapa").Texto(), "0042");
    EXPECT_EQ(query.Campo("nome").Texto(), "JOS\xC9 DA SILVA");
    query.Proximo();
    EXPECT_EQ(query.Campo("chapa").Inteiro(), 999);
    EXPECT_TRUE(query.Localizar("chapa", "999", false));
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 2);

    EXPECT_TRUE(
        VarVazio(TDao::ConsultarValor(Conexao(), "select chapa from clientes where clientes_id = 2", {}, true)));
    query.Abrir();
    query.Proximo();
    EXPECT_TRUE(query.Campo("chapa").Nulo());
    EXPECT_EQ(query.Campo("nome").Texto(), "jos\xE9 souza");

    query.IrPara(99);
    EXPECT_THROW(query.Editar("chapa", std::string("1")), EFalha);
}

class TObservador : public IObservadorQuery {
public:
    void CursorMudou() override { ++Cursor; }
    void DadosMudaram() override { ++Dados; }
    int Cursor = 0;
    int Dados = 0;
};

TEST_F(TesteQuery, DesabilitarControles_SilencesObserverUntilResumed) {
    TQuery query(Conexao(), "select nome from clientes order by clientes_id");
    TObservador observador;
    query.SetObservador(&observador);
    query.Abrir();
    EXPECT_EQ(observador.Dados, 1);
    query.Proximo();
    EXPECT_EQ(observador.Cursor, 1);

    query.DesabilitarControles();
    query.DesabilitarControles();
    for (query.Primeiro(); !query.FimDosDados(); query.Proximo())
        query.Editar("nome", std::string("X"));
    query.HabilitarControles();
    EXPECT_EQ(observador.Cursor, 1);
    EXPECT_EQ(observador.Dados, 1);
    query.HabilitarControles();
    EXPECT_EQ(observador.Cursor, 1);
    EXPECT_EQ(observador.Dados, 2);
    query.HabilitarControles();
    EXPECT_EQ(observador.Dados, 2);
    query.SetObservador(nullptr);
}

TEST_F(TesteQuery, Variante_IsColumnsOwnType) {
    TQuery query(Conexao(), "select r.receber_id, r.numlanc, r.datahora, r.valortotal, cast(2.5 as double) as d, "
                            "r.vencimento from receber r order by r.receber_id");
    query.Abrir();
    EXPECT_EQ(query.Campo("receber_id").Variante(), TVariante(std::int64_t{1}));
    EXPECT_EQ(query.Campo("numlanc").Variante(), TVariante(std::string("10")));
    EXPECT_EQ(query.Campo("datahora").Variante(), TVariante(TDataHora{2024, 3, 5, 14, 7, 9}));
    EXPECT_EQ(query.Campo("valortotal").Variante(), TVariante(TValorFixo::DoTexto("1234.5")));
    EXPECT_EQ(query.Campo("d").Variante(), TVariante(2.5));
    EXPECT_TRUE(VarVazio(query.Campo("vencimento").Variante()));
}

} // namespace
