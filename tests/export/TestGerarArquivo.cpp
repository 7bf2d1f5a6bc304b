#include "support/ArquivoPreso.h"
#include "support/DiscoObservado.h"
#include "support/SocketLocal.h"
#include "support/TestDb.h"
#include "support/TextosVerificacao.h"

#include "dao/UDao.h"
#include "export/UComparacaoExportacao.h"
#include "export/UCopiasExportacao.h"
#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UPastaPrograma.h"
#include "platform/UProcesso.h"
#include "platform/URede.h"
#include "platform/USha256.h"
#include "platform/UTexto.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

// One export line, by default of the example customer; the name is filled with blanks to 40 characters.
std::string Linha(const std::string& numlanc, const std::string& centavos = "000000001000",
                  const std::string& data = "05032024", const std::string& torvane = "07",
                  const std::string& chapa = "0000004521", const std::string& nome = "CLIENTE EXEMPLO") {
    std::string linha = torvane + chapa + nome + std::string(40 - nome.size(), ' ') + data + numlanc + "01" + centavos;
    EXPECT_EQ(linha.size(), 80u) << linha;
    return linha + "\r\n";
}

// The whole front end in one trace, so that the order of gauge, event pump and messages is checked too.
class TFrenteGravada : public IInformacao, public IProgresso, public IEventos {
public:
    void Informar(const std::string& texto, const std::string& titulo) override {
        Chamadas.push_back(titulo + ": " + texto);
    }
    void SetMaximo(int maximo) override { Chamadas.push_back("max " + std::to_string(maximo)); }
    void SetPosicao(int posicao) override { Chamadas.push_back("pos " + std::to_string(posicao)); }
    void Passo() override { Chamadas.push_back("passo"); }
    void ProcessarEventos() override { Chamadas.push_back("eventos"); }
    std::vector<std::string> Chamadas;
};

const std::string Informacao = "Informa\xE7\xE3o: ";

// The digest of the file as the system's sha256sum prints it; where there is none (Windows), the one it printed
// for the worked example.
std::string Sha256Sum(const std::filesystem::path& arquivo) {
#ifdef _WIN32
    (void)arquivo;
    return "941c914b0c9fcfe806492e6efed8988649192e933703126c527777d232a0ea48";
#else
    TPastaTemporaria saidas;
    EXPECT_EQ(RodarPrograma({"/usr/bin/sha256sum",
                             {CaminhoUtf8(arquivo)},
                             {},
                             saidas.Sistema() / "saida",
                             saidas.Sistema() / "erro",
                             {}}),
              0);
    return LerBinario(saidas.Sistema() / "saida").substr(0, 64);
#endif
}

// Stands between the program and the test server and passes the bytes both ways until it stops: from then on the
// connections it holds carry nothing more, and, when it stops whole, new connections are taken in by the system
// and never answered, as by a server that hangs.
class TProxy {
public:
    explicit TProxy(int portaServidor)
        : FEscuta(TSocketLocal::Escutar()), FPortaServidor(portaServidor), FTrabalho([this] { Rodar(); }) {}
    ~TProxy() {
        FFim = true;
        FTrabalho.join();
    }
    int Porta() const { return FEscuta.Porta(); }
    // Returns once nothing more passes.
    void Parar(bool inteiro) {
        FInteiro = inteiro;
        FParado = true;
        FCongelado.wait(false);
    }
    // On the connections it holds, `bytes` more pass from the server, and then nothing: a server that stops in the
    // middle of a result. New connections pass as before.
    void PararDepoisDe(long bytes) {
        FLimite = bytes;
        FLimite.wait(bytes);
    }

private:
    struct TPar {
        TSocketLocal Cliente, Servidor;
        bool Parado = false;
        long Restantes = -1; // bytes from the server still to pass; no limit when negative
    };
    void Rodar() {
        std::vector<TPar> pares;
        while (!FFim) {
            if (const long limite = FLimite; limite >= 0) {
                for (auto& par : pares)
                    par.Restantes = limite;
                FLimite = -1;
                FLimite.notify_all();
            }
            if (FParado && !FCongelado) {
                for (auto& par : pares)
                    par.Parado = true;
                FCongelado = true;
                FCongelado.notify_all();
            }
            if (FCongelado && FInteiro) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            if (EsperarSocket(FEscuta.Nativo(), true, false, 5).Leitura) {
                TSocketLocal cliente = FEscuta.Aceitar();
                pares.push_back({std::move(cliente), TSocketLocal::Conectar(FPortaServidor)});
            }
            for (auto& par : pares) {
                long semLimite = -1;
                if (!par.Parado)
                    par.Parado = !Passar(par.Cliente, par.Servidor, semLimite) ||
                                 !Passar(par.Servidor, par.Cliente, par.Restantes);
            }
        }
    }
    // What came passes on, no more of it than `restantes` when that is not negative.
    static bool Passar(TSocketLocal& de, TSocketLocal& para, long& restantes) {
        if (!EsperarSocket(de.Nativo(), true, false, 0).Leitura)
            return true;
        char bloco[16384];
        long lidos = de.Receber(bloco, sizeof bloco);
        if (lidos > 0 && restantes >= 0) {
            lidos = std::min(lidos, restantes);
            restantes -= lidos;
        }
        return lidos > 0 && para.Enviar(std::string_view(bloco, static_cast<std::size_t>(lidos)));
    }

    TSocketLocal FEscuta;
    int FPortaServidor;
    std::atomic<bool> FParado = false;
    std::atomic<bool> FInteiro = false;
    std::atomic<bool> FCongelado = false;
    std::atomic<bool> FFim = false;
    std::atomic<long> FLimite = -1;
    std::thread FTrabalho;
};

class TesteGerarArquivo : public TTesteBanco {
protected:
    void Preparar() override {
        InserirCadastros();
        TDadosExportacao::SetInformacao(&FFrente);
        TDadosExportacao::SetProgresso(&FFrente);
        TDadosExportacao::SetEventos(&FFrente);
    }

    // March 2024, company 1, Torvane number 7.
    TResultadoExportacao Gerar(bool dataLancamento = true, int perfil = 0, int codTorvane = 7,
                               TDataHora de = TDataHora::Data(2024, 3, 1), const std::string& pasta = {},
                               const std::string& nome = "saida.txt") {
        return TDadosExportacao::GerarArquivo(pasta.empty() ? FPasta.Caminho() : pasta, nome, dataLancamento, de,
                                              TDataHora::Data(2024, 3, 31), 1, codTorvane, perfil);
    }

    std::filesystem::path Saida() const { return FPasta.Sistema() / "saida.txt"; }
    std::string LerSaida() const { return LerBinario(Saida()); }
    std::vector<std::string> Arquivos() const { return NomesNaPasta(FPasta.Sistema()); }
    void GravarPerfis(const std::string& conteudo) { GravarBinario(FPasta.Sistema() / "PerfilTorvane.txt", conteudo); }

