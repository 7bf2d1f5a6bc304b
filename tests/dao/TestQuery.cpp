#include "support/TestDb.h"

#include "dao/UDao.h"
#include "dao/UQuery.h"

#include <mysql.h>

namespace {

class TesteQuery : public TTesteBanco {
protected:
    void Preparar() override {
        Executar(Conexao(), "INSERT INTO clientes (clientes_id, nome, chapa, empresa_id) VALUES "
                            "(1, 'JOS\xC9 DA SILVA', '0042', 7), (2, 'jos\xE9 souza', NULL, 7), "
                            "(3, 'MARIA', '17', NULL), (4, NULL, '1a', 8)");
        Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort) VALUES "
                            "('10', '2024-03-05 14:07:09', NULL, 1234.50, 0), "
                            "('11', '2024-02-29 00:00:00', '2024-04-01 00:00:00', 0.10, 12.5), "
                            "('12', NULL, NULL, NULL, NULL)");
    }

    // Opens the query on the test database, standing on its first row.
    std::unique_ptr<TQuery> Abrir(const std::string& sql) {
        auto query = std::make_unique<TQuery>(Conexao(), sql);
        query->Abrir();
        return query;
    }
};

TEST_F(TesteQuery, Abrir_FetchesEveryRowAndStandsOnFirst_OrIsEmptyAndAtEnd) {
    TQuery query(Conexao(), "select clientes_id, nome from clientes order by clientes_id");
    EXPECT_FALSE(query.Aberta());
    query.Abrir();
    EXPECT_TRUE(query.Aberta());
    EXPECT_EQ(query.QuantidadeRegistros(), 4u);
    EXPECT_FALSE(query.Vazia());
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 1);
    std::vector<std::string> nomes;
    for (; !query.FimDosDados(); query.Proximo())
        nomes.push_back(query.Campo("nome").Nulo() ? "<null>" : query.Campo("nome").Texto());
    EXPECT_EQ(nomes, (std::vector<std::string>{"JOS\xC9 DA SILVA", "jos\xE9 souza", "MARIA", "<null>"}));
    query.Proximo();
    EXPECT_TRUE(query.FimDosDados());
    query.Primeiro();
    EXPECT_EQ(query.Campo("clientes_id").Inteiro(), 1);

    query.SetSQL("select nome from clientes where clientes_id = 99");
    query.Abrir();
    EXPECT_TRUE(query.Vazia());
    EXPECT_TRUE(query.FimDosDados());
    EXPECT_EQ(query.QuantidadeCampos(), 1);
    EXPECT_EQ(TextoDaFalha([&] { (void)query.Campo("nome").Texto(); }), "No current record");
}

TEST_F(TesteQuery, Abrir_KeepsEveryValueWholeWhateverItsLength) {
    // Lengths from 0 to 599 bytes and NULLs in many rows, and one value larger than everything else together.
    auto query = Abrir("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                       "SELECT i, IF(i % 7 = 0, NULL, REPEAT(CHAR(65 + i % 26), i % 600)) AS texto, "
                       "IF(i = 500, REPEAT('z', 3000000), '') AS grande, i * 2 AS dobro FROM n ORDER BY i");
    ASSERT_EQ(query->QuantidadeRegistros(), 1000u);
    int erradas = 0;
    for (int i = 1; !query->FimDosDados(); ++i, query->Proximo()) {
        const auto texto = query->ValorBruto(1);
        const bool certa = query->Campo(0).Inteiro() == i &&
                           (i % 7 == 0 ? !texto : texto == std::string(i % 600, static_cast<char>('A' + i % 26))) &&
                           query->Campo("grande").Texto() == (i == 500 ? std::string(3000000, 'z') : "") &&
                           query->Campo("dobro").Inteiro() == 2 * i;
        erradas += certa ? 0 : 1;
        EXPECT_TRUE(certa) << "row " << i;
        if (erradas > 3)
            break;
    }
}

TEST_F(TesteQuery, Abrir_AgainOrAfterFailure_ReadsRowsAfresh) {
    const std::string sql = "select nada from clientes";
    ASSERT_NE(mysql_query(Conexao().Handle(), sql.c_str()), 0);
    const std::string esperado = mysql_error(Conexao().Handle());
    EXPECT_EQ(esperado.rfind("Unknown column 'nada'", 0), 0u) << esperado;
    TQuery query(Conexao(), sql);
    EXPECT_EQ(TextoDaFalha([&] { query.Abrir(); }), esperado);
    EXPECT_FALSE(query.Aberta());
    query.SetSQL("DO 1");
    EXPECT_THROW(query.Abrir(), EFalha);

    query.SetSQL("select nome from clientes where clientes_id = 3");
    query.Abrir();
    query.Fechar();
    EXPECT_FALSE(query.Aberta());
    EXPECT_EQ(query.QuantidadeRegistros(), 0u);
    Executar(Conexao(), "UPDATE clientes SET nome = 'MARIANA' WHERE clientes_id = 3");
    query.Abrir();
    EXPECT_EQ(query.Campo(0).Texto(), "MARIANA");
    query.SetSQL("select count(*) as n from clientes");
    query.Abrir();
    EXPECT_EQ(query.Campo("N").Inteiro(), 4);
}

