#include "JanelasTeste.h"
#include "TestDb.h"
#include "UCp1252.h"
#include "UDados.h"
#include "UFConfiguracoes.h"
#include "UFConfiguracoesEdicao.h"
#include "UFalhas.h"
#include "UFiltroGenerico2.h"
#include "UPastaPrograma.h"
#include "UQuery.h"
#include "UTextoQt.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A description as the file holds it: padded with blanks to 60 bytes.
std::string P(const std::string& descricao) {
    return descricao + std::string(60 - descricao.size(), ' ');
}

const std::string L0 = P("Todos os Grupos");

template <class T> T* Controle(QWidget& janela, const char* nome) {
    T* controle = janela.findChild<T*>(QString::fromLatin1(nome));
    EXPECT_NE(controle, nullptr) << nome;
    return controle;
}

QTableView* Grade(TFConfiguracoes& janela) {
    return Controle<QTableView>(janela, "GridProdutos");
}

int LinhaAtual(TFConfiguracoes& janela) {
    return Grade(janela)->currentIndex().row();
}

void IrPara(TFConfiguracoes& janela, int linha) {
    Grade(janela)->setCurrentIndex(Grade(janela)->model()->index(linha, 0));
}

std::vector<std::string> Descricoes(const TFConfiguracoes& janela) {
    std::vector<std::string> descricoes;
    for (const TPerfil& perfil : janela.Perfis())
        descricoes.push_back(perfil.descricao_perfil);
    return descricoes;
}

std::vector<std::string> Grupos(const TFConfiguracoes& janela) {
    std::vector<std::string> grupos;
    for (const TPerfil& perfil : janela.Perfis())
        grupos.push_back(perfil.grupos_vinculados);
    return grupos;
}

std::string Marcas(TFFiltroGenerico2& dialogo) {
    const QAbstractItemModel* modelo = Controle<QTableView>(dialogo, "oGrid")->model();
    std::string marcas;
    for (int linha = 0; linha < modelo->rowCount(); ++linha)
        marcas += modelo->index(linha, 0).data(TFFiltroGenerico2::PapelMarcado).toBool() ? 'S' : 'N';
    return marcas;
}

// The profile file in a temporary program folder.
class TesteConfiguracoes : public ::testing::Test {
protected:
    void SetUp() override { DefinirPastaPrograma(FPasta.Caminho()); }
    void TearDown() override { DefinirPastaPrograma(""); }

    std::filesystem::path Arquivo() const { return FPasta.Sistema() / "PerfilTorvane.txt"; }
    void Gravar(const std::string& conteudo) const { GravarBinario(Arquivo(), conteudo); }
    std::string Lido() const { return LerBinario(Arquivo()); }

    TPastaTemporaria FPasta;
    TCaixaFalsa FCaixa;
};

