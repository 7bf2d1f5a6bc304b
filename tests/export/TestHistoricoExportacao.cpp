#include "support/ArquivoPreso.h"
#include "support/TestDb.h"

#include "export/UHistoricoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/USha256.h"

#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"
#include "platform/UProcesso.h"

#include <chrono>
#include <thread>

// Failures name a row by what tells it apart.
void PrintTo(const TRegistroExportacao& r, std::ostream* saida) {
    *saida << r.Momento.TextoExibicao() << " empresa " << r.Empresa << " " << CaminhoUtf8(r.Arquivo) << " " << r.Linhas;
}

namespace {

class TesteHistorico : public ::testing::Test {
protected:
    void SetUp() override { UsarPastaDoTeste(FPasta); }
    void TearDown() override {
        THistoricoExportacao::DefinirEsperaTrava({});
        RestaurarPastas();
    }

    TRegistroExportacao Registro(int empresa, const std::string& de, const std::string& ate, int segundo = 0) {
        TRegistroExportacao r;
        r.Momento = {2024, 3, 5, 14, 22, segundo};
        r.Usuario = "joao";
        r.Empresa = empresa;
        r.NomeEmpresa = "LOJA";
        r.CodTorvane = 7;
        r.DataInicial = *TDataHora::DoTextoIso(de);
        r.DataFinal = *TDataHora::DoTextoIso(ate);
        r.Arquivo = FPasta.Sistema() / "a.txt";
        r.Linhas = 2;
        r.TotalCentavos = 1234;
        r.Sha256 = Sha256("");
        r.Grupos = "";
        return r;
    }
    std::string Historico() const { return LerBinario(THistoricoExportacao::Arquivo()); }

