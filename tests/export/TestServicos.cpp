#include "TestDb.h"

#include "UCp1252.h"
#include "UDados.h"
#include "UDao.h"
#include "UErro.h"
#include "UQuery.h"

#include <set>
#include <utility>

namespace {

const std::string FilialNaoLocalizada = "FILIAL N\xC3O LOCALIZADA";

// Each test runs in a process of its own, so nothing has opened the shared connection yet.
TEST(TesteServicosSemConexao, GetConexao_BeforeAbrirConexao_IsNone) {
    EXPECT_EQ(TDadosExportacao::GetConexao(), nullptr);
}

struct TCasoCompletar {
    std::string Texto;
    int Tamanho;
    char Caractere;
    std::string Esperado;
};

void PrintTo(const TCasoCompletar& caso, std::ostream* saida) {
    *saida << caso.Texto << " / " << caso.Tamanho << " / " << caso.Caractere;
}

class TesteCompletarEsquerda : public ::testing::TestWithParam<TCasoCompletar> {};

TEST_P(TesteCompletarEsquerda, CompletarEsquerda_AlignsRightOrCutsRight) {
    const auto& caso = GetParam();
    EXPECT_EQ(TDadosExportacao::CompletarEsquerda(caso.Texto, caso.Tamanho, caso.Caractere), caso.Esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteCompletarEsquerda,
                         ::testing::Values(TCasoCompletar{"4521", 10, '0', "0000004521"},
                                           TCasoCompletar{"12345678901", 10, '0', "1234567890"},
                                           TCasoCompletar{"", 12, '0', "000000000000"},
                                           TCasoCompletar{"1234567890", 10, '0', "1234567890"},
                                           TCasoCompletar{"ab", 5, ' ', "   ab"},
                                           TCasoCompletar{"JOS\xC9", 6, '*', "**JOS\xC9"},
                                           TCasoCompletar{"abc", 1, '0', "a"}, TCasoCompletar{"abc", 0, '0', ""},
                                           TCasoCompletar{"abc", -3, '0', ""}, TCasoCompletar{"", 0, '0', ""}));

TEST(TesteRepetirCaractere, RepetirCaractere_CountCopiesOrNothing) {
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('0', 4), "0000");
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('\xC9', 2), "\xC9\xC9");
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('\0', 2), std::string(2, '\0'));
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('x', 1), "x");
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('x', 0), "");
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('x', -1), "");
    EXPECT_EQ(TDadosExportacao::RepetirCaractere('x', -2147483647 - 1), "");
}

class TesteServicos : public TTesteBanco {
protected:
    void GravarFilialMatriz(const std::string& texto) {
        GravarBinario(FPasta->Sistema() / "sistema_qor.ini", "[ip]\r\nlocal=x\r\n" + texto);
    }
    // The client's text for a connection that TDao could not open.
    std::string ErroAoConectar(int porta) {
        try {
            TDao::CriarConexao(Servidor().Host, NomeBanco(), Servidor().Usuario, Servidor().Senha, porta);
        } catch (const EFalha& erro) {
            return erro.what();
        }
        ADD_FAILURE() << "connected on port " << porta;
        return {};
    }
};

TEST_F(TesteServicos, AbrirConexao_ThroughSettingsFile_OpensSharedConnection) {
    TDadosExportacao::DefinirConexao(nullptr);
    GravarSistemaQorIni();
    TDadosExportacao::AbrirConexao();
    TConexao* conexao = TDadosExportacao::GetConexao();
    ASSERT_NE(conexao, nullptr);
    EXPECT_EQ(conexao->Host(), Servidor().Host);
    EXPECT_EQ(conexao->Database(), NomeBanco());
    EXPECT_EQ(VarParaTexto(TDao::ConsultarValor(*conexao, "select database()", {}, true)), NomeBanco());
    EXPECT_EQ(TDadosExportacao::GetConexao(), conexao);
}

TEST_F(TesteServicos, AbrirConexao_Refused_PassesClientsTextAndLeavesNoConnection) {
    TDadosExportacao::DefinirConexao(nullptr);
    GravarBinario(FPasta->Sistema() / "sistema_qor.ini",
                  "[ip]\r\nlocal=" + Servidor().Host + "\r\ndatabase=" + NomeBanco() +
                      "\r\nusuario=" + Servidor().Usuario +
                      "\r\nPorta=1\r\nsenha=" + Criptografia("E", Servidor().Senha, "KAV") + "\r\n");
    const std::string esperado = ErroAoConectar(1);
    try {
        TDadosExportacao::AbrirConexao();
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), esperado);
    }
    EXPECT_EQ(TDadosExportacao::GetConexao(), nullptr);
    EXPECT_THROW(TDadosExportacao::AbrirEmpresas(), EFalha);
    EXPECT_THROW(TDadosExportacao::DescricaoFilial(1), EFalha);
}

TEST_F(TesteServicos, DescricaoFilial_CaptionOrNotFound) {
    Executar(Conexao(), "INSERT INTO filial (filial_id, nome, cgc, apagado) VALUES "
                        "(1, 'LOJA CENTRO', '12345678000190', 'N'), (2, NULL, '11', 'N'), (3, 'SEM CGC', NULL, 'N'), "
                        "(4, 'FILIAL PA\xC7O', '', 'S')");
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(1), "1 - LOJA CENTRO (12345678000190)");
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(2), FilialNaoLocalizada);
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(3), FilialNaoLocalizada);
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(4), "4 - FILIAL PA\xC7O ()");
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(99), FilialNaoLocalizada);
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(-1), FilialNaoLocalizada);
}

