#include "support/TesteGrupos.h"
#include "support/qt/CaixaFalsa.h"

#include "export/UDados.h"
#include "platform/UCaminhos.h"
#include "profiles/UFConfiguracoes.h"
#include "profiles/UFConfiguracoesEdicao.h"
#include "qtbase/UTextoQt.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using TTextos = std::vector<std::string>;
const std::string L0 = P("Todos os Grupos");

std::filesystem::path Arquivo() {
    return TDadosExportacao::ArquivoPerfis();
}
std::string Lido() {
    return LerBinario(Arquivo());
}

// Shows the window over this profile file (none at all when absent).
std::unique_ptr<TFConfiguracoes> Abrir(const std::optional<std::string>& arquivo) {
    std::filesystem::remove(Arquivo());
    if (arquivo)
        GravarBinario(Arquivo(), *arquivo);
    auto janela = std::make_unique<TFConfiguracoes>(nullptr);
    janela->show();
    return janela;
}

QTableView& Grade(const TFConfiguracoes& janela) {
    return Controle<QTableView>(janela, "GridProdutos");
}

// The window's profiles as "description|groups", checked against the rows of its grid.
TTextos Perfis(const TFConfiguracoes& janela) {
    TTextos perfis;
    for (const TPerfil& perfil : janela.Perfis())
        perfis.push_back(perfil.descricao_perfil + "|" + perfil.grupos_vinculados);
    const QAbstractItemModel* modelo = Grade(janela).model();
    EXPECT_EQ(modelo->rowCount(), static_cast<int>(perfis.size()));
    for (int linha = 0; linha < modelo->rowCount(); ++linha)
        EXPECT_EQ(modelo->index(linha, 0).data().toString(), ParaQString(janela.Perfis()[linha].descricao_perfil));
    return perfis;
}

int LinhaAtual(const TFConfiguracoes& janela) {
    return Grade(janela).currentIndex().row();
}

// The profile file in the test's program folder, and product groups to link.
class TesteConfiguracoes : public TTesteGrupos {
protected:
    // Presses "Vincular Grupos" and lets the script act on the selection dialog; true when the dialog opened.
    bool Vincular(TFConfiguracoes& janela, std::function<void(TFFiltroGenerico2&)> roteiro) {
        const TAoAbrir<TFFiltroGenerico2> aoAbrir(std::move(roteiro));
        Clicar(janela, "btnVincular");
        return aoAbrir.Executou();
    }

    TCaixaFalsa FCaixa;
};

TEST_F(TesteConfiguracoes, CarregarEGravar_LeLinhasDeQualquerFimEGravaComCrLf) {
    const std::string acessorios = TextoAnsi("Acessórios");
    std::string longa = "(1";
    for (int chave = 2; chave <= 100; ++chave)
        longa += "," + std::to_string(chave);
    longa += ")";
    const std::string bebidas = P("Bebidas") + "(12,15,40)";
    const TTextos doisPerfis = {P("Bebidas") + "|(12,15,40)", P("Limpeza") + "|"};
    const std::string crLf = ArquivoDePerfis({bebidas, P("Limpeza")});
    const std::string so12 = ArquivoDePerfis({P("Bebidas") + "(12)"});
    // Each case: the file read (none when absent), the profiles, the file written (empty: the one read).
    const std::vector<std::tuple<std::optional<std::string>, TTextos, std::string>> casos = {
        {crLf, doisPerfis, ""},
        {L0 + "\n" + bebidas + "\n" + P("Limpeza") + "\n", doisPerfis, crLf},
        {L0 + "\r" + bebidas + "\r" + P("Limpeza") + "\r", doisPerfis, crLf},
        {L0 + "\r\n" + P("Bebidas") + "(12)", {P("Bebidas") + "|(12)"}, so12},
        {"Perfis antigos (1,2)\r\n" + P("Bebidas") + "(12)\r\n", {P("Bebidas") + "|(12)"}, so12},
        {ArquivoDePerfis({"Curto", "", P("X") + "(1)"}),
         {"Curto|", "|", P("X") + "|(1)"},
         ArquivoDePerfis({P("Curto"), P(""), P("X") + "(1)"})},
        {ArquivoDePerfis({P("Sessenta")}), {P("Sessenta") + "|"}, ""},
        {ArquivoDePerfis({P("Bebidas") + "  (12,15)  "}), {P("Bebidas") + "|  (12,15)  "}, ""},
        // The padding counts bytes of the file's code page.
        {ArquivoDePerfis({P(acessorios) + "(3)"}), {P(acessorios) + "|(3)"}, ""},
        {ArquivoDePerfis({P("Muitos") + longa}), {P("Muitos") + "|" + longa}, ""},
        {ArquivoDePerfis({}), {}, ""},
        {"", {}, ArquivoDePerfis({})},
        {std::nullopt, {}, ArquivoDePerfis({})},
    };
    for (const auto& [arquivo, perfis, gravado] : casos) {
        SCOPED_TRACE(arquivo.value_or("<no file>"));
        auto janela = Abrir(arquivo);
        EXPECT_EQ(Perfis(*janela), perfis);
        EXPECT_EQ(LinhaAtual(*janela), perfis.empty() ? -1 : 0);
        janela->close();
        EXPECT_FALSE(janela->isVisible());
        EXPECT_EQ(Lido(), gravado.empty() ? *arquivo : gravado);
        EXPECT_TRUE(FCaixa.Chamadas.empty());
    }
}