TEST_F(TesteConfiguracoes, Janela_TemControlesTitulosEOrdemDeTabulacao) {
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Configurações"));
    auto* titulo = Controle<QLabel>(janela, "Label5");
    EXPECT_EQ(titulo->text(), QStringLiteral("Configurar Perfis"));
    EXPECT_TRUE(titulo->font().bold());
    EXPECT_EQ(titulo->font().family(), QStringLiteral("Arial"));
    EXPECT_GT(titulo->font().pointSize(), janela.font().pointSize());
    EXPECT_EQ(titulo->parentWidget(), Controle<QWidget>(janela, "pnlCabecalho"));
    auto* grade = Grade(janela);
    EXPECT_EQ(grade->model()->columnCount(), 1);
    EXPECT_EQ(grade->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Descrição"));
    EXPECT_EQ(grade->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grade->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(grade->verticalHeader()->isVisible());
    EXPECT_TRUE(grade->horizontalHeader()->styleSheet().contains(QStringLiteral("rgb(0, 64, 128)")));
    EXPECT_EQ(Controle<QGroupBox>(janela, "GroupBox1")->title(), QStringLiteral("Opções"));
    const std::vector<std::pair<const char*, QString>> botoes = {{"btnVincular", QStringLiteral("Vincular Grupos")},
                                                                 {"btnIncluir", QStringLiteral("Incluir")},
                                                                 {"btnExcluir", QStringLiteral("Excluir")},
                                                                 {"btnFechar", QStringLiteral("Fechar (Esc)")}};
    std::vector<QWidget*> ordem;
    for (const auto& [nome, texto] : botoes) {
        auto* botao = Controle<QPushButton>(janela, nome);
        EXPECT_EQ(botao->text(), texto);
        EXPECT_EQ(botao->parentWidget(), Controle<QWidget>(janela, "GroupBox1"));
        ordem.push_back(botao);
    }
    ordem.push_back(grade);
    EXPECT_EQ(OrdemDeTabulacao(ordem.front()), ordem);
    EXPECT_EQ(janela.focusWidget(), Controle<QPushButton>(janela, "btnVincular"));
    janela.close();
}

struct TCasoArquivo {
    const char* Nome;
    std::string Arquivo;
    std::vector<std::string> Descricoes;
    std::vector<std::string> Grupos;
    std::string Gravado;
};

std::string ListaLonga() {
    std::string lista = "(";
    for (int chave = 1; chave <= 100; ++chave)
        lista += (chave > 1 ? "," : "") + std::to_string(chave);
    return lista + ")";
}

TEST_F(TesteConfiguracoes, CarregarEGravar_LeLinhasDeQualquerFimEGravaComCrLf) {
    const std::string acessorios = TextoAnsi("Acessórios");
    ASSERT_EQ(acessorios.size(), 10u);
    const std::vector<TCasoArquivo> casos = {
        {"CR LF",
         L0 + "\r\n" + P("Bebidas") + "(12,15,40)\r\n" + P("Limpeza") + "\r\n",
         {P("Bebidas"), P("Limpeza")},
         {"(12,15,40)", ""},
         L0 + "\r\n" + P("Bebidas") + "(12,15,40)\r\n" + P("Limpeza") + "\r\n"},
        {"so LF",
         L0 + "\n" + P("Bebidas") + "(12,15,40)\n" + P("Limpeza") + "\n",
         {P("Bebidas"), P("Limpeza")},
         {"(12,15,40)", ""},
         L0 + "\r\n" + P("Bebidas") + "(12,15,40)\r\n" + P("Limpeza") + "\r\n"},
        {"so CR",
         L0 + "\r" + P("Bebidas") + "(12,15,40)\r" + P("Limpeza") + "\r",
         {P("Bebidas"), P("Limpeza")},
         {"(12,15,40)", ""},
         L0 + "\r\n" + P("Bebidas") + "(12,15,40)\r\n" + P("Limpeza") + "\r\n"},
        {"sem fim de linha no fim",
         L0 + "\r\n" + P("Bebidas") + "(12)",
         {P("Bebidas")},
         {"(12)"},
         L0 + "\r\n" + P("Bebidas") + "(12)\r\n"},
        {"linha 0 qualquer",
         "Perfis antigos (1,2)\r\n" + P("Bebidas") + "(12)\r\n",
         {P("Bebidas")},
         {"(12)"},
         L0 + "\r\n" + P("Bebidas") + "(12)\r\n"},
        {"linhas curtas e vazia",
         L0 + "\r\nCurto\r\n\r\n" + P("X") + "(1)\r\n",
         {"Curto", "", P("X")},
         {"", "", "(1)"},
         L0 + "\r\n" + P("Curto") + "\r\n" + P("") + "\r\n" + P("X") + "(1)\r\n"},
        {"exatamente 60",
         L0 + "\r\n" + P("Sessenta") + "\r\n",
         {P("Sessenta")},
         {""},
         L0 + "\r\n" + P("Sessenta") + "\r\n"},
        {"brancos em volta da lista",
         L0 + "\r\n" + P("Bebidas") + "  (12,15)  \r\n",
         {P("Bebidas")},
         {"  (12,15)  "},
         L0 + "\r\n" + P("Bebidas") + "  (12,15)  \r\n"},
        {"acentos contam bytes",
         L0 + "\r\n" + P(acessorios) + "(3)\r\n",
         {P(acessorios)},
         {"(3)"},
         L0 + "\r\n" + acessorios + std::string(50, ' ') + "(3)\r\n"},
        {"lista longa inteira",
         L0 + "\r\n" + P("Muitos") + ListaLonga() + "\r\n",
         {P("Muitos")},
         {ListaLonga()},
         L0 + "\r\n" + P("Muitos") + ListaLonga() + "\r\n"},
        {"so a linha 0", L0 + "\r\n", {}, {}, L0 + "\r\n"},
        {"arquivo vazio", "", {}, {}, L0 + "\r\n"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        Gravar(caso.Arquivo);
        TFConfiguracoes janela(nullptr);
        janela.show();
        EXPECT_EQ(Descricoes(janela), caso.Descricoes);
        EXPECT_EQ(Grupos(janela), caso.Grupos);
        const QAbstractItemModel* modelo = Grade(janela)->model();
        ASSERT_EQ(modelo->rowCount(), static_cast<int>(caso.Descricoes.size()));
        for (int linha = 0; linha < modelo->rowCount(); ++linha)
            EXPECT_EQ(modelo->index(linha, 0).data().toString(), ParaQString(caso.Descricoes[linha]));
        EXPECT_EQ(LinhaAtual(janela), caso.Descricoes.empty() ? -1 : 0);
        janela.close();
        EXPECT_FALSE(janela.isVisible());
        EXPECT_EQ(Lido(), caso.Gravado);
        EXPECT_TRUE(FCaixa.Chamadas.empty());
    }
}

TEST_F(TesteConfiguracoes, SemArquivo_AbreVazia_EAoFecharCriaSoALinha0) {
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_TRUE(janela.Perfis().empty());
    EXPECT_EQ(Grade(janela)->model()->rowCount(), 0);
    janela.close();
    EXPECT_EQ(Lido(), L0 + "\r\n");
}

TEST_F(TesteConfiguracoes, Fechar_PorQualquerCaminho_GravaOArquivo) {
    const std::vector<std::pair<const char*, std::function<void(TFConfiguracoes&)>>> maneiras = {
        {"botao Fechar", [](TFConfiguracoes& j) { Controle<QPushButton>(j, "btnFechar")->click(); }},
        {"Esc na grade", [](TFConfiguracoes& j) { QTest::keyClick(Grade(j), Qt::Key_Escape); }},
        {"Esc num botao",
         [](TFConfiguracoes& j) { QTest::keyClick(Controle<QPushButton>(j, "btnIncluir"), Qt::Key_Escape); }},
        {"Enter no botao Fechar",
         [](TFConfiguracoes& j) { QTest::keyClick(Controle<QPushButton>(j, "btnFechar"), Qt::Key_Return); }},
        {"caixa de fechar", [](TFConfiguracoes& j) { j.close(); }},
    };
    for (const auto& [nome, fechar] : maneiras) {
        SCOPED_TRACE(nome);
        Gravar("x\n" + P("Bebidas") + "(12)\n");
        TFConfiguracoes janela(nullptr);
        janela.show();
        fechar(janela);
        EXPECT_FALSE(janela.isVisible());
        EXPECT_EQ(Lido(), L0 + "\r\n" + P("Bebidas") + "(12)\r\n");
    }
}

TEST_F(TesteConfiguracoes, Exec_ComoAJanelaPrincipalAbre_VoltaDepoisDeGravar) {
    Gravar(L0 + "\n");
    TFConfiguracoes janela(nullptr);
    TAoAbrir<TFConfiguracoes> fechar([](TFConfiguracoes& j) { QTest::keyClick(Grade(j), Qt::Key_Escape); });
    janela.exec();
    EXPECT_TRUE(fechar.Executou());
    EXPECT_EQ(Lido(), L0 + "\r\n");
}

struct TCasoInclusao {
    const char* Nome;
    std::function<void(TFConfigurarPerfilEdicao&)> Acao;
    bool Incluiu;
    std::string Descricao;
};

void Digitar(TFConfigurarPerfilEdicao& dialogo, const QString& texto) {
    Controle<QLineEdit>(dialogo, "EditDescricao")->setText(texto);
}

TEST_F(TesteConfiguracoes, Incluir_PeloDialogoDeDescricao) {
    const std::vector<TCasoInclusao> casos = {
        {"OK",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("Acessórios"));
             Controle<QPushButton>(d, "btnOk")->click();
         },
         true, TextoAnsi("Acessórios")},
        {"F3",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("Bebidas (12)"));
             QTest::keyClick(Controle<QLineEdit>(d, "EditDescricao"), Qt::Key_F3);
         },
         true, "Bebidas (12)"},
        {"Enter na descricao nada faz",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("X"));
             QTest::keyClick(Controle<QLineEdit>(d, "EditDescricao"), Qt::Key_Return);
             EXPECT_TRUE(d.isVisible());
             QTest::keyClick(Controle<QPushButton>(d, "btnOk"), Qt::Key_Return);
         },
         true, "X"},
        {"vazia", [](TFConfigurarPerfilEdicao& d) { Controle<QPushButton>(d, "btnOk")->click(); }, true, ""},
        {"repetida",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("Limpeza"));
             Controle<QPushButton>(d, "btnOk")->click();
         },
         true, "Limpeza"},
        {"quebra de linha colada",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("a\r\nb"));
             Controle<QPushButton>(d, "btnOk")->click();
         },
         true, "a  b"},
        {"Esc",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("Nao"));
             QTest::keyClick(Controle<QLineEdit>(d, "EditDescricao"), Qt::Key_Escape);
         },
         false, ""},
        {"Cancelar",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("Nao"));
             Controle<QPushButton>(d, "btnCancelar")->click();
         },
         false, ""},
        {"caixa de fechar",
         [](TFConfigurarPerfilEdicao& d) {
             Digitar(d, QStringLiteral("Nao"));
             d.close();
         },
         false, ""},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        Gravar(L0 + "\r\n" + P("Limpeza") + "(15)\r\n" + P("Frios") + "\r\n");
        TFConfiguracoes janela(nullptr);
        janela.show();
        TAoAbrir<TFConfigurarPerfilEdicao> roteiro(caso.Acao);
        Controle<QPushButton>(janela, "btnIncluir")->click();
        EXPECT_TRUE(roteiro.Executou());
        if (caso.Incluiu) {
            ASSERT_EQ(janela.Perfis().size(), 3u);
            EXPECT_EQ(janela.Perfis()[2].descricao_perfil, caso.Descricao);
            EXPECT_EQ(janela.Perfis()[2].grupos_vinculados, "");
            EXPECT_EQ(LinhaAtual(janela), 2);
            EXPECT_EQ(Grade(janela)->model()->rowCount(), 3);
        } else {
            EXPECT_EQ(janela.Perfis().size(), 2u);
            EXPECT_EQ(LinhaAtual(janela), 0);
        }
        janela.close();
        const std::string base = L0 + "\r\n" + P("Limpeza") + "(15)\r\n" + P("Frios") + "\r\n";
        EXPECT_EQ(Lido(), caso.Incluiu ? base + P(caso.Descricao) + "\r\n" : base);
    }
}

