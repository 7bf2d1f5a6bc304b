#include "support/TestDb.h"

#include "dao/UDao.h"
#include "dao/UQuery.h"
#include "export/UDados.h"
#include "platform/UIni.h"

#include <set>
#include <utility>

namespace {

const std::string FilialNaoLocalizada = "FILIAL N\xC3O LOCALIZADA";

TEST(TesteServicosTexto, CompletarEsquerda_AlignsRightOrCutsRight) {
    using C = std::tuple<std::string, int, char, std::string>;
    const auto casos = Casos<C>(C("4521", 10, '0', "0000004521"), C("12345678901", 10, '0', "1234567890"),
                                C("", 12, '0', "000000000000"), C("1234567890", 10, '0', "1234567890"),
                                C("ab", 5, ' ', "   ab"), C("JOS\xC9", 6, '*', "**JOS\xC9"), C("abc", 1, '0', "a"),
                                C("abc", 0, '0', ""), C("abc", -3, '0', ""), C("", 0, '0', ""));
    for (const auto& [texto, tamanho, caractere, esperado] : casos)
        EXPECT_EQ(TDadosExportacao::CompletarEsquerda(texto, tamanho, caractere), esperado) << texto << "/" << tamanho;
}

TEST(TesteServicosTexto, RepetirCaractere_CountCopiesOrNothing) {
    using C = std::tuple<char, int, std::string>;
    const auto casos = Casos<C>(C('0', 4, "0000"), C('\xC9', 2, "\xC9\xC9"), C('\0', 2, std::string(2, '\0')),
                                C('x', 1, "x"), C('x', 0, ""), C('x', -1, ""), C('x', -2147483647 - 1, ""));
    for (const auto& [caractere, quantidade, esperado] : casos)
        EXPECT_EQ(TDadosExportacao::RepetirCaractere(caractere, quantidade), esperado) << quantidade;
}

class TesteServicos : public TTesteBanco {
protected:
    void GravarFilialMatriz(const std::string& texto) {
        GravarBinario(FPasta.Sistema() / "sistema_qor.ini", "[ip]\r\nlocal=x\r\n" + texto);
    }
};

TEST_F(TesteServicos, AbrirConexao_ThroughSettingsFile_OpensSharedConnection) {
    TDadosExportacao::DefinirConexao(nullptr);
    GravarSistemaQorIni();
    TDadosExportacao::AbrirConexao();
    TConexao* conexao = TDadosExportacao::GetConexao();
    ASSERT_NE(conexao, nullptr);
    EXPECT_EQ(conexao->Host(), Servidor().Host);
    EXPECT_EQ(VarParaTexto(TDao::ConsultarValor(*conexao, "select database()", {}, true)), NomeBanco());
    EXPECT_EQ(TDadosExportacao::GetConexao(), conexao);
}

TEST_F(TesteServicos, AbrirConexao_Refused_PassesClientsTextAndLeavesNoConnection) {
    TDadosExportacao::DefinirConexao(nullptr);
    GravarSistemaQorIni();
    TIniFile(FPasta.Caminho() + "sistema_qor.ini").GravarTexto("ip", "Porta", "1");
    const std::string esperado = TextoDaFalha(
        [&] { TDao::CriarConexao(Servidor().Host, NomeBanco(), Servidor().Usuario, Servidor().Senha, 1); });
    EXPECT_EQ(TextoDaFalha([] { TDadosExportacao::AbrirConexao(); }), esperado);
    EXPECT_EQ(TDadosExportacao::GetConexao(), nullptr);
    EXPECT_THROW(TDadosExportacao::AbrirEmpresas(), EFalha);
    EXPECT_THROW(TDadosExportacao::DescricaoFilial(1), EFalha);
}

TEST_F(TesteServicos, DescricaoFilial_CaptionOrNotFound) {
    Executar(Conexao(), "INSERT INTO filial (filial_id, nome, cgc, apagado) VALUES "
                        "(1, 'LOJA CENTRO', '12345678000190', 'N'), (2, NULL, '11', 'N'), (3, 'SEM CGC', NULL, 'N'), "
                        "(4, 'FILIAL PA\xC7O', '', 'S')");
    using C = std::pair<int, std::string>;
    for (const auto& [filial, esperado] :
         Casos<C>(C(1, "1 - LOJA CENTRO (12345678000190)"), C(2, FilialNaoLocalizada), C(3, FilialNaoLocalizada),
                  C(4, "4 - FILIAL PA\xC7O ()"), C(99, FilialNaoLocalizada), C(-1, FilialNaoLocalizada)))
        EXPECT_EQ(TDadosExportacao::DescricaoFilial(filial), esperado) << filial;
}

TEST_F(TesteServicos, AbrirEmpresas_LeavesOutDeletedAndNull) {
    auto empresas = TDadosExportacao::AbrirEmpresas();
    EXPECT_TRUE(empresas->Aberta());
    EXPECT_TRUE(empresas->Vazia());
    Executar(Conexao(), "INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N'), (2, 'APAGADA', 'S'), "
                        "(3, 'SEM MARCA', NULL), (4, 'MARCA VAZIA', ''), (5, 'JOS\xC9 & CIA', 'N')");
    empresas = TDadosExportacao::AbrirEmpresas();
    EXPECT_EQ(empresas->Linha(), 0u);
    EXPECT_EQ(empresas->QuantidadeCampos(), 2);
    std::set<std::pair<int, std::string>> linhas;
    for (; !empresas->FimDosDados(); empresas->Proximo())
        linhas.emplace(empresas->Campo("empresa_id").Inteiro(), empresas->Campo("nome").Texto());
    EXPECT_EQ(linhas,
              (std::set<std::pair<int, std::string>>{{1, "EMPRESA UM"}, {4, "MARCA VAZIA"}, {5, "JOS\xC9 & CIA"}}));
}

TEST_F(TesteServicos, QueryFails_CarriesServersText) {
    Executar(Conexao(), "DROP TABLE filial; DROP TABLE empresa");
    EXPECT_EQ(TextoDaFalha([] { TDadosExportacao::DescricaoFilial(1); }),
              "Table '" + NomeBanco() + ".filial' doesn't exist");
    EXPECT_EQ(TextoDaFalha([] { TDadosExportacao::AbrirEmpresas(); }),
              "Table '" + NomeBanco() + ".empresa' doesn't exist");
}

TEST_F(TesteServicos, CodigoFilialMatriz_CachedOnlyOnceAValueOtherThanMinusOneWasRead) {
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    for (const char* texto : {"", "[FilialMatriz]\r\nCodFisica=abc\r\n", "[FilialMatriz]\r\nCodFisica=-1\r\n"}) {
        GravarFilialMatriz(texto);
        EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1) << texto;
    }
    GravarFilialMatriz("[filialmatriz]\r\ncodfisica=0x10\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 16);
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=9\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 16);
    std::filesystem::remove(FPasta.Sistema() / "sistema_qor.ini");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 16);
    TDadosExportacao::LimparCacheFilial();
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    // Zero is a value like any other.
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=0\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 0);
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=3\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 0);
}