TEST_F(TesteServicos, DescricaoFilial_QueryFails_CarriesServersText) {
    Executar(Conexao(), "DROP TABLE filial");
    try {
        TDadosExportacao::DescricaoFilial(1);
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), "Table '" + NomeBanco() + ".filial' doesn't exist");
    }
}

TEST_F(TesteServicos, AbrirEmpresas_LeavesOutDeletedAndNull) {
    Executar(Conexao(), "INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N'), (2, 'APAGADA', 'S'), "
                        "(3, 'SEM MARCA', NULL), (4, 'MARCA VAZIA', ''), (5, 'JOS\xC9 & CIA', 'N')");
    auto empresas = TDadosExportacao::AbrirEmpresas();
    ASSERT_NE(empresas, nullptr);
    EXPECT_TRUE(empresas->Aberta());
    EXPECT_EQ(empresas->Linha(), 0u);
    EXPECT_EQ(empresas->QuantidadeCampos(), 2);
    std::set<std::pair<int, std::string>> linhas;
    for (empresas->Primeiro(); !empresas->FimDosDados(); empresas->Proximo())
        linhas.emplace(empresas->Campo("empresa_id").Inteiro(), empresas->Campo("nome").Texto());
    EXPECT_EQ(linhas,
              (std::set<std::pair<int, std::string>>{{1, "EMPRESA UM"}, {4, "MARCA VAZIA"}, {5, "JOS\xC9 & CIA"}}));
}

TEST_F(TesteServicos, AbrirEmpresas_NoCompanies_IsOpenAndEmpty) {
    auto empresas = TDadosExportacao::AbrirEmpresas();
    EXPECT_TRUE(empresas->Aberta());
    EXPECT_TRUE(empresas->Vazia());
}

TEST_F(TesteServicos, AbrirEmpresas_QueryFails_CarriesServersText) {
    Executar(Conexao(), "DROP TABLE empresa");
    try {
        TDadosExportacao::AbrirEmpresas();
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), "Table '" + NomeBanco() + ".empresa' doesn't exist");
    }
}

TEST_F(TesteServicos, CodigoFilialMatriz_NoFile_IsMinusOneAndReadAgainEachCall) {
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    GravarFilialMatriz("");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=abc\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=-1\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
    GravarFilialMatriz("[filialmatriz]\r\ncodfisica=0x10\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 16);
}

TEST_F(TesteServicos, CodigoFilialMatriz_ValueRead_HoldsWhateverHappensToFile) {
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=5\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 5);
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=9\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 5);
    std::filesystem::remove(FPasta->Sistema() / "sistema_qor.ini");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 5);
    TDadosExportacao::LimparCacheFilial();
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), -1);
}

TEST_F(TesteServicos, CodigoFilialMatriz_Zero_IsAValueAndHolds) {
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=0\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 0);
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=3\r\n");
    EXPECT_EQ(TDadosExportacao::CodigoFilialMatriz(), 0);
}

TEST_F(TesteServicos, CodigoFilialMatriz_WithDescricaoFilial_GivesCaptionOfConfiguredBranch) {
    Executar(Conexao(), "INSERT INTO filial (filial_id, nome, cgc) VALUES (5, 'MATRIZ', '00111222000133')");
    GravarFilialMatriz("[FilialMatriz]\r\nCodFisica=5\r\n");
    EXPECT_EQ(TDadosExportacao::DescricaoFilial(TDadosExportacao::CodigoFilialMatriz()), "5 - MATRIZ (00111222000133)");
}

class TProgressoGravado : public IProgresso {
public:
    void SetMaximo(int maximo) override { Chamadas.push_back("max " + std::to_string(maximo)); }
    void SetPosicao(int posicao) override { Chamadas.push_back("pos " + std::to_string(posicao)); }
    void Passo() override { Chamadas.push_back("passo"); }
    std::vector<std::string> Chamadas;
};

TEST_F(TesteServicos, SetProgresso_LatestGaugeIsTheOneTheExportDrives) {
    Executar(Conexao(), "INSERT INTO filial VALUES (1, 'LOJA', '1', 'N');"
                        "INSERT INTO produto VALUES (1, 'BEBIDA', 10);"
                        "INSERT INTO clientes VALUES (1, 'CLIENTE', '4521', 1, 'N');"
                        "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id, "
                        "filial_id, produto_id) VALUES ('1', '2024-03-05 10:00:00', '2024-04-05 00:00:00', 10.00, 0, "
                        "'N', 1, 1, 1), ('2', '2024-03-06 10:00:00', '2024-04-06 00:00:00', 5.00, 0, 'N', 1, 1, 1)");
    TProgressoGravado primeiro;
    TProgressoGravado segundo;
    TDadosExportacao::SetProgresso(&primeiro);
    TDadosExportacao::SetProgresso(&segundo);
    TDadosExportacao::GerarArquivo(FPasta->Caminho(), "saida.txt", true, TDataHora::Data(2024, 3, 1),
                                   TDataHora::Data(2024, 3, 31), 1, 1, 0);
    EXPECT_TRUE(primeiro.Chamadas.empty());
    EXPECT_EQ(segundo.Chamadas, (std::vector<std::string>{"max 2", "pos 0", "passo", "passo"}));

    TDadosExportacao::SetProgresso(nullptr);
    TDadosExportacao::GerarArquivo(FPasta->Caminho(), "saida.txt", true, TDataHora::Data(2024, 3, 1),
                                   TDataHora::Data(2024, 3, 31), 1, 1, 0);
    EXPECT_EQ(segundo.Chamadas.size(), 4u);
}

} // namespace