TEST_F(TesteConfiguracoes, DialogoDeDescricao_TemTitulosEAceitaAte60Caracteres) {
    TFConfigurarPerfilEdicao dialogo(nullptr);
    dialogo.show();
    EXPECT_EQ(dialogo.windowTitle(), QStringLiteral("Configurar Perfil"));
    EXPECT_EQ(Controle<QLabel>(dialogo, "Label1")->text(), QStringLiteral("Descrição do Perfil"));
    auto* descricao = Controle<QLineEdit>(dialogo, "EditDescricao");
    EXPECT_EQ(descricao->maxLength(), 60);
    EXPECT_EQ(dialogo.focusWidget(), descricao);
    EXPECT_EQ(OrdemDeTabulacao(descricao), (std::vector<QWidget*>{descricao, Controle<QPushButton>(dialogo, "btnOk"),
                                                                  Controle<QPushButton>(dialogo, "btnCancelar")}));
    EXPECT_EQ(Controle<QPushButton>(dialogo, "btnOk")->text(), QStringLiteral("OK (F3)"));
    EXPECT_EQ(Controle<QPushButton>(dialogo, "btnCancelar")->text(), QStringLiteral("Cancelar (Esc)"));
    QTest::keyClicks(descricao, QString(70, QLatin1Char('z')));
    EXPECT_EQ(dialogo.Descricao(), std::string(60, 'z'));
    dialogo.close();
}