TEST_F(TesteQuery, Campo_TextAndIntegerByNameWithNull) {
    auto query = Abrir("select clientes_id, chapa, empresa_id as Empresa from clientes order by clientes_id");
    EXPECT_EQ(query->IndiceCampo("EMPRESA"), 2);
    EXPECT_EQ(query->NomeCampo(2), "Empresa");
    EXPECT_EQ(TextoDaFalha([&] { (void)query->Campo("nome"); }), "Field 'nome' not found");
    EXPECT_FALSE(query->Campo("CHAPA").Nulo());
    EXPECT_EQ(query->Campo("chapa").Texto(), "0042");
    EXPECT_EQ(query->Campo("chapa").Inteiro(), 42);
    EXPECT_EQ(query->Campo("empresa").Inteiro(), 7);
    query->Proximo();
    EXPECT_TRUE(query->Campo("chapa").Nulo());
    EXPECT_EQ(query->Campo("chapa").Texto(), "");
    EXPECT_EQ(query->Campo("chapa").Inteiro(), 0);
    query->Proximo();
    EXPECT_TRUE(query->Campo("empresa").Nulo());
    EXPECT_EQ(query->Campo("empresa").Inteiro(), 0);
    query->Proximo();
    EXPECT_EQ(TextoDaFalha([&] { (void)query->Campo("chapa").Inteiro(); }), "'1a' is not a valid integer value");

    // The server's integers are plain decimal, as the variant of an integer column reads them: neither the
    // settings files' hexadecimal forms nor blanks, nor a value beyond 32 bits.
    for (const std::string texto : {"0x1F", "$1F", " 12", "2147483648"}) {
        query = Abrir("select '" + texto + "' as n");
        EXPECT_EQ(TextoDaFalha([&] { (void)query->Campo("n").Inteiro(); }),
                  "'" + texto + "' is not a valid integer value");
    }
    query = Abrir("select '-2147483648' as n, '+7' as m");
    EXPECT_EQ(query->Campo("n").Inteiro(), -2147483648LL);
    EXPECT_EQ(query->Campo("m").Inteiro(), 7);

    query = Abrir("select concat('a', char(0), 'b') as t, '' as vazio union all select 'xyz', NULL");
    EXPECT_EQ(query->Campo("t").Texto(), std::string("a\0b", 3));
    EXPECT_FALSE(query->Campo("vazio").Nulo());
    EXPECT_EQ(query->Campo("vazio").Texto(), "");
    query->Proximo();
    EXPECT_EQ(query->Campo("t").Texto(), "xyz");
    EXPECT_TRUE(query->Campo("vazio").Nulo());
}

TEST_F(TesteQuery, Campo_DateTimeAndAmountInTheirTypesWithNullAsZero) {
    auto query = Abrir("select datahora, vencimento, valortotal, amort, cast('-1.23455' as decimal(12,5)) as cinco, "
                       "cast('12345678901.99995' as decimal(20,5)) as grande, cast('7' as decimal(5,0)) as inteiro "
                       "from receber order by receber_id");
    EXPECT_EQ(query->Campo("datahora").DataHora(), (TDataHora{2024, 3, 5, 14, 7, 9}));
    EXPECT_TRUE(query->Campo("vencimento").Nulo());
    EXPECT_EQ(query->Campo("vencimento").DataHora(), TDataHora::Data(1899, 12, 30));
    EXPECT_EQ(query->Campo("valortotal").Valor(), TValorFixo::DeDezMilesimos(12345000));
    // A fifth decimal place rounds half away from zero.
    EXPECT_EQ(query->Campo("cinco").Valor().DezMilesimos(), -12346);
    EXPECT_EQ(query->Campo("grande").Valor().DezMilesimos(), 123456789020000);
    EXPECT_EQ(query->Campo("inteiro").Valor().DezMilesimos(), 70000);
    // NULL is the empty value; the other types are checked through TDao::ConsultarValor.
    EXPECT_TRUE(VarVazio(query->Campo("vencimento").Variante()));
    query->Proximo();
    EXPECT_EQ(query->Campo("datahora").DataHora(), TDataHora::Data(2024, 2, 29));
    EXPECT_EQ(query->Campo("vencimento").DataHora(), TDataHora::Data(2024, 4, 1));
    EXPECT_EQ(query->Campo("valortotal").Valor(), TValorFixo::DeDezMilesimos(1000));
    EXPECT_EQ(query->Campo("amort").Valor(), TValorFixo::DeDezMilesimos(125000));
    query->Proximo();
    EXPECT_EQ(query->Campo("datahora").DataHora(), TDataHora::Zero());
    EXPECT_TRUE(query->Campo("valortotal").Nulo());
    EXPECT_EQ(query->Campo("valortotal").Valor(), TValorFixo());
}