class TProgressoGravado : public IProgresso {
public:
    void SetMaximo(int maximo) override { Chamadas.push_back("max " + std::to_string(maximo)); }
    void SetPosicao(int posicao) override { Chamadas.push_back("pos " + std::to_string(posicao)); }
    void Passo() override { Chamadas.push_back("passo"); }
    std::vector<std::string> Chamadas;
};

TEST_F(TesteServicos, SetProgresso_LatestGaugeIsTheOneTheExportDrives) {
    InserirCadastros();
    Inserir({{.numlanc = "'1'"}, {.numlanc = "'2'", .datahora = "'2024-03-06 10:00:00'", .valortotal = "5.00"}});
    const auto gerar = [&] {
        TDadosExportacao::GerarArquivo(FPasta.Caminho(), "saida.txt", true, TDataHora::Data(2024, 3, 1),
                                       TDataHora::Data(2024, 3, 31), 1, 1, 0);
    };
    TProgressoGravado primeiro;
    TProgressoGravado segundo;
    TDadosExportacao::SetProgresso(&primeiro);
    TDadosExportacao::SetProgresso(&segundo);
    gerar();
    EXPECT_TRUE(primeiro.Chamadas.empty());
    EXPECT_EQ(segundo.Chamadas, (std::vector<std::string>{"max 2", "pos 0", "passo", "passo"}));
    TDadosExportacao::SetProgresso(nullptr);
    gerar();
    EXPECT_EQ(segundo.Chamadas.size(), 4u);
}

} // namespace