struct TCasoExclusao {
    const char* Nome;
    int Atual;
    TRespostaMensagem Resposta;
    std::vector<std::string> Restantes;
    int AtualDepois;
};

TEST_F(TesteConfiguracoes, Excluir_PerguntaEPassaParaAProximaOuAAnterior) {
    const std::vector<TCasoExclusao> casos = {
        {"Sim no meio", 1, TRespostaMensagem::Sim, {P("A"), P("C")}, 1},
        {"Sim na ultima", 2, TRespostaMensagem::Sim, {P("A"), P("B")}, 1},
        {"Sim na primeira", 0, TRespostaMensagem::Sim, {P("B"), P("C")}, 0},
        {"Nao", 1, TRespostaMensagem::Nao, {P("A"), P("B"), P("C")}, 1},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        Gravar(L0 + "\r\n" + P("A") + "(1)\r\n" + P("B") + "(2)\r\n" + P("C") + "(3)\r\n");
        FCaixa.Chamadas.clear();
        FCaixa.Respostas = {caso.Resposta};
        TFConfiguracoes janela(nullptr);
        janela.show();
        IrPara(janela, caso.Atual);
        Controle<QPushButton>(janela, "btnExcluir")->click();
        ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
        EXPECT_EQ(FCaixa.Chamadas[0].Texto, "Confirma excluir o perfil?");
        EXPECT_EQ(FCaixa.Chamadas[0].Titulo, TextoAnsi("Confirmação"));
        EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Pergunta);
        EXPECT_EQ(FCaixa.Chamadas[0].Botoes, TBotoesMensagem::SimNao);
        EXPECT_EQ(Descricoes(janela), caso.Restantes);
        EXPECT_EQ(LinhaAtual(janela), caso.AtualDepois);
        EXPECT_EQ(Grade(janela)->model()->rowCount(), static_cast<int>(caso.Restantes.size()));
        janela.close();
        std::string esperado = L0 + "\r\n";
        for (const auto& descricao : caso.Restantes)
            esperado += descricao + "(" + std::to_string(descricao[0] - 'A' + 1) + ")\r\n";
        EXPECT_EQ(Lido(), esperado);
    }
}