    TFrenteGravada FFrente;
};

} // namespace

TEST_F(TesteGerarArquivo, GerarArquivo_WorkedExample_ReplacesTheFileWholeAndReportsSuccess) {
    const std::string exemplo = "070000004521CLIENTE EXEMPLO                         0503202400189301000000123450\r\n";
    GravarBinario(Saida(), std::string(1000, 'x'));
    Inserir({{.numlanc = "'1893'", .datahora = "'2024-03-05 14:22:00'", .valortotal = "1234.50"}});
    // The folder as typed, without its separator.
    const std::string pasta = FPasta.Caminho();

    const auto resultado = Gerar(true, 0, 7, TDataHora::Data(2024, 3, 1), pasta.substr(0, pasta.size() - 1));

    EXPECT_EQ(LerSaida(), exemplo);
    EXPECT_EQ(Arquivos(), (std::vector<std::string>{"ArquivosEnviados", "HistoricoExportacao.csv", "saida.txt"}));
    EXPECT_TRUE(resultado.Gerado);
    EXPECT_EQ(resultado.Caminho, pasta + "saida.txt");
    EXPECT_EQ(resultado.Linhas, 1u);
    EXPECT_EQ(resultado.TotalCentavos, 123450);
    EXPECT_EQ(resultado.FalhaRegistro, "");
    EXPECT_EQ(FFrente.Chamadas, (std::vector<std::string>{"max 1", "pos 0", "passo", "eventos",
                                                          Informacao + "Arquivo \"saida.txt\"  gerado com sucesso.\n" +
                                                              TextoAnsi("1 lançamento, total R$ 1.234,50")}));
    // What was sent is in the record, with the fingerprint of the bytes written.
    const auto registros = THistoricoExportacao::Ler().Registros;
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(registros[0].Arquivo, resultado.Caminho);
    EXPECT_EQ(std::tie(registros[0].Empresa, registros[0].NomeEmpresa, registros[0].CodTorvane, registros[0].Perfil,
                       registros[0].DescricaoPerfil, registros[0].Linhas, registros[0].TotalCentavos),
              std::make_tuple(1, std::string("EMPRESA UM"), 7, 0, std::string("Todos os Grupos"), std::size_t{1},
                              std::int64_t{123450}));
    EXPECT_EQ(registros[0].DataInicial, TDataHora::Data(2024, 3, 1));
    // The fingerprint is the standard one, as sha256sum gives it for those bytes.
    EXPECT_EQ(registros[0].Sha256, Sha256Sum(resultado.Caminho));
    // A copy of the bytes as sent beside the record, named by their digest, and the row names it.
    EXPECT_EQ(registros[0].Copia, registros[0].Sha256 + ".txt");
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "ArquivosEnviados" / registros[0].Copia), exemplo);
    EXPECT_EQ(registros[0].Grupos, std::optional<std::string>(""));
    // The headless command may run without any front end.
    TDadosExportacao::SetInformacao(nullptr);
    TDadosExportacao::SetProgresso(nullptr);
    TDadosExportacao::SetEventos(nullptr);
    EXPECT_TRUE(Gerar(true, 0, 7, TDataHora::Data(2024, 3, 1), pasta, "b.txt").Gerado);
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "b.txt"), exemplo);
}

TEST_F(TesteGerarArquivo, GerarArquivo_CompanyNameThatCannotBeRead_StillRecordsTheRowWithThatFieldEmpty) {
    Inserir({{}});
    Executar(Conexao(), "drop table empresa");

    EXPECT_EQ(Gerar().FalhaRegistro, "");

    const auto registros = THistoricoExportacao::Ler().Registros;
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(std::tie(registros[0].NomeEmpresa, registros[0].DescricaoPerfil, registros[0].Linhas),
              std::make_tuple(std::string(), std::string("Todos os Grupos"), std::size_t{1}));
}

// The record open in a spreadsheet meanwhile: the file is written and its row waits, which the success box says; the
// next export appends it, before its own.
TEST_F(TesteGerarArquivo, GerarArquivo_RecordHeldByAnotherProgram_TheRowWaitsAndTheNextExportAppendsIt) {
    Inserir({{}});
    THistoricoExportacao::DefinirEsperaTrava(std::chrono::milliseconds(300));
    EXPECT_TRUE(Gerar().Gerado);
    TResultadoExportacao retido;
    {
        TArquivoPreso preso(THistoricoExportacao::Arquivo());
        ASSERT_TRUE(preso.Preso());
        FFrente.Chamadas.clear();
        retido = Gerar(true, 0, 8);
    }
    EXPECT_TRUE(retido.Gerado);
    EXPECT_EQ(retido.FalhaRegistro, "");
    ASSERT_FALSE(retido.AvisoRegistro.empty());
    ASSERT_FALSE(FFrente.Chamadas.empty());
    EXPECT_TRUE(FFrente.Chamadas.back().ends_with("\n" + retido.AvisoRegistro)) << FFrente.Chamadas.back();
    Gerar(true, 0, 9);
    std::vector<int> codigos;
    for (const auto& registro : THistoricoExportacao::Ler().Registros)
        codigos.push_back(registro.CodTorvane);
    EXPECT_EQ(codigos, (std::vector<int>{7, 8, 9}));
    EXPECT_FALSE(ArquivoExiste(THistoricoExportacao::ArquivoPendente()));
}

TEST_F(TesteGerarArquivo, GerarArquivo_RowsOfOnePosting_AreSummedIntoOneLineAndEachLineStepsTheGauge) {
    Inserir({{.numlanc = "'10'", .valortotal = "1.10", .produto = 1},
             {.numlanc = "'10'", .valortotal = "2.20", .produto = 2},
             {.numlanc = "'10'", .valortotal = "3.30", .produto = 3},
             // Same number, another time of day or another customer: another line.
             {.numlanc = "'11'", .datahora = "'2024-03-06 08:00:00'", .valortotal = "5.00"},
             {.numlanc = "'11'", .datahora = "'2024-03-07 08:00:00'", .valortotal = "6.00"},
             {.numlanc = "'12'", .valortotal = "7.00", .clientes = 1},
             {.numlanc = "'12'", .valortotal = "8.00", .clientes = 3}});

    const auto resultado = Gerar();

    EXPECT_EQ(LerSaida(), Linha("000010", "000000000660") + Linha("000011", "000000000500", "06032024") +
                              Linha("000011", "000000000600", "07032024") + Linha("000012", "000000000700") +
                              Linha("000012", "000000000800", "05032024", "07", "0000000012", "SEGUNDO CLIENTE"));
    EXPECT_EQ(resultado.Linhas, 5u);
    EXPECT_EQ(resultado.TotalCentavos, 660 + 500 + 600 + 700 + 800);
    EXPECT_EQ(FFrente.Chamadas.front(), "max 5");
    EXPECT_EQ(std::count(FFrente.Chamadas.begin(), FFrente.Chamadas.end(), "passo"), 5);
    EXPECT_EQ(std::count(FFrente.Chamadas.begin(), FFrente.Chamadas.end(), "eventos"), 5);
}