    TPastaTemporaria FPasta;
};

// The header of a record made before the groups, the kind of file and the copy were kept, and the one of now.
const std::string CabecalhoAntigo = "Data e hora;Usu\xE1rio;Empresa;Nome da empresa;C\xF3"
                                    "digo Torvane;Data do per\xEDodo;Data inicial;Data final;Perfil;Descri\xE7\xE3o do "
                                    "perfil;Arquivo;Lan\xE7"
                                    "amentos;Total em centavos;SHA-256\r\n";
const std::string Cabecalho =
    CabecalhoAntigo.substr(0, CabecalhoAntigo.size() - 2) + ";Grupos;Somente novos;C\xF3pia\r\n";

TEST_F(TesteHistorico, RegistrarLer_RowsReadBackWholeAfterOneHeader) {
    auto simples = Registro(3, "2024-02-01", "2024-02-29");
    auto especial = Registro(12, "2024-03-01", "2024-03-31", 9);
    especial.DataLancamento = false;
    especial.NomeEmpresa = "CAF\xC9 \"A\xC7\xC3O\"; FILIAL";
    especial.Perfil = 2;
    especial.DescricaoPerfil = "Acess\xF3rios\r\nlinha 2";
    especial.Arquivo = FPasta.Sistema() / CaminhoDeUtf8("użyt_отчёт;ação.txt");
    // Fields that a spreadsheet would run as formulas, and one that begins with the apostrophe that disarms them.
    auto formulas = Registro(4, "2024-03-01", "2024-03-31", 10);
    formulas.Usuario = "@joao";
    formulas.NomeEmpresa = "=HYPERLINK(\"http://x\";\"a\")";
    formulas.DescricaoPerfil = "+1";
    auto apostrofo = Registro(5, "2024-03-01", "2024-03-31", 11);
    apostrofo.NomeEmpresa = "-2";
    apostrofo.DescricaoPerfil = "'citado";
    // A spreadsheet also runs a formula after a leading tab or carriage return.
    auto brancos = Registro(6, "2024-03-01", "2024-03-31", 12);
    brancos.NomeEmpresa = "\t=1+1";
    brancos.DescricaoPerfil = "\r=2+2";
    for (const auto& r : {simples, especial, formulas, apostrofo, brancos})
        EXPECT_EQ(THistoricoExportacao::Registrar(r), "");

    EXPECT_EQ(Historico().substr(0, Cabecalho.size() + 12), Cabecalho + "05/03/2024 1");
    EXPECT_EQ(Historico().find(Cabecalho, 1), std::string::npos) << "header once";
    EXPECT_NE(Historico().find(";3;LOJA;7;lancamento;01/02/2024;29/02/2024;0;;" + CaminhoParaValor(simples.Arquivo) +
                               ";2;1234;" + Sha256("") + ";;;\r\n"),
              std::string::npos);
    EXPECT_NE(Historico().find(";\"CAF\xC9 \"\"A\xC7\xC3O\"\"; FILIAL\";7;vencimento;"), std::string::npos);
    EXPECT_NE(Historico().find(";'@joao;4;\"'=HYPERLINK(\"\"http://x\"\";\"\"a\"\")\";7;"), std::string::npos);
    EXPECT_NE(Historico().find(";0;'+1;"), std::string::npos);
    EXPECT_NE(Historico().find(";5;'-2;7;lancamento;01/03/2024;31/03/2024;0;''citado;"), std::string::npos);
    EXPECT_NE(Historico().find(";6;'\t=1+1;7;lancamento;01/03/2024;31/03/2024;0;\"'\r=2+2\";"), std::string::npos);
    const auto leitura = THistoricoExportacao::Ler();
    EXPECT_EQ(leitura.Registros, (std::vector<TRegistroExportacao>{simples, especial, formulas, apostrofo, brancos}));
    EXPECT_EQ(leitura.Danificadas, 0u);
}

// A record that another program holds (a spreadsheet on Windows): the row waits in the user's folder, is read with
// the record meanwhile, and goes in, after the ones before it, with the next row the record takes.
TEST_F(TesteHistorico, Registrar_RecordHeldByAnotherProgram_RowWaitsAndGoesInWithTheNextOneInOrder) {
    THistoricoExportacao::DefinirEsperaTrava(std::chrono::milliseconds(300));
    const auto primeiro = Registro(3, "2024-02-01", "2024-02-29", 1);
    const auto segundo = Registro(3, "2024-03-01", "2024-03-31", 2);
    const auto terceiro = Registro(4, "2024-03-01", "2024-03-31", 3);
    EXPECT_EQ(THistoricoExportacao::Registrar(primeiro), "");
    const std::string antes = Historico();
    {
        TArquivoPreso preso(THistoricoExportacao::Arquivo());
        ASSERT_TRUE(preso.Preso());
        const std::string aviso = THistoricoExportacao::Registrar(segundo);
        EXPECT_EQ(aviso.rfind(TextoAnsi("O histórico de exportações estava ocupado: "), 0), 0u) << aviso;
        EXPECT_NE(aviso.find(CaminhoMensagem(THistoricoExportacao::ArquivoPendente())), std::string::npos) << aviso;
        EXPECT_EQ(Historico(), antes);
        EXPECT_EQ(THistoricoExportacao::Ler().Registros, (std::vector<TRegistroExportacao>{primeiro, segundo}));
        EXPECT_EQ(THistoricoExportacao::ArquivoPendente().parent_path(), PastaDados());
    }
    EXPECT_EQ(THistoricoExportacao::Registrar(terceiro), "");
    EXPECT_FALSE(ArquivoExiste(THistoricoExportacao::ArquivoPendente()));
    EXPECT_EQ(THistoricoExportacao::Ler().Registros, (std::vector<TRegistroExportacao>{primeiro, segundo, terceiro}));
    EXPECT_EQ(Historico().find(Cabecalho, 1), std::string::npos) << "header once";
}

TEST_F(TesteHistorico, Ler_MissingOrEmptyGivesNothingAndDamagedRowsAreSkippedAndCounted) {
    EXPECT_TRUE(THistoricoExportacao::Ler().Registros.empty());
    GravarBinario(THistoricoExportacao::Arquivo(), "");
    EXPECT_TRUE(THistoricoExportacao::Ler().Registros.empty());
    const auto bom = Registro(3, "2024-02-01", "2024-02-29");
    THistoricoExportacao::Registrar(bom);
    const std::string linha = Historico().substr(Cabecalho.size());
    const auto trocar = [&linha](const std::string& de, const std::string& para) {
        std::string copia = linha;
        return copia.replace(copia.find(de), de.size(), para);
    };
    GravarBinario(THistoricoExportacao::Arquivo(),
                  Cabecalho + trocar("29/02/2024", "30/02/2024") + trocar(";lancamento;", ";outra;") +
                      trocar(";LOJA;", ";LOJA;X;") + trocar(";LOJA;", ";\"LOJA;") + trocar(";LOJA;", ";LO\"JA;") +
                      linha.substr(0, 40) + "\r\n" + Cabecalho + linha);
    const auto leitura = THistoricoExportacao::Ler();
    EXPECT_EQ(leitura.Registros, std::vector<TRegistroExportacao>{bom});
    EXPECT_EQ(leitura.Danificadas, 6u);
    EXPECT_NE(leitura.AvisoDanificadas().find("6 linhas danificadas"), std::string::npos);

    // A record of before the last three columns: its rows read, without groups, and the rows after them with theirs.
    const std::string antiga = linha.substr(0, linha.size() - 5) + "\r\n";
    auto novo = Registro(3, "2024-03-01", "2024-03-31", 5);
    novo.Grupos = "(10,20)";
    novo.SomenteNovos = true;
    novo.Copia = Sha256("") + ".txt";
    GravarBinario(THistoricoExportacao::Arquivo(), CabecalhoAntigo + antiga);
    EXPECT_EQ(THistoricoExportacao::Registrar(novo), "");
    auto semGrupos = bom;
    semGrupos.Grupos.reset();
    EXPECT_EQ(THistoricoExportacao::Ler().Registros, (std::vector<TRegistroExportacao>{semGrupos, novo}));
    EXPECT_EQ(THistoricoExportacao::Ler().Danificadas, 0u);
    // A kind of file or a copy's name that is not one of the record's.
    for (const auto& [de, para] : std::vector<std::pair<std::string, std::string>>{
             {";S;", ";X;"}, {".txt\r\n", ".bin\r\n"}, {";(10,20);", ";(10;20);"}}) {
        std::string texto = Historico();
        texto.replace(texto.rfind(de), de.size(), para);
        GravarBinario(THistoricoExportacao::Arquivo(), texto);
        EXPECT_EQ(THistoricoExportacao::Ler().Danificadas, 1u) << para;
    }
}

TEST_F(TesteHistorico, ExportacoesSobrepostas_SameCompanyWithASharedDayNewestFirst) {
    const auto fevereiro = Registro(3, "2024-02-01", "2024-02-29", 1);
    const auto marco = Registro(3, "2024-03-01", "2024-03-31", 2);
    const auto outraEmpresa = Registro(4, "2024-02-01", "2024-02-29", 3);
    for (const auto& r : {fevereiro, marco, outraEmpresa})
        THistoricoExportacao::Registrar(r);
    struct C {
        int Empresa;
        std::string De, Ate;
        std::vector<TRegistroExportacao> Esperados;
    };
    for (const auto& c :
         Casos<C>(C{3, "2024-02-29", "2024-03-01", {marco, fevereiro}}, C{3, "2024-01-01", "2024-02-01", {fevereiro}},
                  C{3, "2024-03-31", "2024-04-30", {marco}}, C{3, "2024-01-01", "2024-01-31", {}},
                  C{4, "2024-01-01", "2024-12-31", {outraEmpresa}}, C{5, "2024-02-01", "2024-02-29", {}}))
        EXPECT_EQ(THistoricoExportacao::ExportacoesSobrepostas(c.Empresa, *TDataHora::DoTextoIso(c.De),
                                                               *TDataHora::DoTextoIso(c.Ate))
                      .Registros,
                  c.Esperados)
            << c.Empresa << " " << c.De << " " << c.Ate;
}

TEST_F(TesteHistorico, Conferir_TellsWhetherTheFileIsTheOneWritten) {
    const std::string linha = "070000004521CLIENTE EXEMPLO                         0503202400189301000000123450\r\n";
    struct C {
        std::string Nome;
        std::string Depois; // the file's text when checked; "-" for no file
        bool Registrado;
        TSituacaoConferencia Situacao;
        std::string Trecho;
    };
    for (const auto& c :
         Casos<C>(C{"igual.txt", linha + linha, true, TSituacaoConferencia::Conferido, "R$ 2.469,00."},
                  C{"editado.txt", linha + linha.substr(0, 70) + "9" + linha.substr(71), true,
                    TSituacaoConferencia::Alterado, "Total: registrado R$ 2.469,00, encontrado R$ 90.002.469,00."},
                  C{"curto.txt", linha, true, TSituacaoConferencia::Alterado, "registrados 2, encontrados 1."},
                  // A line without its CR is no line of the export.
                  C{"semcr.txt", linha + linha.substr(0, 80) + "\n", true, TSituacaoConferencia::Alterado,
                    "registrados 2, encontrados 1."},
                  // Same lines and total: only the fingerprint tells.
                  C{"nome.txt", linha + linha.substr(0, 12) + "CLIENTE EXEMPLA" + linha.substr(27), true,
                    TSituacaoConferencia::Alterado, "SHA-256: registrado " + Sha256(linha + linha) + ", encontrado "},
                  C{"apagado.txt", "-", true, TSituacaoConferencia::Ausente, "R$ 2.469,00."},
                  C{"alheio.txt", linha, false, TSituacaoConferencia::SemRegistro, "HistoricoExportacao.csv"})) {
        SCOPED_TRACE(c.Nome);
        const auto caminho = FPasta.Sistema() / c.Nome;
        GravarBinario(caminho, linha + linha);
        auto r = Registro(3, "2024-02-01", "2024-02-29", 5);
        r.Arquivo = caminho;
        r.TotalCentavos = 246900;
        r.Sha256 = Sha256(LerBinario(caminho));
        // The row appended last counts, whatever the clocks of the PCs that wrote the others said.
        auto anterior = r;
        anterior.Momento.Segundo = 6;
        anterior.Linhas = 7;
        auto mesmoSegundo = r;
        mesmoSegundo.Linhas = 9;
        if (c.Registrado)
            for (const auto& registro : {anterior, mesmoSegundo, r})
                THistoricoExportacao::Registrar(registro);
        if (c.Depois == "-")
            std::filesystem::remove(caminho);
        else
            GravarBinario(caminho, c.Depois);
        // The same file, its path written another way.
        const auto conferencia = THistoricoExportacao::Conferir(FPasta.Sistema() / "." / c.Nome);
        EXPECT_EQ(conferencia.Situacao, c.Situacao);
        EXPECT_EQ(conferencia.Registro, c.Registrado ? std::optional(r) : std::nullopt);
        const std::string texto = ::testing::PrintToString(conferencia.Mensagens);
        EXPECT_NE(texto.find(c.Trecho), std::string::npos) << texto;
    }
}

TEST_F(TesteHistorico, Registrar_AfterARowWithoutItsLineEnd_KeepsBothRowsWhole) {
    const auto primeiro = Registro(3, "2024-02-01", "2024-02-29", 1);
    const auto segundo = Registro(4, "2024-02-01", "2024-02-29", 2);
    const auto terceiro = Registro(5, "2024-02-01", "2024-02-29", 3);
    THistoricoExportacao::Registrar(primeiro);
    // A hand edit took the last line end away.
    GravarBinario(THistoricoExportacao::Arquivo(), Historico().substr(0, Historico().size() - 2));
    THistoricoExportacao::Registrar(segundo);
    auto leitura = THistoricoExportacao::Ler();
    EXPECT_EQ(leitura.Registros, (std::vector<TRegistroExportacao>{primeiro, segundo}));
    EXPECT_EQ(leitura.Danificadas, 0u);

    // A full disk let only part of a row through: it stays a damaged row of its own.
    const std::string linha = Historico().substr(Historico().rfind("\r\n", Historico().size() - 3) + 2);
    GravarBinario(THistoricoExportacao::Arquivo(), Historico() + linha.substr(0, 30));
    THistoricoExportacao::Registrar(terceiro);
    leitura = THistoricoExportacao::Ler();
    EXPECT_EQ(leitura.Registros, (std::vector<TRegistroExportacao>{primeiro, segundo, terceiro}));
    EXPECT_EQ(leitura.Danificadas, 1u);
}

TEST_F(TesteHistorico, Arquivo_IsInTheFolderThatTheConnectionSettingsName) {
    TPastaTemporaria escritorio;
    const auto compartilhada = escritorio.Sistema() / CaminhoDeUtf8("hist\u00f3rico");
    struct C {
        std::string Valor;
        std::filesystem::path Pasta;
    };
    for (const auto& c :
         Casos<C>(C{"", FPasta.Sistema()}, C{"   ", FPasta.Sistema()},
                  C{CaminhoParaValor(compartilhada), compartilhada}, C{"relativa", FPasta.Sistema() / "relativa"})) {
        SCOPED_TRACE(c.Valor);
        GravarBinario(FPasta.Sistema() / "sistema_qor.ini",
                      "[ip]\r\nlocal=x\r\n[Historico]\r\nPasta=" + c.Valor + "\r\n");
        EXPECT_EQ(THistoricoExportacao::Arquivo(), c.Pasta / "HistoricoExportacao.csv");
        // A missing folder is made on the first row.
        THistoricoExportacao::Registrar(Registro(3, "2024-02-01", "2024-02-29"));
        EXPECT_EQ(THistoricoExportacao::Ler().Registros.size(), 1u);
        std::filesystem::remove(THistoricoExportacao::Arquivo());
    }
}

TEST_F(TesteHistorico, Registrar_FailsNamingTheRecordAndTheReason) {
    std::filesystem::create_directory(THistoricoExportacao::Arquivo());
    const std::string falha =
        TextoDaFalha([&] { THistoricoExportacao::Registrar(Registro(3, "2024-02-01", "2024-02-29")); });
    EXPECT_EQ(falha.find(TextoAnsi("Não foi possível gravar no arquivo \"") +
                         CaminhoMensagem(THistoricoExportacao::Arquivo()) + "\". "),
              0u)
        << falha;
}

// Several programs append at the same moment, on one PC or through a share: each is this very test, started
// again, adding its long rows (a write split in two would show) once the start file appears.
TEST_F(TesteHistorico, Registrar_SeveralProgramsAtOnceAllKeepEveryRowWhole) {
    constexpr int Programas = 4;
    constexpr int Linhas = 150;
    const auto registro = [this](const std::filesystem::path& pasta, int programa, int i) {
        auto r = Registro(programa + 1, "2024-02-01", "2024-02-29");
        r.Linhas = static_cast<std::size_t>(i);
        r.DescricaoPerfil = std::string(3000, static_cast<char>('a' + programa));
        r.Arquivo = pasta / "a.txt";
        return r;
    };
    if (const auto pasta = LerAmbiente("TORVANE_TESTE_HISTORICO"); pasta && !pasta->empty()) {
        const auto compartilhada = CaminhoDeUtf8(*pasta);
        const int programa = std::stoi(*LerAmbiente("TORVANE_TESTE_PROGRAMA"));
        DefinirPastaPrograma(compartilhada);
        DefinirPastasConfiguracao(compartilhada, compartilhada);
        for (int espera = 0; espera < 6000 && !ArquivoExiste(compartilhada / "partida"); ++espera)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (int i = 0; i < Linhas; ++i)
            THistoricoExportacao::Registrar(registro(compartilhada, programa, i));
        return;
    }
    DefinirPastaPrograma({});
#ifdef _WIN32
    const auto esteTeste = PastaPrograma() / "test_historico_exportacao.exe";
#else
    const auto esteTeste = PastaPrograma() / "test_historico_exportacao";
#endif
    UsarPastaDoTeste(FPasta);
    std::vector<std::thread> programas;
    std::vector<int> status(Programas, -1);
    TPastaTemporaria saidas;
    for (int programa = 0; programa < Programas; ++programa)
        programas.emplace_back([&, programa] {
            const auto saida = saidas.Sistema() / std::to_string(programa);
            status[static_cast<std::size_t>(programa)] = RodarPrograma(
                {esteTeste,
                 {"--gtest_filter=TesteHistorico.Registrar_SeveralProgramsAtOnceAllKeepEveryRowWhole"},
                 {{"TORVANE_TESTE_HISTORICO", FPasta.Caminho()}, {"TORVANE_TESTE_PROGRAMA", std::to_string(programa)}},
                 saida,
                 saida,
                 {}});
        });
    GravarBinario(FPasta.Sistema() / "partida", "");
    for (auto& programa : programas)
        programa.join();
    EXPECT_EQ(status, std::vector<int>(Programas, 0));
    const auto leitura = THistoricoExportacao::Ler();
    EXPECT_EQ(leitura.Danificadas, 0u);
    for (int programa = 0; programa < Programas; ++programa) {
        std::vector<TRegistroExportacao> lidos, esperados;
        std::copy_if(leitura.Registros.begin(), leitura.Registros.end(), std::back_inserter(lidos),
                     [programa](const auto& r) { return r.Empresa == programa + 1; });
        for (int i = 0; i < Linhas; ++i)
            esperados.push_back(registro(FPasta.Sistema(), programa, i));
        EXPECT_TRUE(lidos == esperados) << lidos.size() << " rows read of program " << programa;
    }
}

} // namespace