TEST_F(TesteConfiguracoes, Excluir_AteEsvaziar_EnumaTabelaVaziaNadaAcontece) {
    Gravar(L0 + "\r\n" + P("A") + "(1)\r\n");
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    TFConfiguracoes janela(nullptr);
    janela.show();
    Controle<QPushButton>(janela, "btnExcluir")->click();
    EXPECT_TRUE(janela.Perfis().empty());
    EXPECT_EQ(LinhaAtual(janela), -1);
    Controle<QPushButton>(janela, "btnExcluir")->click();
    EXPECT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_TRUE(janela.isVisible());
    janela.close();
    EXPECT_EQ(Lido(), L0 + "\r\n");
}

TEST_F(TesteConfiguracoes, Fechar_ArquivoQueNaoGrava_MostraAFalhaEDeixaAJanelaAberta_ENovaTentativaGrava) {
    const std::vector<std::pair<const char*, std::function<void(TFConfiguracoes&)>>> maneiras = {
        {"botao Fechar", [](TFConfiguracoes& j) { Controle<QPushButton>(j, "btnFechar")->click(); }},
        {"Esc", [](TFConfiguracoes& j) { QTest::keyClick(Grade(j), Qt::Key_Escape); }},
        {"caixa de fechar", [](TFConfiguracoes& j) { j.close(); }},
    };
    for (const auto& [nome, fechar] : maneiras) {
        SCOPED_TRACE(nome);
        std::filesystem::remove_all(Arquivo());
        // A folder in the file's place: not even root can write the file.
        std::filesystem::create_directory(Arquivo());
        FCaixa.Chamadas.clear();
        TFConfiguracoes janela(nullptr);
        janela.show();
        {
            TAoAbrir<TFConfigurarPerfilEdicao> roteiro([](TFConfigurarPerfilEdicao& d) {
                Digitar(d, QStringLiteral("Novo"));
                Controle<QPushButton>(d, "btnOk")->click();
            });
            Controle<QPushButton>(janela, "btnIncluir")->click();
        }
        fechar(janela);
        EXPECT_TRUE(janela.isVisible());
        ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
        EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Parada);
        EXPECT_EQ(FCaixa.Chamadas[0].Titulo, TituloAplicacao());
        EXPECT_EQ(
            FCaixa.Chamadas[0].Texto.rfind("Cannot create file \"" + TDadosExportacao::ArquivoPerfis() + "\".", 0), 0u)
            << FCaixa.Chamadas[0].Texto;
        EXPECT_EQ(Descricoes(janela), std::vector<std::string>{"Novo"});
        EXPECT_EQ(Grade(janela)->model()->rowCount(), 1);

        std::filesystem::remove(Arquivo());
        fechar(janela);
        EXPECT_FALSE(janela.isVisible());
        EXPECT_EQ(FCaixa.Chamadas.size(), 1u);
        EXPECT_EQ(Lido(), L0 + "\r\n" + P("Novo") + "\r\n");
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
    EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Parada);
    EXPECT_TRUE(std::filesystem::is_symlink(Arquivo()));
    EXPECT_EQ(std::filesystem::read_symlink(Arquivo()), "/proc/self/mem");
}
#endif