TEST_F(TesteConfiguracoes, Fechar_PorQualquerCaminho_GravaOArquivo_OuMostraAFalhaEFicaAberta) {
    const std::vector<std::pair<const char*, std::function<void(TFConfiguracoes&)>>> maneiras = {
        {"botao Fechar", [](TFConfiguracoes& j) { Clicar(j, "btnFechar"); }},
        {"Esc na grade", [](TFConfiguracoes& j) { Tecla(j, "GridProdutos", Qt::Key_Escape); }},
        {"Esc num botao", [](TFConfiguracoes& j) { Tecla(j, "btnIncluir", Qt::Key_Escape); }},
        {"Enter no botao Fechar", [](TFConfiguracoes& j) { Tecla(j, "btnFechar", Qt::Key_Return); }},
        {"caixa de fechar", [](TFConfiguracoes& j) { j.close(); }},
    };
    const std::string falha = TCaixaFalsa::InicioFalhaPadrao() + "Cannot create file \"" +
                              CaminhoUtf8(TDadosExportacao::ArquivoPerfis()) + "\".";
    for (const auto& [nome, fechar] : maneiras) {
        SCOPED_TRACE(nome);
        FCaixa.Chamadas.clear();
        auto janela = Abrir(std::nullopt);
        {
            const TAoAbrir<TFConfigurarPerfilEdicao> incluir([](TFConfigurarPerfilEdicao& d) {
                Controle<QLineEdit>(d, "EditDescricao").setText(QStringLiteral("Novo"));
                Clicar(d, "btnOk");
            });
            Clicar(*janela, "btnIncluir");
        }
        // A folder in the file's place: not even root can write the file.
        std::filesystem::create_directory(Arquivo());
        fechar(*janela);
        EXPECT_TRUE(janela->isVisible());
        ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
        EXPECT_EQ(FCaixa.Resumos()[0].rfind(falha, 0), 0u) << FCaixa.Resumos()[0];
        EXPECT_EQ(Perfis(*janela), TTextos{"Novo|"});

        std::filesystem::remove(Arquivo());
        fechar(*janela);
        EXPECT_FALSE(janela->isVisible());
        EXPECT_EQ(FCaixa.Chamadas.size(), 1u);
        EXPECT_EQ(Lido(), ArquivoDePerfis({P("Novo")}));
    }
}

