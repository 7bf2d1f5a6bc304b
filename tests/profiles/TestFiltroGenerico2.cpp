#include "JanelasTeste.h"
#include "TestDb.h"
#include "UCp1252.h"
#include "UDados.h"
#include "UErro.h"
#include "UFiltroGenerico2.h"
#include "UQuery.h"
#include "UTextoQt.h"

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string Todos = TextoAnsi("TODOS OS REGISTROS ESTÃO SELECIONADOS");

// Groups in the dialog's order (by description); group 99 is deleted and not listed.
class TesteFiltroGenerico2 : public TTesteBanco {
protected:
    void SetUp() override {
        TTesteBanco::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Executar(Conexao(), TextoAnsi("INSERT INTO grupo VALUES (40, 'Bebidas', 'N'), (12, 'Frios', 'N'), "
                                      "(15, 'Limpeza', 'N'), (7, 'Padaria', 'N'), (3, 'Açougue', 'N'), "
                                      "(99, 'Utensílios', 'S')"));
    }

    std::unique_ptr<TFFiltroGenerico2> Abrir(const std::string& chaves, const std::string& campoApagado = "apagado") {
        FChaves = chaves;
        auto dialogo =
            std::make_unique<TFFiltroGenerico2>(nullptr, "grupo_id", "desc_arvore", "grupo", TextoAnsi("Código"),
                                                "Grupo", FChaves, FDescricoes, campoApagado);
        dialogo->show();
        return dialogo;
    }

    template <class T> static T* Controle(TFFiltroGenerico2& dialogo, const char* nome) {
        T* controle = dialogo.findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(controle, nullptr) << nome;
        return controle;
    }

    // One letter a row, in the grid's order: S marked, N not.
    static std::string Marcas(TFFiltroGenerico2& dialogo) {
        const QAbstractItemModel* modelo = Controle<QTableView>(dialogo, "oGrid")->model();
        std::string marcas;
        for (int linha = 0; linha < modelo->rowCount(); ++linha)
            marcas += modelo->index(linha, 0).data(TFFiltroGenerico2::PapelMarcado).toBool() ? 'S' : 'N';
        return marcas;
    }

    // The query's current row, checked against the grid's.
    static int LinhaAtual(TFFiltroGenerico2& dialogo) {
        const int linha = static_cast<int>(dialogo.QrySelecao().Linha());
        EXPECT_EQ(Controle<QTableView>(dialogo, "oGrid")->currentIndex().row(), linha);
        return linha;
    }

    static void IrPara(TFFiltroGenerico2& dialogo, int linha) {
        auto* grade = Controle<QTableView>(dialogo, "oGrid");
        grade->setCurrentIndex(grade->model()->index(linha, 0));
    }

    std::string FChaves;
    std::string FDescricoes;
};