// Linking groups needs the group table.
class TesteConfiguracoesGrupos : public TTesteBanco {
protected:
    void SetUp() override {
        TTesteBanco::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Executar(Conexao(), TextoAnsi("INSERT INTO grupo VALUES (40, 'Bebidas', 'N'), (12, 'Frios', 'N'), "
                                      "(15, 'Limpeza', 'N'), (7, 'Padaria', 'N'), (3, 'Açougue', 'N'), "
                                      "(99, 'Utensílios', 'S')"));
    }

    std::filesystem::path Arquivo() const { return FPasta->Sistema() / "PerfilTorvane.txt"; }
    void Gravar(const std::string& conteudo) const { GravarBinario(Arquivo(), conteudo); }
    std::string Lido() const { return LerBinario(Arquivo()); }

    // Presses "Vincular Grupos" and lets the script act on the selection dialog; true when the dialog opened.
    bool Vincular(TFConfiguracoes& janela, std::function<void(TFFiltroGenerico2&)> roteiro) {
        TAoAbrir<TFFiltroGenerico2> aoAbrir(std::move(roteiro));
        Controle<QPushButton>(janela, "btnVincular")->click();
        return aoAbrir.Executou();
    }

    static void Tecla(TFFiltroGenerico2& dialogo, Qt::Key tecla) {
        QTest::keyClick(Controle<QLineEdit>(dialogo, "EditPesquisa"), tecla);
    }

    TCaixaFalsa FCaixa;
};

TEST_F(TesteConfiguracoesGrupos, Vincular_TabelaVazia_InformaENaoAbreODialogo) {
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_FALSE(Vincular(janela, [](TFFiltroGenerico2& d) { d.reject(); }));
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_EQ(FCaixa.Chamadas[0].Texto, TextoAnsi("Informe ao menos um perfil antes de vincular grupos."));
    EXPECT_EQ(FCaixa.Chamadas[0].Titulo, TextoAnsi("Informação"));
    EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Informacao);
    EXPECT_EQ(FCaixa.Chamadas[0].Botoes, TBotoesMensagem::Ok);
    janela.close();
}