TEST_F(TesteConfiguracoes, Incluir_PeloDialogoDeDescricao_SemConferirOTexto) {
    using TFim = std::function<void(TFConfigurarPerfilEdicao&)>;
    const TFim ok = [](TFConfigurarPerfilEdicao& d) { Clicar(d, "btnOk"); };
    const TFim esc = [](TFConfigurarPerfilEdicao& d) { Tecla(d, "EditDescricao", Qt::Key_Escape); };
    const TFim enter = [](TFConfigurarPerfilEdicao& d) {
        Tecla(d, "EditDescricao", Qt::Key_Return);
        EXPECT_TRUE(d.isVisible()) << "Enter in the description does nothing";
        Tecla(d, "btnOk", Qt::Key_Return);
    };
    // Each case: the text typed, how the dialog ends, the profile added (none when absent).
    const std::vector<std::tuple<QString, TFim, std::optional<std::string>>> casos = {
        {QStringLiteral("Acessórios"), ok, TextoAnsi("Acessórios")},
        {QStringLiteral("Bebidas (12)"), [](auto& d) { Tecla(d, "EditDescricao", Qt::Key_F3); }, "Bebidas (12)"},
        {QStringLiteral("X"), enter, "X"},
        {QString(), ok, ""},
        {QStringLiteral("Limpeza"), ok, "Limpeza"},
        {QStringLiteral("a\r\nb"), ok, "a  b"},
        {QString(70, QLatin1Char('z')), ok, std::string(60, 'z')},
        {QStringLiteral("Nao"), esc, std::nullopt},
        {QStringLiteral("Nao"), [](auto& d) { Clicar(d, "btnCancelar"); }, std::nullopt},
        {QStringLiteral("Nao"), [](auto& d) { d.close(); }, std::nullopt},
    };
    const std::string antes = ArquivoDePerfis({P("Limpeza") + "(15)", P("Frios")});
    for (const auto& [texto, fim, incluida] : casos) {
        SCOPED_TRACE(texto.toStdString() + (incluida ? " included" : " left out"));
        auto janela = Abrir(antes);
        const TAoAbrir<TFConfigurarPerfilEdicao> roteiro([&texto = texto, &fim = fim](TFConfigurarPerfilEdicao& d) {
            Controle<QLineEdit>(d, "EditDescricao").setText(texto);
            fim(d);
        });
        Clicar(*janela, "btnIncluir");
        EXPECT_TRUE(roteiro.Executou());
        TTextos perfis = {P("Limpeza") + "|(15)", P("Frios") + "|"};
        if (incluida)
            perfis.push_back(*incluida + "|");
        EXPECT_EQ(Perfis(*janela), perfis);
        EXPECT_EQ(LinhaAtual(*janela), incluida ? 2 : 0);
        janela->close();
        EXPECT_EQ(Lido(), incluida ? antes + P(*incluida) + "\r\n" : antes);
    }
}

TEST_F(TesteConfiguracoes, Excluir_PerguntaEPassaParaAProximaOuAAnterior_NadaNumaTabelaVazia) {
    using R = TRespostaMensagem;
    // Each case: the profiles in the file, the current row, the answers; the profiles and the row afterwards.
    const std::vector<std::tuple<std::string, int, std::vector<R>, std::string, int>> casos = {
        {"ABC", 1, {R::Sim}, "AC", 1},  {"ABC", 2, {R::Sim}, "AB", 1}, {"ABC", 0, {R::Sim}, "BC", 0},
        {"ABC", 1, {R::Nao}, "ABC", 1}, {"A", 0, {R::Sim}, "", -1},    {"", -1, {}, "", -1},
    };
    const auto arquivo = [](const std::string& letras) {
        std::string conteudo = L0 + "\r\n";
        for (const char letra : letras)
            conteudo += P(std::string(1, letra)) + "(" + std::to_string(letra - 'A' + 1) + ")\r\n";
        return conteudo;
    };
    for (const auto& [antes, atual, respostas, depois, atualDepois] : casos) {
        SCOPED_TRACE(antes + " " + std::to_string(atual));
        FCaixa.Chamadas.clear();
        FCaixa.Respostas.assign(respostas.begin(), respostas.end());
        auto janela = Abrir(arquivo(antes));
        Grade(*janela).setCurrentIndex(Grade(*janela).model()->index(atual, 0));
        Clicar(*janela, "btnExcluir");
        const TTextos pergunta = {"Confirmação (pergunta, *Sim/Não): Confirma excluir o perfil?"};
        EXPECT_EQ(FCaixa.Resumos(), antes.empty() ? TTextos{} : pergunta);
        EXPECT_EQ(Perfis(*janela).size(), depois.size());
        EXPECT_EQ(LinhaAtual(*janela), atualDepois);
        EXPECT_TRUE(janela->isVisible());
        janela->close();
        EXPECT_EQ(Lido(), arquivo(depois));
    }
}