TEST_F(TesteGerarArquivo, GerarArquivo_WhereClause_TakesOnlyQualifyingRows) {
    // Each number names the case; only the rows marked "in" reach the file.
    Inserir({{.numlanc = "'100'", .valortotal = "1.00"},                   // in
             {.numlanc = "'101'", .apagado = "'S'"},                       // deleted
             {.numlanc = "'102'", .apagado = "NULL"},                      // deleted flag NULL
             {.numlanc = "'103'", .amort = "100"},                         // amortised
             {.numlanc = "'104'", .amort = "NULL"},                        // amortisation NULL
             {.numlanc = "'105'", .valortotal = "2.00", .amort = "99.99"}, // in
             {.numlanc = "'106'", .valortotal = "0.00"},                   // nothing to receive
             {.numlanc = "'107'", .valortotal = "NULL"},                   // amount NULL
             {.numlanc = "'108'", .valortotal = "-5.00"},                  // negative
             {.numlanc = "'109'", .clientes = 2},                          // another company's customer
             {.numlanc = "'110'", .clientes = 99},                         // no such customer
             {.numlanc = "'111'", .filial = 99},                           // no such branch
             {.numlanc = "'112'", .produto = 99},                          // no such product
             {.numlanc = "'113'", .datahora = "'2024-03-01 00:00:00'", .valortotal = "3.00"}, // in: first second
             {.numlanc = "'114'", .datahora = "'2024-02-29 23:59:59'"},                       // a second too early
             {.numlanc = "'115'", .datahora = "'2024-03-31 23:59:59'", .valortotal = "4.00"}, // in: last second
             {.numlanc = "'116'", .datahora = "'2024-04-01 00:00:00'"},                       // a second too late
             {.numlanc = "'117'", .datahora = "NULL", .vencimento = "'2024-03-10 00:00:00'"}, // no posting date
             // Only the qualifying row of a posting adds to its amount.
             {.numlanc = "'118'", .valortotal = "5.00"},
             {.numlanc = "'118'", .valortotal = "50.00", .apagado = "'S'"}});

    EXPECT_EQ(Gerar().Linhas, 5u);

    EXPECT_EQ(LerSaida(), Linha("000100", "000000000100") + Linha("000105", "000000000200") +
                              Linha("000113", "000000000300", "01032024") +
                              Linha("000115", "000000000400", "31032024") + Linha("000118", "000000000500"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_ByDueDate_ChoosesByDueDateAndWritesThePostingDate) {
    Inserir({{.numlanc = "'200'", .datahora = "'2023-12-24 10:00:00'", .vencimento = "'2024-03-01 00:00:00'"},
             {.numlanc = "'201'", .datahora = "'2024-03-05 10:00:00'", .vencimento = "'2024-04-01 00:00:00'"},
             {.numlanc = "'202'", .datahora = "NULL", .vencimento = "'2024-03-31 23:59:59'", .valortotal = "2.00"},
             {.numlanc = "'203'", .datahora = "'2024-03-05 10:00:00'", .vencimento = "NULL"}});

    Gerar(false);

    EXPECT_EQ(LerSaida(), Linha("000200", "000000001000", "24122023") + Linha("000202", "000000000200", "30121899"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_Profile_LimitsTheGroupsAndTheAmounts) {
    GravarPerfis(ArquivoDePerfis({P("Bebidas e doces") + " (10,20) ", P("Sem grupos"), "Curto"}));
    Inserir({{.numlanc = "'300'", .valortotal = "1.00", .produto = 1},
             {.numlanc = "'300'", .valortotal = "2.00", .produto = 2},
             {.numlanc = "'300'", .valortotal = "4.00", .produto = 3},
             {.numlanc = "'301'", .valortotal = "8.00", .produto = 3}}); // none of its rows in the groups
    const std::string todas = Linha("000300", "000000000700") + Linha("000301", "000000000800");

    Gerar(true, 1);
    EXPECT_EQ(LerSaida(), Linha("000300", "000000000300"));
    for (const int perfil : {2, 3, 0, -1}) {
        Gerar(true, perfil);
        EXPECT_EQ(LerSaida(), todas) << "profile line " << perfil;
    }
}

TEST_F(TesteGerarArquivo, GerarArquivo_NamesAndBadges_AreCutAndFilledByBytes) {
    // Latin-1 bytes on the wire, one byte a letter in the file.
    Executar(Conexao(), TextoAnsi("INSERT INTO clientes VALUES (10, 'JOÃO AÇÃO ÉÍÓÚ ÇÑ', '9', 1, 'N'),"
                                  " (11, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789VWXYZ4444', '12345678901', 1, 'N'),"
                                  " (12, '', '', 1, 'N'), (13, NULL, NULL, 1, 'N'),"
                                  " (14, 'Açúcar Ñandú Gêmeos Pão de Ló 12345678ÃÕÇ', 'ÁB', 1, 'N'),"
                                  // Control characters would break the line: they become blanks.
                                  " (15, CONCAT('A', CHAR(13), CHAR(10), 'B', CHAR(9), 'C', CHAR(0), 'D', CHAR(127)),"
                                  " CONCAT('1', CHAR(10), '2'), 1, 'N')"));
    for (int cliente = 10; cliente <= 15; ++cliente)
        Inserir({{.numlanc = "'" + std::to_string(cliente - 9) + "'", .clientes = cliente}});

    Gerar();

    const std::string c = "000000001000", d = "05032024";
    EXPECT_EQ(LerSaida(), Linha("000001", c, d, "07", "0000000009", TextoAnsi("JOÃO AÇÃO ÉÍÓÚ ÇÑ")) +
                              Linha("000002", c, d, "07", "1234567890", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789VWXY") +
                              Linha("000003", c, d, "07", "0000000000", "") +
                              Linha("000004", c, d, "07", "0000000000", "") +
                              Linha("000005", c, d, "07", TextoAnsi("00000000ÁB"),
                                    TextoAnsi("Açúcar Ñandú Gêmeos Pão de Ló 12345678ÃÕ")) +
                              Linha("000006", c, d, "07", "00000001 2", "A  B C D "));
}

TEST_F(TesteGerarArquivo, GerarArquivo_Amounts_AreRoundedToCentsHalfAwayFromZero) {
    Executar(Conexao(), "ALTER TABLE receber MODIFY valortotal DECIMAL(15,3)");
    Inserir({{.numlanc = "'1'", .valortotal = "1234.50"},
             {.numlanc = "'2'", .valortotal = "12.345"},
             {.numlanc = "'3'", .valortotal = "0.004"},
             {.numlanc = "'4'", .valortotal = "12.344"},
             {.numlanc = "'5'", .valortotal = "0.005"},
             // Sums of thousandths: 0.002 + 0.003 is half a cent.
             {.numlanc = "'6'", .valortotal = "0.002"},
             {.numlanc = "'6'", .valortotal = "0.003", .produto = 2},
             {.numlanc = "'7'", .valortotal = "9999999999.994"}});

    const auto resultado = Gerar();

    EXPECT_EQ(LerSaida(), Linha("000001", "000000123450") + Linha("000002", "000000001235") +
                              Linha("000003", "000000000000") + Linha("000004", "000000001234") +
                              Linha("000005", "000000000001") + Linha("000006", "000000000001") +
                              Linha("000007", "999999999999"));
    EXPECT_EQ(resultado.TotalCentavos, 123450 + 1235 + 0 + 1234 + 1 + 1 + 999999999999);
}

TEST_F(TesteGerarArquivo, GerarArquivo_NumbersAtTheEdgesOfTheirFields_AreReadWholeAndZeroFilled) {
    Inserir({{.numlanc = "'0'"}, {.numlanc = "'0001893'"}, {.numlanc = "'+7'"}, {.numlanc = "'999999'"}});
    for (const auto& [codigo, campo] : std::vector<std::pair<int, std::string>>{{0, "00"}, {99, "99"}}) {
        Gerar(true, 0, codigo);
        // In the server's order: "+" sorts before the digits.
        const std::string c = "000000001000", d = "05032024";
        EXPECT_EQ(LerSaida(), Linha("000007", c, d, campo) + Linha("000000", c, d, campo) +
                                  Linha("001893", c, d, campo) + Linha("999999", c, d, campo));
    }
}

TEST_F(TesteGerarArquivo, GerarArquivo_NoRows_LeavesExistingFileAloneAndCreatesNone) {
    GravarBinario(Saida(), "antigo\r\n");
    Inserir({{.numlanc = "'1'", .datahora = "'2024-04-05 10:00:00'"}});
    const std::string nenhum = Informacao + "Nenhum registro encontrado para a sele\xE7\xE3o.";

    EXPECT_FALSE(Gerar().Gerado);
    // A period whose start lies after its end finds nothing either.
    EXPECT_FALSE(Gerar(true, 0, 7, TDataHora::Data(2024, 4, 30)).Gerado);

    EXPECT_EQ(LerSaida(), "antigo\r\n");
    EXPECT_EQ(Arquivos(), std::vector<std::string>{"saida.txt"});
    // No gauge and no event pump.
    EXPECT_EQ(FFrente.Chamadas, (std::vector<std::string>{nenhum, nenhum}));
    std::filesystem::remove(Saida());
    Gerar();
    EXPECT_TRUE(Arquivos().empty());
}

TEST_F(TesteGerarArquivo, GerarArquivo_RowThatCannotBeWritten_StopsNamingItAndLeavesExistingFileAlone) {
    const auto numero = [](const std::string& n) {
        return TextoAnsi(
            "Lançamento " + n +
            ": o número do lançamento não cabe no campo de 6 dígitos (0 a 999999). Nenhum arquivo foi gravado.");
    };
    const auto valor = [](const std::string& n, const std::string& v) {
        return TextoAnsi("Lançamento " + n + ": o valor " + v +
                         " não cabe no campo de 12 dígitos do valor em centavos. Nenhum arquivo foi gravado.");
    };
    struct TCaso {
        std::string numlanc, valortotal, mensagem;
    };
    const auto casos = std::vector<TCaso>{
        {"'12A'", "1.00", "'12A' is not a valid integer value"},
        {"''", "1.00", "'' is not a valid integer value"},
        {"NULL", "1.00", "'' is not a valid integer value"},
        {"'-'", "1.00", "'-' is not a valid integer value"},
        {"' 12'", "1.00", "' 12' is not a valid integer value"},
        {"'$1A'", "1.00", "'$1A' is not a valid integer value"},
        {"'1.5'", "1.00", "'1.5' is not a valid integer value"},
        {"'1234567'", "1.00", numero("1234567")},
        {"'-42'", "1.00", numero("-42")},
        {"'99999999999999999999'", "1.00", numero("99999999999999999999")},
        {"'55'", "10000000000.00", valor("55", "10000000000.000")},
        {"'56'", "9999999999.995", valor("56", "9999999999.995")},
    };
    Executar(Conexao(), "ALTER TABLE receber MODIFY valortotal DECIMAL(20,3)");
    GravarBinario(Saida(), "antigo\r\n");
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.numlanc);
        Executar(Conexao(), "DELETE FROM receber");
        Inserir({{.numlanc = "'1'"}, {.numlanc = caso.numlanc, .valortotal = caso.valortotal}});
        FFrente.Chamadas.clear();

        EXPECT_EQ(TextoDaFalha([&] { Gerar(); }), caso.mensagem);

        EXPECT_EQ(LerSaida(), "antigo\r\n");
        EXPECT_EQ(Arquivos(), std::vector<std::string>{"saida.txt"});
        // The rows after it are still read, to name every posting that cannot go into the file.
        EXPECT_EQ(FFrente.Chamadas,
                  (std::vector<std::string>{"max 2", "pos 0", "passo", "eventos", "passo", "eventos"}));
    }
    // A stored day that cannot exist, on the due-date basis.
    Executar(Conexao(), "SET SESSION sql_mode = 'ALLOW_INVALID_DATES'; DELETE FROM receber");
    Inserir({{.numlanc = "'57'", .datahora = "'2024-02-30 10:00:00'", .vencimento = "'2024-03-10 00:00:00'"}});
    EXPECT_EQ(
        TextoDaFalha([&] { Gerar(false); }),
        TextoAnsi("Lançamento 57: '2024-02-30 10:00:00' is not a valid date and time. Nenhum arquivo foi gravado."));
    EXPECT_EQ(LerSaida(), "antigo\r\n");
    Executar(Conexao(), "DELETE FROM receber");
    Inserir({{.numlanc = "'1'"}, {.numlanc = casos.back().numlanc, .valortotal = casos.back().valortotal}});
    std::filesystem::remove(Saida());
    EXPECT_EQ(TextoDaFalha([&] { Gerar(); }), casos.back().mensagem);
    EXPECT_TRUE(Arquivos().empty());
}

TEST_F(TesteGerarArquivo, GerarArquivo_SeveralUnfitPostings_AreAllNamedInOneRun) {
    // Grouped by numlanc as text, so the server gives them in this order: a good posting first, then one of
    // each kind of unfit posting, then more than a message names. On the due-date basis, so that a stored
    // posting date that cannot exist is among them.
    Executar(Conexao(), "SET SESSION sql_mode = 'ALLOW_INVALID_DATES'");
    const std::string marco = "'2024-03-10 00:00:00'";
    std::vector<TReceber> linhas = {{.numlanc = "'10'", .vencimento = marco},
                                    {.numlanc = "'11'", .datahora = "'2024-02-30 10:00:00'", .vencimento = marco},
                                    {.numlanc = "'12345678'", .vencimento = marco},
                                    {.numlanc = "'13'", .vencimento = marco, .valortotal = "99999999999.00"},
                                    {.numlanc = "'14X'", .vencimento = marco}};
    for (int i = 0; i < 20; ++i)
        linhas.push_back({.numlanc = "'2" + FormatarZeros(i, 2) + "X'", .vencimento = marco});
    Executar(Conexao(), "ALTER TABLE receber MODIFY valortotal DECIMAL(20,2)");
    Inserir(linhas);
    GravarBinario(Saida(), "antigo\r\n");

    std::string esperado =
        TextoAnsi("Lançamento 11: '2024-02-30 10:00:00' is not a valid date and time. Nenhum "
                  "arquivo foi gravado.\nOutros lançamentos que não podem ir para o arquivo:"
                  "\nLançamento 12345678: o número do lançamento não cabe no campo de 6 dígitos "
                  "(0 a 999999)\nLançamento 13: o valor 99999999999.00 não cabe no campo de 12 "
                  "dígitos do valor em centavos\nLançamento 14X: '14X' is not a valid integer value");
    for (int i = 0; i < 17; ++i)
        esperado += TextoAnsi("\nLançamento 2") + FormatarZeros(i, 2) + "X: '2" + FormatarZeros(i, 2) +
                    "X' is not a valid integer value";
    esperado += TextoAnsi("\ne mais 3 lançamentos");
    EXPECT_EQ(TextoDaFalha([&] { Gerar(false); }), esperado);
    EXPECT_EQ(LerSaida(), "antigo\r\n");
    EXPECT_EQ(Arquivos(), std::vector<std::string>{"saida.txt"});
    // Every row was read and stepped on the gauge.
    EXPECT_EQ(std::count(FFrente.Chamadas.begin(), FFrente.Chamadas.end(), "passo"), 25);
    // Exactly one past those named is said in the singular.
    Executar(Conexao(), "DELETE FROM receber WHERE numlanc IN ('218X', '219X')");
    EXPECT_EQ(TextoDaFalha([&] { Gerar(false); }),
              esperado.substr(0, esperado.rfind('\n')) + TextoAnsi("\ne mais 1 lançamento"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_BadTorvaneNumberOrGroupList_IsRefusedBeforeAnyQuery) {
    GravarPerfis(ArquivoDePerfis({P("") + "(1) or 1=1", P("") + "(1,2"}));
    Inserir({{}});
    // Without a connection any query would fail with another message.
    TDadosExportacao::DefinirConexao(nullptr);
    for (const int codigo : {100, 123, -1})
        EXPECT_EQ(TextoDaFalha([&] { Gerar(true, 0, codigo); }),
                  TextoAnsi("O número da empresa na Torvane (" + std::to_string(codigo) +
                            ") não cabe no campo de 2 dígitos (0 a 99). Nenhum arquivo foi gravado."));
    EXPECT_EQ(TextoDaFalha([&] { Gerar(true, 1); }),
              TextoAnsi("O perfil da linha 1 do arquivo de perfis (") +
                  CaminhoMensagem(TDadosExportacao::ArquivoPerfis()) +
                  TextoAnsi(") tem uma lista de grupos inválida: (1) or 1=1. A lista deve ser como (12,15,40). "
                            "Refaça o vínculo de grupos desse perfil em Configurações. Nenhum arquivo foi gravado."));
    EXPECT_NE(TextoDaFalha([&] { Gerar(true, 2); }).find(TextoAnsi("O perfil da linha 2 ")), std::string::npos);
    EXPECT_EQ(TextoDaFalha([&] { Gerar(true, 3); }), "List index out of bounds (3)");
    // The file goes into the chosen folder and nowhere else.
    for (const char* nome : {"../fora.txt", "..", "."})
        EXPECT_EQ(TextoDaFalha([&] { Gerar(true, 0, 7, TDataHora::Data(2024, 3, 1), {}, nome); }),
                  TextoAnsi(TextoNomeComPasta(nome) + " Nenhum arquivo foi gravado."))
            << nome;
    EXPECT_EQ(Arquivos(), std::vector<std::string>{"PerfilTorvane.txt"});
    EXPECT_TRUE(FFrente.Chamadas.empty());
}

TEST_F(TesteGerarArquivo, GerarArquivo_ServerThatStopsAnswering_FailsSayingSoAndWritesNothing) {
    // Enough rows that the result comes in many pieces.
    std::vector<TReceber> linhas(1000);
    for (std::size_t i = 0; i < linhas.size(); ++i)
        linhas[i].numlanc = "'" + std::to_string(i + 1) + "'";
    Inserir(linhas);
    const std::string silencio = "nada chegou dele em " + std::to_string(TConexao::SegundosSilencio) + " s, e ";
    const std::string perdida = TextoAnsi("A conexão com o servidor de banco de dados se perdeu: ") + silencio +
                                TextoAnsi("o servidor não está mais executando a consulta.");
    // Stopped whole, the server no longer takes a new connection either; stopped for this connection alone, before
    // the query or in the middle of its rows, it says that the query no longer runs there.
    enum class TParada { Inteira, Conexao, MeioDasLinhas };
    const auto casos = Casos<std::pair<TParada, std::string>>(
        std::pair(TParada::Inteira, TextoAnsi("O servidor de banco de dados não responde: ") + silencio +
                                        TextoAnsi("uma nova conexão falhou: Lost connection to server at 'handshake: "
                                                  "reading initial communication packet'")),
        std::pair(TParada::Conexao, perdida), std::pair(TParada::MeioDasLinhas, perdida));
    for (const auto& [parada, esperado] : casos) {
        SCOPED_TRACE(static_cast<int>(parada));
        TProxy proxy(Servidor().Porta);
        TDadosExportacao::DefinirConexao(
            TDao::CriarConexao("127.0.0.1", NomeBanco(), Servidor().Usuario, Servidor().Senha, proxy.Porta()));
        EXPECT_TRUE(Gerar().Gerado);
        const auto arquivos = Arquivos();
        const std::string gravado = LerSaida();
        if (parada == TParada::MeioDasLinhas)
            proxy.PararDepoisDe(8000);
        else
            proxy.Parar(parada == TParada::Inteira);
        const std::string falha = TextoDaFalha([&] { Gerar(); });
        EXPECT_EQ(falha.rfind(esperado, 0), 0u) << falha;
        EXPECT_EQ(Arquivos(), arquivos);
        EXPECT_EQ(LerSaida(), gravado);
        // The connection is given up: what comes later fails at once, as on a lost server.
        EXPECT_EQ(TextoDaFalha([&] { Gerar(); }), "Server has gone away");
        TDadosExportacao::DefinirConexao(nullptr);
    }
}

TEST_F(TesteGerarArquivo, GerarArquivo_FolderThatCannotHoldTheFile_FailsWithCannotCreate) {
    Inserir({{}});
    const std::string pasta = FPasta.Caminho() + "nao-existe";
    EXPECT_EQ(TextoDaFalha([&] { Gerar(true, 0, 7, TDataHora::Data(2024, 3, 1), pasta); }),
              "Cannot create file \"" + pasta + SeparadorPasta() + "saida.txt\". " + MotivoSistema(MotivoPastaFalta));
    EXPECT_TRUE(Arquivos().empty());
    EXPECT_TRUE(FFrente.Chamadas.empty());
}

TEST_F(TesteGerarArquivo, SqlExportacao_BuildsTheQueryTextPieceByPiece) {
    EXPECT_EQ(TDadosExportacao::SqlExportacao(true, TDataHora::Data(2024, 3, 1), TDataHora{2024, 3, 31, 14, 5, 6}, 12,
                                              "(12,15,40)"),
              " select  \r\n    receber.numlanc \r\n    ,receber.datahora \r\n   , clientes.nome \r\n"
              "   ,clientes.chapa \r\n   ,SUM(receber.valortotal) as valor \r\n from \r\n   receber \r\n"
              " join clientes \r\n   on (clientes.clientes_id = receber.clientes_id) \r\n join filial \r\n"
              "   on (receber.filial_id = filial.filial_id) \r\n join produto \r\n"
              "   on (receber.produto_id = produto.produto_id) \r\n where  \r\n"
              "   receber.amort < 100   and receber.valortotal > 0.00   and receber.apagado = \"N\" \r\n"
              "   and (receber.datahora between \"2024-03-01 00:00:00\" and \"2024-03-31 23:59:59\")"
              " and clientes.empresa_id = 12 and produto.grupo_id in (12,15,40)"
              "  group by    receber.numlanc    ,receber.datahora    ,clientes.nome    ,clientes.chapa ");
}

// The look before writing runs the export's selection and keeps it: every posting as its line would go into the
// file, the unfit ones with the export's own reason, and the names in which the server put "?" for a character
// that code page 1252 lacks (a "?" that is in the name itself is no loss). It writes and records nothing; the file
// then written from it holds exactly what was seen, even when the database has changed since.
TEST_F(TesteGerarArquivo, VisualizarArquivo_KeepsTheExportsLinesMarksWhatIsLostAndWritesExactlyThat) {
    Executar(Conexao(), "ALTER TABLE clientes MODIFY nome VARCHAR(80) CHARACTER SET utf8mb4");
    Executar(Conexao(), "INSERT INTO clientes VALUES (20, CONVERT(X'C5817563C3A961' USING utf8mb4), '20', 1, 'N'),"
                        " (21, 'JOS? DE TAL', '21', 1, 'N')");
    Inserir({{.numlanc = "'0X'"},
             {.numlanc = "'1'"},
             {.numlanc = "'2'", .valortotal = "5.50", .clientes = 20},
             {.numlanc = "'3'", .clientes = 21}});
    const TFiltroExportacao filtro{true, TDataHora::Data(2024, 3, 1), TDataHora::Data(2024, 3, 31), 1, 7, 0, {}};

    auto selecao = TDadosExportacao::VisualizarArquivo(filtro);

    ASSERT_TRUE(selecao);
    EXPECT_EQ(Arquivos(), std::vector<std::string>{});
    ASSERT_EQ(selecao->Quantidade(), 4u);
    EXPECT_EQ(std::make_tuple(selecao->Linhas(), selecao->Recusas(), selecao->NomesComPerda()),
              std::make_tuple(std::size_t{3}, std::size_t{1}, std::size_t{1}));
    EXPECT_EQ(selecao->TotalCentavos(), 2550);
    const std::string esperado = Linha("000001") +
                                 Linha("000002", "000000000550", "05032024", "07", "0000000020", TextoAnsi("?ucéa")) +
                                 Linha("000003", "000000001000", "05032024", "07", "0000000021", "JOS? DE TAL");
    EXPECT_EQ(selecao->Texto(), esperado);
    EXPECT_EQ(std::string(selecao->Linha(1)), esperado.substr(82, 80));
    // In the query's order: the unfit posting first, then the lines.
    ASSERT_TRUE(selecao->Item(0).Recusado);
    const auto& recusado = selecao->Recusado(selecao->Item(0).Indice);
    EXPECT_EQ(
        std::tie(recusado.Numero, recusado.Chapa, recusado.Nome, recusado.Valor),
        std::make_tuple(std::string("0X"), std::string("4521"), std::string("CLIENTE EXEMPLO"), std::string("10.00")));
    EXPECT_EQ(recusado.Motivo, TextoAnsi("Lançamento 0X: '0X' is not a valid integer value"));
    EXPECT_EQ(
        std::make_tuple(selecao->Item(1).NomeComPerda, selecao->Item(2).NomeComPerda, selecao->Item(3).NomeComPerda),
        std::make_tuple(false, true, false));
    const auto campos = selecao->Campos(2);
    EXPECT_EQ(std::tie(campos.Chapa, campos.Nome, campos.Data, campos.Numero, campos.Valor),
              std::make_tuple(std::string("0000000020"), TextoAnsi("?ucéa"), std::string("05/03/2024"),
                              std::string("2"), std::string("5,50")));
    EXPECT_NE(campos.Situacao.find("\"?\""), std::string::npos);
    // Unfit postings are refused as the export refuses them, writing nothing.
    const std::string recusa = TextoDaFalha([&] { Gerar(); });
    EXPECT_EQ(TextoDaFalha([&] { TDadosExportacao::GerarArquivo(*selecao, FPasta.Caminho(), "saida.txt"); }), recusa);
    EXPECT_EQ(Arquivos(), std::vector<std::string>{});

    Executar(Conexao(), "DELETE FROM receber WHERE numlanc = '0X'");
    selecao = TDadosExportacao::VisualizarArquivo(filtro);
    ASSERT_TRUE(selecao);
    Inserir({{.numlanc = "'5'"}});
    const auto resultado = TDadosExportacao::GerarArquivo(*selecao, FPasta.Caminho(), "saida.txt");
    EXPECT_EQ(LerSaida(), esperado);
    EXPECT_EQ(std::tie(resultado.Linhas, resultado.TotalCentavos), std::make_tuple(std::size_t{3}, std::int64_t{2550}));
    EXPECT_EQ(FFrente.Chamadas.back(),
              Informacao + "Arquivo \"saida.txt\"  gerado com sucesso.\n" + TextoAnsi("3 lançamentos, total R$ 25,50"));
    const auto registros = THistoricoExportacao::Ler().Registros;
    ASSERT_EQ(registros.size(), 1u);
    TSha256 digest;
    digest.Acrescentar(esperado);
    const std::string sha = digest.Concluir();
    EXPECT_EQ(std::tie(registros[0].Empresa, registros[0].CodTorvane, registros[0].Linhas, registros[0].Sha256),
              std::make_tuple(1, 7, std::size_t{3}, sha));
    // Its copy too holds exactly the lines seen.
    EXPECT_EQ(registros[0].Copia, sha + ".txt");
    EXPECT_EQ(LerBinario(TCopiasExportacao::Pasta() / registros[0].Copia), esperado);
    // Nothing found is said as the export says it.
    EXPECT_FALSE(TDadosExportacao::VisualizarArquivo(
        {true, TDataHora::Data(2024, 4, 1), TDataHora::Data(2024, 4, 30), 1, 7, 0, {}}));
    EXPECT_EQ(FFrente.Chamadas.back(), Informacao + TextoAnsi("Nenhum registro encontrado para a seleção."));
}

// The file, then its copy, whole and on disk, then the row that names the copy: a crash at any moment leaves no
// row without its copy. A copy that cannot be kept is said and leaves the export and its row; an office may keep none.
TEST_F(TesteGerarArquivo, GerarArquivo_CopyOfTheFileSent_ReachesTheDiskBeforeItsRow) {
    Inserir({{.valortotal = "1234.50"}});
    const auto copias = FPasta.Sistema() / "ArquivosEnviados";
    std::vector<std::pair<TPassoDisco, std::string>> passos;
    {
        const TDiscoObservado disco;
        ASSERT_TRUE(Gerar().Gerado);
        for (const auto& [passo, caminho] : disco.Passos)
            passos.emplace_back(passo, caminho.parent_path() == copias                   ? "copia"
                                       : caminho.filename() == "HistoricoExportacao.csv" ? "historico"
                                                                                         : caminho.filename().string());
    }
    const auto posicao = [&](TPassoDisco passo, const std::string& nome) {
        const auto achado = std::find(passos.begin(), passos.end(), std::make_pair(passo, nome));
        EXPECT_NE(achado, passos.end()) << nome;
        return achado - passos.begin();
    };
    EXPECT_LT(posicao(TPassoDisco::Substituir, "saida.txt"), posicao(TPassoDisco::Substituir, "copia"));
    EXPECT_LT(posicao(TPassoDisco::Substituir, "copia"), posicao(TPassoDisco::GravarArquivo, "historico"));
    const auto registro = THistoricoExportacao::Ler().Registros.back();
    EXPECT_EQ(LerBinario(copias / registro.Copia), LerSaida());

    // The copies' folder cannot be made: said in the success box, the file and its row stand, naming no copy.
    std::filesystem::remove_all(copias);
    GravarBinario(copias, "");
    const auto semCopia = Gerar(true, 0, 8);
    EXPECT_TRUE(semCopia.Gerado);
    EXPECT_EQ(semCopia.FalhaCopia.rfind(TextoAnsi("O arquivo foi gerado, mas a cópia do arquivo enviado não pôde ser "
                                                  "guardada: Não foi possível criar a pasta das cópias"),
                                        0),
              0u)
        << semCopia.FalhaCopia;
    EXPECT_NE(FFrente.Chamadas.back().find(semCopia.FalhaCopia), std::string::npos);
    EXPECT_EQ(THistoricoExportacao::Ler().Registros.back().CodTorvane, 8);
    EXPECT_EQ(THistoricoExportacao::Ler().Registros.back().Copia, "");

    // Turned off for the office.
    std::filesystem::remove(copias);
    GravarSistemaQorIni("[Historico]\r\nCopias=N\r\n");
    const auto desligadas = Gerar(true, 0, 9);
    EXPECT_EQ(desligadas.FalhaCopia, "");
    EXPECT_FALSE(std::filesystem::exists(copias));
    EXPECT_EQ(THistoricoExportacao::Ler().Registros.back().Copia, "");
}

// A file sent, then the database changes: each posting lands in its group, the totals add up, and two lines of one
// posting number and date are each paired once. Without its copy, a file changed since can no longer be compared.
TEST_F(TesteGerarArquivo, Comparar_AddedPaidDeletedAndChangedPostings_LandInTheirGroupsAndTheTotalsAddUp) {
    Executar(Conexao(), "INSERT INTO clientes VALUES (30, 'OUTRO NOME', '4521', 1, 'N')");
    Inserir({{.numlanc = "'1'"},
             {.numlanc = "'2'", .valortotal = "20.00"},
             {.numlanc = "'3'", .valortotal = "30.00"},
             {.numlanc = "'4'", .valortotal = "40.00"},
             {.numlanc = "'5'"},
             {.numlanc = "'5'", .clientes = 30}});
    ASSERT_TRUE(Gerar().Gerado);
    const auto registro = THistoricoExportacao::Ler().Registros.back();
    Executar(Conexao(), "UPDATE receber SET amort = 100 WHERE numlanc = '2';"
                        "UPDATE receber SET apagado = 'S' WHERE numlanc = '3';"
                        "UPDATE receber SET valortotal = 45 WHERE numlanc = '4';"
                        "UPDATE receber SET valortotal = 12 WHERE numlanc = '5' AND clientes_id = 30");
    Inserir({{.numlanc = "'6'"}});

    const auto c = TComparacaoExportacao::Comparar(registro);

    std::vector<std::string> vistos;
    for (const auto& d : c.Diferencas)
        vistos.push_back(TComparacaoExportacao::NomeGrupo(d.Grupo) + "|" + d.Numero + "|" + d.Nome + "|" +
                         (d.CentavosEnviados ? std::to_string(*d.CentavosEnviados) : "-") + "|" +
                         (d.CentavosAgora ? std::to_string(*d.CentavosAgora) : "-") + "|" + d.Motivo);
    EXPECT_EQ(vistos, (std::vector<std::string>{
                          TextoAnsi("não está mais em aberto|2|CLIENTE EXEMPLO|2000|-|pago (amort de 100 ou mais)"),
                          TextoAnsi("não está mais em aberto|3|CLIENTE EXEMPLO|3000|-|excluído (apagado \"S\")"),
                          "alterado|4|CLIENTE EXEMPLO|4000|4500|", "alterado|5|OUTRO NOME|1000|1200|",
                          "novo|6|CLIENTE EXEMPLO|-|1000|"}));
    EXPECT_EQ(std::make_tuple(c.Enviado.Linhas, c.Enviado.Centavos, c.Agora.Linhas, c.Agora.Centavos, c.Iguais),
              std::make_tuple(std::size_t{6}, std::int64_t{12000}, std::size_t{5}, std::int64_t{8700}, std::size_t{2}));
    EXPECT_EQ(c.Enviado.Centavos - c.NaoEstaoMaisEmAberto.Centavos + c.DiferencaAlterados + c.Novos.Centavos,
              c.Agora.Centavos);
    EXPECT_EQ(c.Enviado.Linhas - c.NaoEstaoMaisEmAberto.Linhas + c.Novos.Linhas, c.Agora.Linhas);
    EXPECT_EQ(c.Resumo()[2], TextoAnsi("Alterados: 2 lançamentos, diferença de +R$ 7,00."));
    EXPECT_TRUE(c.Mudou());

    // Without its copy, from the file at its path while it is the one written; once changed, not at all.
    std::filesystem::remove(TCopiasExportacao::Pasta() / registro.Copia);
    EXPECT_EQ(TComparacaoExportacao::Comparar(registro).Enviado.Linhas, 6u);
    GravarBinario(Saida(), Linha("000001"));
    EXPECT_EQ(TextoDaFalha([&] { TComparacaoExportacao::Comparar(registro); }),
              TextoAnsi("O arquivo enviado não pode mais ser lido: sua cópia \"") +
                  CaminhoMensagem(TCopiasExportacao::Pasta() / registro.Copia) +
                  TextoAnsi("\" não existe mais ou foi alterada, e o arquivo \"") + CaminhoMensagem(Saida()) +
                  TextoAnsi("\" não é mais o que foi gerado."));
}

// Only what no earlier file of the company under that number held: a changed posting stays out and is listed, a
// file of new postings counts as sent for the next one, and with nothing new nothing is written.
TEST_F(TesteGerarArquivo, SomenteNovos_WritesExactlyTheAddedPostingsAndListsTheChangedOnes) {
    Inserir({{.numlanc = "'1'"}, {.numlanc = "'2'", .valortotal = "20.00"}});
    ASSERT_TRUE(Gerar().Gerado);
    Executar(Conexao(), "UPDATE receber SET valortotal = 25 WHERE numlanc = '2'");
    Inserir({{.numlanc = "'3'", .valortotal = "30.00"}});
    const TFiltroExportacao filtro{true, TDataHora::Data(2024, 3, 1), TDataHora::Data(2024, 3, 31), 1, 7, 0, {}};
    const auto gerarNovos = [&](const std::string& nome) {
        return TComparacaoExportacao::GerarSomenteNovos(TDadosExportacao::LerSelecao(filtro), FPasta.Caminho(), nome);
    };
    const std::string alterados = TextoAnsi("\n\nAlterados desde que foram enviados, fora do arquivo (corrija-os na "
                                            "Torvane):\nChapa ");
    const std::string alterado = TextoAnsi("nº 2: alterado, enviado R$ 20,00, agora R$ 25,00.");

    const auto novos = TComparacaoExportacao::SomenteNovos(filtro);
    ASSERT_EQ(novos.Alterados.size(), 1u);
    EXPECT_EQ(std::make_tuple(novos.Alterados[0].Numero, *novos.Alterados[0].CentavosEnviados,
                              *novos.Alterados[0].CentavosAgora),
              std::make_tuple(std::string("2"), std::int64_t{2000}, std::int64_t{2500}));
    EXPECT_TRUE(gerarNovos("novos.txt").Gerado);
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "novos.txt"), Linha("000003", "000000003000"));
    EXPECT_NE(FFrente.Chamadas.back().find(alterados), std::string::npos) << FFrente.Chamadas.back();
    EXPECT_TRUE(FFrente.Chamadas.back().ends_with(alterado)) << FFrente.Chamadas.back();
    EXPECT_TRUE(THistoricoExportacao::Ler().Registros.back().SomenteNovos);
    // Another number in Torvane is another company's sending: all of it is new there.
    EXPECT_EQ(TComparacaoExportacao::SomenteNovos(
                  {true, TDataHora::Data(2024, 3, 1), TDataHora::Data(2024, 3, 31), 1, 8, 0, {}})
                  .Selecao.Linhas(),
              3u);

    Inserir({{.numlanc = "'4'"}});
    gerarNovos("mais.txt");
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "mais.txt"), Linha("000004"));
    std::filesystem::remove(FPasta.Sistema() / "nada.txt");
    EXPECT_FALSE(gerarNovos("nada.txt").Gerado);
    EXPECT_FALSE(std::filesystem::exists(FPasta.Sistema() / "nada.txt"));
    EXPECT_EQ(FFrente.Chamadas.back().rfind(
                  Informacao + TextoAnsi("Nenhum registro encontrado para a seleção.") + alterados, 0),
              0u)
        << FFrente.Chamadas.back();

    // A box lists twenty changed postings and counts the rest.
    std::vector<TReceber> mais;
    for (int numero = 5; numero <= 24; ++numero)
        mais.push_back({.numlanc = "'" + std::to_string(numero) + "'"});
    Inserir(mais);
    ASSERT_TRUE(Gerar().Gerado);
    Executar(Conexao(), "UPDATE receber SET valortotal = valortotal + 1");
    EXPECT_FALSE(gerarNovos("nada.txt").Gerado);
    const std::string caixa = FFrente.Chamadas.back();
    std::size_t listados = 0;
    for (auto i = caixa.find("\nChapa "); i != std::string::npos; i = caixa.find("\nChapa ", i + 1))
        ++listados;
    EXPECT_EQ(listados, 20u) << caixa;
    EXPECT_TRUE(caixa.ends_with("\n... e mais 4: veja todos em \"Comparar com o banco\".")) << caixa;
    // Without the copies, the first file written as saida.txt is gone: the box says so.
    std::filesystem::remove_all(TCopiasExportacao::Pasta());
    gerarNovos("nada.txt");
    EXPECT_NE(FFrente.Chamadas.back().find(TextoAnsi("não pode mais ser lido: ")), std::string::npos)
        << FFrente.Chamadas.back();
    EXPECT_NE(FFrente.Chamadas.back().find(TextoAnsi(" Seus lançamentos podem ir de novo.")), std::string::npos);
}