TEST_F(TesteConfiguracoesGrupos, Vincular_SubconjuntoReabreMarcado_CancelarNaoMuda_ApagadosCaem) {
    Gravar(L0 + "\r\n" + P("Outro") + "(12)\r\n" + P("Bebidas") + "\r\n");
    TFConfiguracoes janela(nullptr);
    janela.show();
    IrPara(janela, 1);

    EXPECT_TRUE(Vincular(janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Filtro - Seleção de Grupo"));
        auto* grade = Controle<QTableView>(d, "oGrid");
        EXPECT_EQ(grade->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
        EXPECT_EQ(grade->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Grupo"));
        EXPECT_EQ(d.QrySelecao().SQL(), "Select grupo_id, desc_arvore, \"S\" AS MARCADO from grupo\r\n"
                                        "Where apagado <> \"S\"\r\nOrder by desc_arvore");
        EXPECT_EQ(Marcas(d), "SSSSS");
        Controle<QLineEdit>(d, "EditPesquisa")->setText(QStringLiteral("fri"));
        Tecla(d, Qt::Key_F5);
        Tecla(d, Qt::Key_Return);
    }));
    EXPECT_EQ(Grupos(janela), (std::vector<std::string>{"(12)", "(3,40,15,7)"}));

    EXPECT_TRUE(Vincular(janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(Marcas(d), "SSNSS");
        Tecla(d, Qt::Key_F7);
        Tecla(d, Qt::Key_Escape);
    }));
    EXPECT_EQ(Grupos(janela), (std::vector<std::string>{"(12)", "(3,40,15,7)"}));

    Executar(Conexao(), "UPDATE grupo SET apagado = 'S' WHERE grupo_id = 15");
    EXPECT_TRUE(Vincular(janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(Marcas(d), "SSNS");
        Tecla(d, Qt::Key_Return);
    }));
    EXPECT_EQ(Grupos(janela), (std::vector<std::string>{"(12)", "(3,40,7)"}));
    EXPECT_EQ(LinhaAtual(janela), 1);

    janela.close();
    EXPECT_EQ(Lido(), L0 + "\r\n" + P("Outro") + "(12)\r\n" + P("Bebidas") + "(3,40,7)\r\n");
}

TEST_F(TesteConfiguracoesGrupos, Vincular_OkLogoAoAbrirOuNenhumMarcado_DeixaAListaVazia) {
    const std::vector<std::pair<const char*, std::vector<Qt::Key>>> casos = {{"OK ao abrir", {Qt::Key_Return}},
                                                                             {"F7 e OK", {Qt::Key_F7, Qt::Key_Return}}};
    for (const auto& [nome, teclas] : casos) {
        SCOPED_TRACE(nome);
        Gravar(L0 + "\r\n" + P("Novo") + "\r\n");
        TFConfiguracoes janela(nullptr);
        janela.show();
        EXPECT_TRUE(Vincular(janela, [&teclas](TFFiltroGenerico2& d) {
            for (Qt::Key tecla : teclas)
                Tecla(d, tecla);
        }));
        EXPECT_EQ(Grupos(janela), std::vector<std::string>{""});
        janela.close();
        EXPECT_EQ(Lido(), L0 + "\r\n" + P("Novo") + "\r\n");
    }
}

TEST_F(TesteConfiguracoesGrupos, Vincular_ListaComBrancosEmVolta_AbreComAsMarcasEMantemAteOOk) {
    Gravar(L0 + "\r\n" + P("Bebidas") + " (12,40) \r\n");
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_TRUE(Vincular(janela, [](TFFiltroGenerico2& d) {
        EXPECT_EQ(Marcas(d), "NSSNN");
        Tecla(d, Qt::Key_Escape);
    }));
    EXPECT_EQ(Grupos(janela), std::vector<std::string>{" (12,40) "});
    EXPECT_TRUE(Vincular(janela, [](TFFiltroGenerico2& d) { Tecla(d, Qt::Key_Return); }));
    EXPECT_EQ(Grupos(janela), std::vector<std::string>{"(40,12)"});
    janela.close();
}