TEST_F(TesteFiltroGenerico2, Construtor_MostraTitulosDoChamadorETextosFixos) {
    auto dialogo = Abrir("");
    EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Filtro - Seleção de Grupo"));
    EXPECT_EQ(Controle<QLabel>(*dialogo, "lblPesquisa")->text(), QStringLiteral("Grupo (Código/Descrição)"));
    auto* grade = Controle<QTableView>(*dialogo, "oGrid");
    EXPECT_EQ(grade->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
    EXPECT_EQ(grade->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Grupo"));
    EXPECT_EQ(grade->model()->index(0, 0).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(grade->model()->index(0, 1).data().toString(), QStringLiteral("Açougue"));
    EXPECT_EQ(grade->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grade->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(grade->verticalHeader()->isVisible());
    EXPECT_TRUE(grade->showGrid());
    EXPECT_TRUE(grade->horizontalHeader()->styleSheet().contains(QStringLiteral("rgb(0, 64, 128)")));
    EXPECT_EQ(Controle<QLabel>(*dialogo, "Label3")->text(),
              QStringLiteral("F5 - Marca/Desmarca   F6 - Todos   F7 - Nenhum"));
    EXPECT_EQ(Controle<QLabel>(*dialogo, "Label4")->text(), QStringLiteral("Marcados para Seleção"));
    EXPECT_TRUE(Controle<QWidget>(*dialogo, "Shape1")->styleSheet().contains(QStringLiteral("rgb(255, 128, 128)")));
    EXPECT_EQ(Controle<QPushButton>(*dialogo, "btnOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(Controle<QPushButton>(*dialogo, "btnCancelar")->text(), QStringLiteral("Cancela&r"));
    auto* pesquisa = Controle<QLineEdit>(*dialogo, "EditPesquisa");
    EXPECT_EQ(dialogo->focusWidget(), pesquisa);
    EXPECT_EQ(OrdemDeTabulacao(pesquisa),
              (std::vector<QWidget*>{pesquisa, grade, Controle<QPushButton>(*dialogo, "btnOK"),
                                     Controle<QPushButton>(*dialogo, "btnCancelar")}));
    EXPECT_FALSE(dialogo->NenhumMarcado());
}

struct TCasoSql {
    const char* Nome;
    std::string Chaves;
    std::string CampoApagado;
    std::string Sql;
    std::string Marcas;
};

TEST_F(TesteFiltroGenerico2, Sql_SegueAsChavesEOCampoApagado_EMarcaAsLinhasDaLista) {
    const std::vector<TCasoSql> casos = {
        {"sem chaves", "", "apagado",
         "Select grupo_id, desc_arvore, \"S\" AS MARCADO from grupo\r\nWhere apagado <> \"S\"\r\nOrder by desc_arvore",
         "SSSSS"},
        {"com chaves", "(12,15,40)", "apagado",
         "Select grupo_id, desc_arvore, IF (grupo_id in (12,15,40),\"S\",\"N\") AS MARCADO from grupo\r\n"
         "Where apagado <> \"S\"\r\nOrder by desc_arvore",
         "NSSSN"},
        {"sem campo apagado", "(99)", "",
         "Select grupo_id, desc_arvore, IF (grupo_id in (99),\"S\",\"N\") AS MARCADO from grupo\r\n"
         "Order by desc_arvore",
         "NNNNNS"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        auto dialogo = Abrir(caso.Chaves, caso.CampoApagado);
        EXPECT_EQ(dialogo->QrySelecao().SQL(), caso.Sql);
        EXPECT_EQ(TFFiltroGenerico2::MontarSQL("grupo_id", "desc_arvore", "grupo", caso.Chaves, caso.CampoApagado),
                  caso.Sql);
        EXPECT_EQ(Marcas(*dialogo), caso.Marcas);
        EXPECT_EQ(LinhaAtual(*dialogo), 0);
    }
}

// A step the user takes: "F5", "F6", "F7" in the search box, "grade:F5" in the grid, "linha:N" to click a row.
void Passo(TFFiltroGenerico2& dialogo, const std::string& passo) {
    const auto tecla = [](const std::string& nome) {
        return nome == "F5" ? Qt::Key_F5 : nome == "F6" ? Qt::Key_F6 : Qt::Key_F7;
    };
    if (passo.rfind("linha:", 0) == 0) {
        auto* grade = dialogo.findChild<QTableView*>(QStringLiteral("oGrid"));
        grade->setCurrentIndex(grade->model()->index(std::stoi(passo.substr(6)), 0));
    } else if (passo.rfind("grade:", 0) == 0) {
        QTest::keyClick(dialogo.findChild<QTableView*>(QStringLiteral("oGrid")), tecla(passo.substr(6)));
    } else {
        QTest::keyClick(dialogo.findChild<QLineEdit*>(QStringLiteral("EditPesquisa")), tecla(passo));
    }
}

enum class TConfirmacao { BotaoOK, EnterNaPesquisa, EnterNaGrade, EnterNoBotaoOK };

struct TCasoOk {
    const char* Nome;
    std::string Inicial;
    std::vector<std::string> Passos;
    TConfirmacao Confirmacao;
    std::string Chaves;
    std::string Descricoes;
    bool Nenhum;
};

TEST_F(TesteFiltroGenerico2, Ok_DevolveChavesDescricoesENenhumMarcadoNaOrdemDoDialogo) {
    const std::vector<TCasoOk> casos = {
        {"todos marcados ao abrir", "", {}, TConfirmacao::BotaoOK, "", Todos, false},
        {"nenhum com F7", "", {"F7"}, TConfirmacao::EnterNaPesquisa, "", Todos, true},
        {"um da lista", "(7)", {}, TConfirmacao::EnterNaGrade, "(7)", "00000007 - Padaria", false},
        {"um marcado com F5", "", {"F7", "linha:3", "F5"}, TConfirmacao::BotaoOK, "(15)", "00000015 - Limpeza", false},
        {"todos menos um",
         "",
         {"linha:2", "grade:F5"},
         TConfirmacao::EnterNoBotaoOK,
         "(3,40,15,7)",
         TextoAnsi("00000003 - Açougue\r\n00000040 - Bebidas\r\n00000015 - Limpeza\r\n00000007 - Padaria"),
         false},
        {"lista com todas as chaves", "(3,7,12,15,40)", {}, TConfirmacao::BotaoOK, "", Todos, false},
        {"chaves de grupos apagados caem",
         "(99,12,15)",
         {},
         TConfirmacao::BotaoOK,
         "(12,15)",
         "00000012 - Frios\r\n00000015 - Limpeza",
         false},
        {"ordem das descricoes",
         "(12,40)",
         {},
         TConfirmacao::BotaoOK,
         "(40,12)",
         "00000040 - Bebidas\r\n00000012 - Frios",
         false},
        {"F6 marca todos", "(12)", {"F6"}, TConfirmacao::BotaoOK, "", Todos, false},
        {"F5 duas vezes volta a marca",
         "(12)",
         {"linha:2", "grade:F5", "F5"},
         TConfirmacao::BotaoOK,
         "(12)",
         "00000012 - Frios",
         false},
        {"F5 duas vezes numa linha sem marca",
         "(12)",
         {"linha:4", "F5", "F5"},
         TConfirmacao::BotaoOK,
         "(12)",
         "00000012 - Frios",
         false},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        FDescricoes = "anterior";
        auto dialogo = Abrir(caso.Inicial);
        for (const auto& passo : caso.Passos)
            Passo(*dialogo, passo);
        switch (caso.Confirmacao) {
        case TConfirmacao::BotaoOK:
            Controle<QPushButton>(*dialogo, "btnOK")->click();
            break;
        case TConfirmacao::EnterNaPesquisa:
            QTest::keyClick(Controle<QLineEdit>(*dialogo, "EditPesquisa"), Qt::Key_Return);
            break;
        case TConfirmacao::EnterNaGrade:
            QTest::keyClick(Controle<QTableView>(*dialogo, "oGrid"), Qt::Key_Enter);
            break;
        case TConfirmacao::EnterNoBotaoOK:
            QTest::keyClick(Controle<QPushButton>(*dialogo, "btnOK"), Qt::Key_Return);
            break;
        }
        EXPECT_EQ(dialogo->result(), QDialog::Accepted);
        EXPECT_FALSE(dialogo->isVisible());
        EXPECT_EQ(FChaves, caso.Chaves);
        EXPECT_EQ(FDescricoes, caso.Descricoes);
        EXPECT_EQ(dialogo->NenhumMarcado(), caso.Nenhum);
    }
}

TEST_F(TesteFiltroGenerico2, Ok_ResultadoVazio_ComoNenhumMarcado_EAsTeclasDeMarcaNadaFazem) {
    Executar(Conexao(), "UPDATE grupo SET apagado = 'S'");
    for (const std::string inicial : {"", "(12,40)"}) {
        SCOPED_TRACE(inicial);
        auto dialogo = Abrir(inicial);
        EXPECT_EQ(dialogo->QrySelecao().QuantidadeRegistros(), 0u);
        for (const auto* passo : {"F5", "F6", "F7", "grade:F5"})
            Passo(*dialogo, passo);
        EXPECT_TRUE(dialogo->isVisible());
        QTest::keyClick(Controle<QLineEdit>(*dialogo, "EditPesquisa"), Qt::Key_Return);
        EXPECT_EQ(dialogo->result(), QDialog::Accepted);
        EXPECT_EQ(FChaves, "");
        EXPECT_EQ(FDescricoes, Todos);
        EXPECT_TRUE(dialogo->NenhumMarcado());
    }
}

TEST_F(TesteFiltroGenerico2, Cancelar_DepoisDeMudancas_DeixaAsVariaveisDoChamador) {
    const std::vector<std::pair<const char*, std::function<void(TFFiltroGenerico2&)>>> maneiras = {
        {"Esc na pesquisa",
         [](TFFiltroGenerico2& d) { QTest::keyClick(Controle<QLineEdit>(d, "EditPesquisa"), Qt::Key_Escape); }},
        {"Esc na grade",
         [](TFFiltroGenerico2& d) { QTest::keyClick(Controle<QTableView>(d, "oGrid"), Qt::Key_Escape); }},
        {"Esc no botao OK",
         [](TFFiltroGenerico2& d) { QTest::keyClick(Controle<QPushButton>(d, "btnOK"), Qt::Key_Escape); }},
        {"botao Cancelar", [](TFFiltroGenerico2& d) { Controle<QPushButton>(d, "btnCancelar")->click(); }},
        {"Enter no botao Cancelar",
         [](TFFiltroGenerico2& d) { QTest::keyClick(Controle<QPushButton>(d, "btnCancelar"), Qt::Key_Return); }},
        {"caixa de fechar", [](TFFiltroGenerico2& d) { d.close(); }},
    };
    for (const auto& [nome, cancelar] : maneiras) {
        SCOPED_TRACE(nome);
        FDescricoes = "anterior";
        auto dialogo = Abrir("(12)");
        for (const auto* passo : {"F6", "linha:3", "F5", "F7", "linha:1", "F5"})
            Passo(*dialogo, passo);
        ASSERT_EQ(Marcas(*dialogo), "NSNNN");
        cancelar(*dialogo);
        EXPECT_FALSE(dialogo->isVisible());
        EXPECT_EQ(dialogo->result(), QDialog::Rejected);
        EXPECT_EQ(FChaves, "(12)");
        EXPECT_EQ(FDescricoes, "anterior");
        EXPECT_FALSE(dialogo->NenhumMarcado());
    }
}

TEST_F(TesteFiltroGenerico2, F5_AlternaSoALinhaAtualSemMoverOCursor) {
    auto dialogo = Abrir("(12)");
    IrPara(*dialogo, 2);
    Passo(*dialogo, "F5");
    EXPECT_EQ(Marcas(*dialogo), "NNNNN");
    EXPECT_EQ(LinhaAtual(*dialogo), 2);
    Passo(*dialogo, "grade:F5");
    EXPECT_EQ(Marcas(*dialogo), "NNSNN");
    EXPECT_EQ(LinhaAtual(*dialogo), 2);
}

TEST_F(TesteFiltroGenerico2, MarcarTodos_ManteALinhaAtualEDesenhaUmaVezSo) {
    auto dialogo = Abrir("(12)");
    IrPara(*dialogo, 3);
    auto* grade = Controle<QTableView>(*dialogo, "oGrid");
    for (const auto& [passo, marcas] :
         std::vector<std::pair<std::string, std::string>>{{"F6", "SSSSS"}, {"F7", "NNNNN"}}) {
        SCOPED_TRACE(passo);
        QSignalSpy mudancas(grade->model(), &QAbstractItemModel::dataChanged);
        QSignalSpy linhas(grade->selectionModel(), &QItemSelectionModel::currentRowChanged);
        Passo(*dialogo, passo);
        EXPECT_EQ(Marcas(*dialogo), marcas);
        EXPECT_EQ(mudancas.count(), 1);
        EXPECT_EQ(linhas.count(), 0);
        EXPECT_EQ(LinhaAtual(*dialogo), 3);
    }
}

struct TCasoPesquisa {
    std::string Texto;
    int Inicio;
    int Esperada;
};

TEST_F(TesteFiltroGenerico2, Pesquisa_PorCodigoOuPorComecoDaDescricao_SemMexerNasMarcas) {
    // Rows: 0 Açougue (3), 1 Bebidas (40), 2 Frios (12), 3 Limpeza (15), 4 Padaria (7).
    const std::vector<TCasoPesquisa> casos = {
        {"12", 4, 2},
        {" 12", 4, 2},
        {"+12", 4, 2},
        {"$F", 0, 3},
        {"0x28", 4, 1},
        {"X7", 0, 4},
        {"x0c", 4, 2},
        {"3", 4, 0},
        {"lim", 0, 3},
        {"BEB", 4, 1},
        {"fR", 0, 2},
        {TextoAnsi("aço"), 4, 0},
        {TextoAnsi("AÇO"), 4, 0},
        {"Padaria", 0, 4},
        {"   ", 2, 2},
        {"1000", 2, 2},
        {"-12", 4, 4},
        {"12 ", 4, 4},
        {"zz", 1, 1},
        {"Padarias", 0, 0},
        {"99", 0, 0},
        {"Uten", 1, 1},
    };
    auto dialogo = Abrir("(12)");
    auto* pesquisa = Controle<QLineEdit>(*dialogo, "EditPesquisa");
    for (const auto& caso : casos) {
        SCOPED_TRACE("\"" + caso.Texto + "\"");
        pesquisa->clear();
        IrPara(*dialogo, caso.Inicio);
        pesquisa->setText(ParaQString(caso.Texto));
        EXPECT_EQ(LinhaAtual(*dialogo), caso.Esperada);
        EXPECT_EQ(Marcas(*dialogo), "NNSNN");
    }
}

TEST_F(TesteFiltroGenerico2, Pesquisa_DigitandoLetraALetra_AcompanhaOTexto) {
    auto dialogo = Abrir("");
    auto* pesquisa = Controle<QLineEdit>(*dialogo, "EditPesquisa");
    QTest::keyClicks(pesquisa, "li");
    EXPECT_EQ(LinhaAtual(*dialogo), 3);
    QTest::keyClick(pesquisa, Qt::Key_Backspace);
    QTest::keyClick(pesquisa, Qt::Key_Backspace);
    QTest::keyClicks(pesquisa, "40");
    EXPECT_EQ(LinhaAtual(*dialogo), 1);
    Passo(*dialogo, "F5");
    QTest::keyClick(pesquisa, Qt::Key_Return);
    EXPECT_EQ(FChaves, "(3,12,15,7)");
}

struct TCasoFalha {
    const char* Nome;
    std::string Tabela;
    std::string Chaves;
    bool SemConexao;
    std::string Trecho;
};

TEST_F(TesteFiltroGenerico2, Construtor_ConsultaQueNaoAbre_FalhaSemMostrarNemMudarNada) {
    const std::vector<TCasoFalha> casos = {
        {"tabela inexistente", "nao_existe", "(12)", false, "nao_existe"},
        {"lista incompleta", "grupo", "(12,", false, "(12,"},
        {"lista com texto", "grupo", "(1); DROP TABLE grupo; --", false, "DROP TABLE"},
        {"lista com brancos", "grupo", " (12)", false, "(12)"},
        {"sem conexao", "grupo", "", true, TextoAnsi("conexão")},
    };
    QWidget dono;
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        if (caso.SemConexao)
            TDadosExportacao::DefinirConexao(nullptr);
        std::string chaves = caso.Chaves;
        std::string descricoes = "anterior";
        try {
            TFFiltroGenerico2 dialogo(&dono, "grupo_id", "desc_arvore", caso.Tabela, TextoAnsi("Código"), "Grupo",
                                      chaves, descricoes, "apagado");
            ADD_FAILURE() << "the dialog opened";
        } catch (const EFalha& erro) {
            EXPECT_NE(std::string(erro.what()).find(caso.Trecho), std::string::npos) << erro.what();
        }
        EXPECT_EQ(chaves, caso.Chaves);
        EXPECT_EQ(descricoes, "anterior");
        EXPECT_TRUE(dono.findChildren<TFFiltroGenerico2*>().isEmpty());
        for (QWidget* janela : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<TFFiltroGenerico2*>(janela), nullptr);
    }
    // Nothing of the refused lists reached the server.
    TQuery consulta(Conexao(), "select count(*) from grupo");
    consulta.Abrir();
    EXPECT_EQ(consulta.Campo(0).Inteiro(), 6);
}

// Counts the pixels of a cell that are near white: on the salmon background (green and blue 128) only white
// text gives them.
int PixelsBrancos(const QImage& imagem, const QRect& celula) {
    int brancos = 0;
    for (int y = celula.top(); y <= celula.bottom(); ++y)
        for (int x = celula.left(); x <= celula.right(); ++x) {
            const QColor cor = imagem.pixelColor(x, y);
            if (cor.red() >= 200 && cor.green() >= 200 && cor.blue() >= 200)
                ++brancos;
        }
    return brancos;
}

TEST_F(TesteFiltroGenerico2, Desenho_MarcadasEmSalmaoETextoBrancoSoNaLinhaAtualComFoco) {
    auto dialogo = Abrir("(40,12)");
    dialogo->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialogo.get()));
    auto* grade = Controle<QTableView>(*dialogo, "oGrid");
    IrPara(*dialogo, 1);
    grade->setFocus();
    ASSERT_TRUE(Esperar([&] { return grade->hasFocus(); }));

    const auto fundo = [&](const QImage& imagem, int linha) {
        const QRect celula = grade->visualRect(grade->model()->index(linha, 1));
        return imagem.pixelColor(celula.right() - 4, celula.center().y());
    };
    const auto brancosNoTexto = [&](const QImage& imagem, int linha) {
        return PixelsBrancos(imagem, grade->visualRect(grade->model()->index(linha, 1)).adjusted(1, 1, -1, -1));
    };

    QImage imagem = grade->viewport()->grab().toImage();
    const QColor salmao(255, 128, 128);
    EXPECT_EQ(fundo(imagem, 1), salmao) << "marked, current";
    EXPECT_EQ(fundo(imagem, 2), salmao) << "marked";
    EXPECT_NE(fundo(imagem, 0), salmao) << "not marked";
    EXPECT_NE(fundo(imagem, 3), salmao) << "not marked";
    EXPECT_GT(brancosNoTexto(imagem, 1), 0) << "current row with the focus: white text";
    EXPECT_EQ(brancosNoTexto(imagem, 2), 0) << "other marked row: window text";

    Controle<QLineEdit>(*dialogo, "EditPesquisa")->setFocus();
    ASSERT_TRUE(Esperar([&] { return !grade->hasFocus(); }));
    imagem = grade->viewport()->grab().toImage();
    EXPECT_EQ(fundo(imagem, 1), salmao);
    EXPECT_EQ(brancosNoTexto(imagem, 1), 0) << "without the focus the current row's text is window text";
}

} // namespace