TEST_F(TesteQuery, LinhaAndLocalizar_RememberRestoreAndFindExactOrCaseInsensitivePrefix) {
    auto query = Abrir("select clientes_id, nome from clientes order by clientes_id");
    query->IrPara(2);
    const auto marcada = query->Linha();
    EXPECT_EQ(query->Campo("nome").Texto(), "MARIA");
    query->Primeiro();
    query->IrPara(marcada);
    EXPECT_EQ(query->Campo("nome").Texto(), "MARIA");
    // A miss leaves the cursor where it was.
    EXPECT_FALSE(query->Localizar("nome", "jos\xE9 da silva", false));
    EXPECT_FALSE(query->Localizar("nome", "JOS\xC9", false));
    EXPECT_EQ(query->Linha(), 2u);
    using C = std::tuple<const char*, bool, bool, int>; // value, as prefix, found, row the cursor stands on
    for (const auto& [valor, prefixo, achou, id] :
         Casos<C>(C("jos\xE9 souza", false, true, 2), C("jos\xE9 da", true, true, 1), C("JOS\xC9 S", true, true, 2),
                  C("mar", true, true, 3), C("maria x", true, false, 3))) {
        EXPECT_EQ(query->Localizar("nome", valor, prefixo), achou) << valor;
        EXPECT_EQ(query->Campo("clientes_id").Inteiro(), id) << valor;
    }
    EXPECT_TRUE(query->Localizar("clientes_id", "4", false));
    EXPECT_TRUE(query->Campo("nome").Nulo());
    EXPECT_THROW(query->Localizar("falta", "x", false), EFalha);
    query->IrPara(99);
    EXPECT_TRUE(query->FimDosDados());
}

TEST_F(TesteQuery, Editar_ChangesFetchedRowInMemoryOnly) {
    auto query = Abrir("select clientes_id, nome, chapa from clientes order by clientes_id");
    query->Proximo();
    query->Editar("chapa", std::string("999"));
    query->Editar("NOME", std::nullopt);
    EXPECT_EQ(query->Campo("chapa").Texto(), "999");
    EXPECT_TRUE(query->Campo("nome").Nulo());
    query->Primeiro();
    EXPECT_EQ(query->Campo("chapa").Texto(), "0042");
    EXPECT_EQ(query->Campo("nome").Texto(), "JOS\xC9 DA SILVA");
    EXPECT_TRUE(query->Localizar("chapa", "999", false));
    EXPECT_EQ(query->Campo("clientes_id").Inteiro(), 2);
    EXPECT_EQ(query->Campo("chapa").Inteiro(), 999);

    EXPECT_TRUE(
        VarVazio(TDao::ConsultarValor(Conexao(), "select chapa from clientes where clientes_id = 2", {}, true)));
    query->Abrir();
    query->Proximo();
    EXPECT_TRUE(query->Campo("chapa").Nulo());
    EXPECT_EQ(query->Campo("nome").Texto(), "jos\xE9 souza");
    query->IrPara(99);
    EXPECT_THROW(query->Editar("chapa", std::string("1")), EFalha);
}

class TObservador : public IObservadorQuery {
public:
    void CursorMudou() override { ++Cursor; }
    void DadosMudaram() override { ++Dados; }
    int Cursor = 0;
    int Dados = 0;
};

TEST_F(TesteQuery, DesabilitarControles_SilencesObserverUntilResumed) {
    TObservador observador;
    TQuery query(Conexao(), "select nome from clientes order by clientes_id");
    query.SetObservador(&observador);
    query.Abrir();
    query.Proximo();
    EXPECT_EQ(std::pair(observador.Cursor, observador.Dados), std::pair(1, 1));
    query.DesabilitarControles();
    query.DesabilitarControles();
    for (query.Primeiro(); !query.FimDosDados(); query.Proximo())
        query.Editar("nome", std::string("X"));
    query.HabilitarControles();
    EXPECT_EQ(std::pair(observador.Cursor, observador.Dados), std::pair(1, 1));
    query.HabilitarControles();
    EXPECT_EQ(std::pair(observador.Cursor, observador.Dados), std::pair(1, 2));
    query.HabilitarControles();
    EXPECT_EQ(observador.Dados, 2);
}

} // namespace