TEST_F(TesteConfiguracoesGrupos, Vincular_ListaInvalidaNoArquivo_AvisaComONomeDoPerfilSemAbrirODialogo) {
    for (const std::string lista : {"(12;15)", "12,15", "(12,15); DROP TABLE grupo", "()"}) {
        SCOPED_TRACE(lista);
        FCaixa.Chamadas.clear();
        Gravar(L0 + "\r\n" + P("Manual") + lista + "\r\n" + P("Outro") + "(12)\r\n");
        TFConfiguracoes janela(nullptr);
        janela.show();
        EXPECT_FALSE(Vincular(janela, [](TFFiltroGenerico2& d) { d.reject(); }));
        ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
        EXPECT_NE(FCaixa.Chamadas[0].Texto.find("\"Manual\""), std::string::npos) << FCaixa.Chamadas[0].Texto;
        EXPECT_NE(FCaixa.Chamadas[0].Texto.find(lista), std::string::npos) << FCaixa.Chamadas[0].Texto;
        EXPECT_EQ(FCaixa.Chamadas[0].Titulo, TextoAnsi("Atenção"));
        EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Exclamacao);
        EXPECT_EQ(Grupos(janela), (std::vector<std::string>{lista, "(12)"}));
        janela.close();
        EXPECT_EQ(Lido(), L0 + "\r\n" + P("Manual") + lista + "\r\n" + P("Outro") + "(12)\r\n");
    }
    TQuery consulta(Conexao(), "select count(*) from grupo");
    consulta.Abrir();
    EXPECT_EQ(consulta.Campo(0).Inteiro(), 6);
}

TEST_F(TesteConfiguracoesGrupos, Vincular_ListaDeMaisDe200Caracteres_FicaInteira) {
    std::string valores;
    std::string lista = "(";
    for (int chave = 101; chave <= 220; ++chave) {
        valores +=
            (chave > 101 ? "," : "") + ("(" + std::to_string(chave) + ", 'Lista " + std::to_string(chave) + "', 'N')");
        if (chave <= 200)
            lista += (chave > 101 ? "," : "") + std::to_string(chave);
    }
    lista += ")";
    ASSERT_GT(lista.size(), 200u);
    Executar(Conexao(), "INSERT INTO grupo VALUES " + valores);
    Gravar(L0 + "\r\n" + P("Muitos") + lista + "\r\n");
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_TRUE(Vincular(janela, [](TFFiltroGenerico2& d) { Tecla(d, Qt::Key_Return); }));
    EXPECT_EQ(Grupos(janela), std::vector<std::string>{lista});
    janela.close();
    EXPECT_EQ(Lido(), L0 + "\r\n" + P("Muitos") + lista + "\r\n");
}

TEST_F(TesteConfiguracoesGrupos, Vincular_DialogoQueNaoAbre_MostraAFalhaEMantemOPerfil) {
    Executar(Conexao(), "DROP TABLE grupo");
    Gravar(L0 + "\r\n" + P("Bebidas") + "(12)\r\n");
    TFConfiguracoes janela(nullptr);
    janela.show();
    EXPECT_FALSE(Vincular(janela, [](TFFiltroGenerico2& d) { d.reject(); }));
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Parada);
    EXPECT_NE(FCaixa.Chamadas[0].Texto.find("grupo"), std::string::npos) << FCaixa.Chamadas[0].Texto;
    EXPECT_EQ(Grupos(janela), std::vector<std::string>{"(12)"});
    EXPECT_TRUE(janela.isVisible());
    janela.close();
    EXPECT_EQ(Lido(), L0 + "\r\n" + P("Bebidas") + "(12)\r\n");
}

} // namespace