#ifdef __linux__
TEST_F(TesteConfiguracoes, Abrir_ArquivoQueNaoSeLe_MostraAFalhaEFechaSemGravarPorCima) {
    // A file that exists but cannot be read, even by root: the process's own memory from address 0.
    std::filesystem::create_symlink("/proc/self/mem", Arquivo());
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_TRUE(Esperar([&] { return !janela.isVisible(); }));
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_EQ(FCaixa.Resumos()[0].rfind(TCaixaFalsa::InicioFalhaPadrao(), 0), 0u) << FCaixa.Resumos()[0];
    EXPECT_EQ(std::filesystem::read_symlink(Arquivo()), "/proc/self/mem");
}
#endif

TEST_F(TesteConfiguracoes, Vincular_SubconjuntoReabreMarcado_CancelarNaoMuda_ApagadosCaem) {
    auto janela = Abrir(ArquivoDePerfis({P("Outro") + "(12)", P("Bebidas")}));
    Grade(*janela).setCurrentIndex(Grade(*janela).model()->index(1, 0));
    EXPECT_TRUE(Vincular(*janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(d.QrySelecao().SQL(), "Select grupo_id, desc_arvore, \"S\" AS MARCADO from grupo\r\n"
                                        "Where apagado <> \"S\"\r\nOrder by desc_arvore");
        EXPECT_EQ(Controle<QLabel>(d, "lblPesquisa").text(), QStringLiteral("Grupo (Código/Descrição)"));
        EXPECT_EQ(Marcas(d), "SSSSS");
        Controle<QLineEdit>(d, "EditPesquisa").setText(QStringLiteral("fri"));
        Passos(d, "F5 Return");
    }));
    EXPECT_EQ(Perfis(*janela), (TTextos{P("Outro") + "|(12)", P("Bebidas") + "|(3,40,15,7)"}));

    EXPECT_TRUE(Vincular(*janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(Marcas(d), "SSNSS");
        Passos(d, "F7 Esc");
    }));
    EXPECT_EQ(Perfis(*janela), (TTextos{P("Outro") + "|(12)", P("Bebidas") + "|(3,40,15,7)"}));

    Executar(Conexao(), "UPDATE grupo SET apagado = 'S' WHERE grupo_id = 15");
    EXPECT_TRUE(Vincular(*janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(Marcas(d), "SSNS");
        Passos(d, "Return");
    }));
    EXPECT_EQ(LinhaAtual(*janela), 1);
    janela->close();
    EXPECT_EQ(Lido(), ArquivoDePerfis({P("Outro") + "(12)", P("Bebidas") + "(3,40,7)"}));
}

TEST_F(TesteConfiguracoes, Vincular_OkDeixaAListaComoODialogoDevolve) {
    std::string valores = "(101, 'Lista 101', 'N')";
    std::string duzentos = "(101";
    for (int chave = 102; chave <= 220; ++chave) {
        valores += ", (" + std::to_string(chave) + ", 'Lista " + std::to_string(chave) + "', 'N')";
        if (chave <= 200)
            duzentos += "," + std::to_string(chave);
    }
    duzentos += ")";
    ASSERT_GT(duzentos.size(), 200u);
    Executar(Conexao(), "INSERT INTO grupo VALUES " + valores);
    // Each case: the list in the file, the steps in the dialog, the list afterwards.
    const std::vector<std::tuple<std::string, std::string, std::string>> casos = {
        {"", "Return", ""},
        {"", "F7 Return", ""},
        {" (12,40) ", "Esc", " (12,40) "},
        {" (12,40) ", "Return", "(40,12)"},
        {duzentos, "Return", duzentos},
    };
    for (const auto& [lista, passos, depois] : casos) {
        SCOPED_TRACE(lista + " " + passos);
        auto janela = Abrir(ArquivoDePerfis({P("Perfil") + lista}));
        EXPECT_TRUE(Vincular(*janela, [&passos = passos](TFFiltroGenerico2& d) { Passos(d, passos); }));
        EXPECT_EQ(Perfis(*janela), TTextos{P("Perfil") + "|" + depois});
        janela->close();
        EXPECT_EQ(Lido(), ArquivoDePerfis({P("Perfil") + depois}));
    }
}

TEST_F(TesteConfiguracoes, Vincular_SemPerfilListaInvalidaOuConsultaQueNaoAbre_AvisaSemAbrirODialogo) {
    const std::string aviso = "Atenção (aviso, OK): ";
    // Each case: the list of the current profile (no profile at all when absent), a statement to run first, the
    // start of the box, what its text must name.
    const std::vector<std::tuple<std::optional<std::string>, const char*, std::string, TTextos>> casos = {
        {std::nullopt, "", "Informação (informação, OK): Informe ao menos um perfil antes de vincular grupos.", {}},
        {"(12;15)", "", aviso, {"\"Manual\"", "(12;15)"}},
        {"12,15", "", aviso, {"\"Manual\"", "12,15"}},
        {"(12,15); DROP TABLE grupo", "", aviso, {"\"Manual\"", "(12,15); DROP TABLE grupo"}},
        {"()", "", aviso, {"\"Manual\"", "()"}},
        {"(12)", "DROP TABLE grupo", TCaixaFalsa::InicioFalhaPadrao(), {"grupo"}},
    };
    for (const auto& [lista, sql, inicio, trechos] : casos) {
        SCOPED_TRACE(lista.value_or("<no profile>"));
        ASSERT_EQ(ContarGrupos(), 6) << "nothing of a refused list reached the server";
        if (*sql)
            Executar(Conexao(), sql);
        FCaixa.Chamadas.clear();
        const std::string arquivo = L0 + "\r\n" + (lista ? P("Manual") + *lista + "\r\n" : "");
        auto janela = Abrir(arquivo);
        EXPECT_FALSE(Vincular(*janela, [](TFFiltroGenerico2& d) { d.reject(); }));
        ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
        const std::string resumo = FCaixa.Resumos()[0];
        EXPECT_EQ(resumo.rfind(inicio, 0), 0u) << resumo;
        if (trechos.empty()) {
            EXPECT_EQ(resumo, inicio);
        }
        for (const auto& trecho : trechos)
            EXPECT_NE(resumo.find(trecho), std::string::npos) << resumo;
        EXPECT_TRUE(janela->isVisible());
        janela->close();
        EXPECT_EQ(Lido(), arquivo) << "the profile stays as it was";
    }
}

TEST_F(TesteConfiguracoes, LeitorDeTela_CadaJanelaDosPerfisTemONomeDaLegendaECadaControleUmNomeSo) {
    auto janela = Abrir(ArquivoDePerfis({P("Bebidas")}));
    EXPECT_EQ(ProblemasAcessiveis(*janela, QStringLiteral("Configurações")), TTextos{});
    TTextos edicao = {"not opened"};
    {
        const TAoAbrir<TFConfigurarPerfilEdicao> aoAbrir([&edicao](TFConfigurarPerfilEdicao& d) {
            edicao = ProblemasAcessiveis(d, QStringLiteral("Configurar Perfil"));
            EXPECT_EQ(NomeAcessivel(Controle<QLineEdit>(d, "EditDescricao")), QStringLiteral("Descrição do Perfil"));
            d.reject();
        });
        Clicar(*janela, "btnIncluir");
    }
    EXPECT_EQ(edicao, TTextos{});
    Grade(*janela).setCurrentIndex(Grade(*janela).model()->index(0, 0));
    TTextos selecao = {"not opened"};
    EXPECT_TRUE(Vincular(*janela, [&selecao](TFFiltroGenerico2& d) {
        selecao = ProblemasAcessiveis(d, QStringLiteral("Filtro - Seleção de Grupo"));
        d.reject();
    }));
    EXPECT_EQ(selecao, TTextos{});
    EXPECT_EQ(FCaixa.Resumos(), TTextos{});
}

} // namespace

TEST_F(TesteConfiguracoes, Teclado_TabSaiDaGradeSemMudarOPerfilAtual) {
    auto janela = Abrir(ArquivoDePerfis({P("Um"), P("Dois"), P("Tres")}));
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    auto& grade = Grade(*janela);
    grade.setFocus();
    QTest::keyClick(&grade, Qt::Key_Down);
    ASSERT_EQ(LinhaAtual(*janela), 1);
    for (const auto& [modificador, destino] :
         {std::pair{Qt::NoModifier, "btnVincular"}, std::pair{Qt::ShiftModifier, "btnFechar"}}) {
        grade.setFocus();
        QTest::keyClick(&grade, Qt::Key_Tab, modificador);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(destino));
        EXPECT_EQ(LinhaAtual(*janela), 1) << "the next Excluir or Vincular acts on the profile chosen";
    }
}
