#include "support/TesteGrupos.h"

#include "export/UDados.h"
#include "platform/UErro.h"
#include "qtbase/UTextoQt.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using TTextos = std::vector<std::string>;
const std::string Todos = TextoAnsi("TODOS OS REGISTROS ESTÃO SELECIONADOS");

class TesteFiltroGenerico2 : public TTesteGrupos {
protected:
    std::unique_ptr<TFFiltroGenerico2> Abrir(const std::string& chaves, const std::string& campoApagado = "apagado") {
        FChaves = chaves;
        auto dialogo =
            std::make_unique<TFFiltroGenerico2>(nullptr, "grupo_id", "desc_arvore", "grupo", TextoAnsi("Código"),
                                                "Grupo", FChaves, FDescricoes, campoApagado);
        dialogo->show();
        return dialogo;
    }

    // Shown and active, with the grid on the given row.
    std::unique_ptr<TFFiltroGenerico2> AbrirNaLinha(const std::string& chaves, int linha) {
        auto dialogo = Abrir(chaves);
        dialogo->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialogo.get()));
        IrPara(*dialogo, linha);
        return dialogo;
    }

    std::string FChaves;
    std::string FDescricoes = "anterior";
};

// The query's current row, checked against the grid's.
int LinhaAtual(const TFFiltroGenerico2& dialogo) {
    const int linha = static_cast<int>(dialogo.QrySelecao().Linha());
    EXPECT_EQ(Controle<QTableView>(dialogo, "oGrid").currentIndex().row(), linha);
    return linha;
}

TEST_F(TesteFiltroGenerico2, Construtor_MostraOsTitulosDoChamadorEComecaNaPesquisa) {
    auto dialogo = Abrir("");
    EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Filtro - Seleção de Grupo"));
    EXPECT_EQ(Controle<QLabel>(*dialogo, "lblPesquisa").text(), QStringLiteral("Grupo (Código/Descrição)"));
    const QAbstractItemModel* modelo = Controle<QTableView>(*dialogo, "oGrid").model();
    EXPECT_EQ(modelo->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
    EXPECT_EQ(modelo->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Grupo"));
    EXPECT_EQ(modelo->index(0, 0).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(modelo->index(0, 1).data().toString(), QStringLiteral("Açougue"));
    EXPECT_EQ(dialogo->focusWidget(), &Controle<QLineEdit>(*dialogo, "EditPesquisa"));
}

TEST_F(TesteFiltroGenerico2, Sql_SegueAsChavesEOCampoApagado_EMarcaAsLinhasDaLista) {
    const std::string ordem = "Order by desc_arvore";
    const std::string apagado = "Where apagado <> \"S\"\r\n" + ordem;
    // Each case: the keys, the deleted-flag field, the query, the marks.
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> casos = {
        {"", "apagado", "Select grupo_id, desc_arvore, \"S\" AS MARCADO from grupo\r\n" + apagado, "SSSSS"},
        {"(12,15,40)", "apagado",
         "Select grupo_id, desc_arvore, IF (grupo_id in (12,15,40),\"S\",\"N\") AS MARCADO from grupo\r\n" + apagado,
         "NSSSN"},
        {"(99)", "",
         "Select grupo_id, desc_arvore, IF (grupo_id in (99),\"S\",\"N\") AS MARCADO from grupo\r\n" + ordem, "NNNNNS"},
    };
    for (const auto& [chaves, campoApagado, sql, marcas] : casos) {
        SCOPED_TRACE(chaves);
        auto dialogo = Abrir(chaves, campoApagado);
        EXPECT_EQ(dialogo->QrySelecao().SQL(), sql);
        EXPECT_EQ(Marcas(*dialogo), marcas);
        EXPECT_EQ(LinhaAtual(*dialogo), 0);
    }
}

TEST_F(TesteFiltroGenerico2, OkOuCancelar_DevolveChavesEDescricoesNaOrdemDoDialogo_OuNadaMuda) {
    const std::string mudancas = "F6 linha:3 F5 F7 linha:1 F5 ";
    // Descricoes "anterior": the dialog was cancelled and left the caller's texts alone.
    const struct {
        const char* Nome;
        std::string Inicial;
        std::string Passos;
        std::string Chaves;
        std::string Descricoes;
        bool Nenhum;
    } casos[] = {
        {"todos marcados ao abrir", "", "clicar:btnOK", "", Todos, false},
        {"nenhum com F7", "", "F7 Return", "", Todos, true},
        {"um da lista", "(7)", "oGrid:Enter", "(7)", "00000007 - Padaria", false},
        {"um marcado com F5", "", "F7 linha:3 F5 clicar:btnOK", "(15)", "00000015 - Limpeza", false},
        {"todos menos um", "", "linha:2 oGrid:F5 btnOK:Return", "(3,40,15,7)",
         TextoAnsi("00000003 - Açougue\r\n00000040 - Bebidas\r\n00000015 - Limpeza\r\n00000007 - Padaria"), false},
        {"lista com todas as chaves", "(3,7,12,15,40)", "clicar:btnOK", "", Todos, false},
        {"chaves de grupos apagados caem", "(99,12,15)", "clicar:btnOK", "(12,15)",
         "00000012 - Frios\r\n00000015 - Limpeza", false},
        {"ordem do dialogo", "(12,40)", "clicar:btnOK", "(40,12)", "00000040 - Bebidas\r\n00000012 - Frios", false},
        {"F6 marca todos", "(12)", "F6 clicar:btnOK", "", Todos, false},
        {"F5 duas vezes numa linha marcada", "(12)", "linha:2 oGrid:F5 F5 clicar:btnOK", "(12)", "00000012 - Frios",
         false},
        {"F5 duas vezes numa linha sem marca", "(12)", "linha:4 F5 F5 clicar:btnOK", "(12)", "00000012 - Frios", false},
        {"Esc na pesquisa", "(12)", mudancas + "Esc", "(12)", "anterior", false},
        {"Esc na grade", "(12)", mudancas + "oGrid:Esc", "(12)", "anterior", false},
        {"Esc no botao OK", "(12)", mudancas + "btnOK:Esc", "(12)", "anterior", false},
        {"botao Cancelar", "(12)", mudancas + "clicar:btnCancelar", "(12)", "anterior", false},
        {"Enter no botao Cancelar", "(12)", mudancas + "btnCancelar:Return", "(12)", "anterior", false},
        {"caixa de fechar", "(12)", mudancas + "fechar", "(12)", "anterior", false},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        FDescricoes = "anterior";
        auto dialogo = Abrir(caso.Inicial);
        Passos(*dialogo, caso.Passos);
        EXPECT_FALSE(dialogo->isVisible());
        EXPECT_EQ(dialogo->result(), caso.Descricoes == "anterior" ? QDialog::Rejected : QDialog::Accepted);
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
        Passos(*dialogo, "F5 F6 F7 oGrid:F5");
        EXPECT_TRUE(dialogo->isVisible());
        Passos(*dialogo, "Return");
        EXPECT_EQ(dialogo->result(), QDialog::Accepted);
        EXPECT_EQ(FChaves, "");
        EXPECT_EQ(FDescricoes, Todos);
        EXPECT_TRUE(dialogo->NenhumMarcado());
    }
}

TEST_F(TesteFiltroGenerico2, Marcas_F5NaLinhaAtualF6F7EmTodasDeUmaVez_SemMoverOCursor) {
    auto dialogo = Abrir("(12)");
    IrPara(*dialogo, 2);
    const QTableView& grade = Controle<QTableView>(*dialogo, "oGrid");
    for (const auto& [passo, marcas] : std::vector<std::pair<std::string, std::string>>{
             {"F5", "NNNNN"}, {"oGrid:F5", "NNSNN"}, {"F6", "SSSSS"}, {"F7", "NNNNN"}}) {
        SCOPED_TRACE(passo);
        QSignalSpy mudancas(grade.model(), &QAbstractItemModel::dataChanged);
        QSignalSpy linhas(grade.selectionModel(), &QItemSelectionModel::currentRowChanged);
        Passos(*dialogo, passo);
        EXPECT_EQ(Marcas(*dialogo), marcas);
        EXPECT_EQ(mudancas.count(), 1) << "drawn once, without flicker";
        EXPECT_EQ(linhas.count(), 0);
        EXPECT_EQ(LinhaAtual(*dialogo), 2);
    }
}

TEST_F(TesteFiltroGenerico2, Pesquisa_PorCodigoOuPorComecoDaDescricao_SemMexerNasMarcas) {
    // Rows: 0 Açougue (3), 1 Bebidas (40), 2 Frios (12), 3 Limpeza (15), 4 Padaria (7). Each case: the current row
    // before, the row after, the texts searched.
    const std::vector<std::tuple<int, int, TTextos>> casos = {
        {4, 2, {"12", " 12", "+12", "x0c"}},
        {0, 3, {"$F", "lim"}},
        {4, 1, {"0x28", "BEB"}},
        {0, 4, {"X7", "Padaria"}},
        {0, 2, {"fR"}},
        {4, 0, {"3", TextoAnsi("aço"), TextoAnsi("AÇO")}},
        // Nothing found: the cursor stays.
        {2, 2, {"   ", "1000"}},
        {4, 4, {"-12", "12 "}},
        {1, 1, {"zz", "Uten"}},
        {0, 0, {"Padarias", "99"}},
    };
    auto dialogo = Abrir("(12)");
    auto& pesquisa = Controle<QLineEdit>(*dialogo, "EditPesquisa");
    for (const auto& [inicio, esperada, textos] : casos)
        for (const std::string& texto : textos) {
            SCOPED_TRACE("\"" + texto + "\"");
            pesquisa.clear();
            IrPara(*dialogo, inicio);
            pesquisa.setText(ParaQString(texto));
            EXPECT_EQ(LinhaAtual(*dialogo), esperada);
            EXPECT_EQ(Marcas(*dialogo), "NNSNN");
        }
}

TEST_F(TesteFiltroGenerico2, Construtor_ConsultaQueNaoAbre_FalhaSemMostrarNemMudarNada) {
    // Each case: the table, the keys, what the failure must name; the last one without a connection.
    const std::vector<std::tuple<std::string, std::string, std::string>> casos = {
        {"nao_existe", "(12)", "nao_existe"},
        {"grupo", "(12,", "(12,"},
        {"grupo", "(1); DROP TABLE grupo; --", "DROP TABLE"},
        {"grupo", " (12)", "(12)"},
        {"grupo", "", TextoAnsi("conexão")},
    };
    QWidget dono;
    for (const auto& [tabela, chavesIniciais, trecho] : casos) {
        SCOPED_TRACE(trecho);
        if (trecho == TextoAnsi("conexão"))
            TDadosExportacao::DefinirConexao(nullptr);
        std::string chaves = chavesIniciais;
        std::string descricoes = "anterior";
        try {
            TFFiltroGenerico2 dialogo(&dono, "grupo_id", "desc_arvore", tabela, TextoAnsi("Código"), "Grupo", chaves,
                                      descricoes, "apagado");
            ADD_FAILURE() << "the dialog opened";
        } catch (const EFalha& erro) {
            EXPECT_NE(std::string(erro.what()).find(trecho), std::string::npos) << erro.what();
        }
        EXPECT_EQ(chaves, chavesIniciais);
        EXPECT_EQ(descricoes, "anterior");
        EXPECT_TRUE(dono.findChildren<TFFiltroGenerico2*>().isEmpty());
        for (QWidget* janela : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<TFFiltroGenerico2*>(janela), nullptr);
    }
    EXPECT_EQ(ContarGrupos(), 6) << "nothing of the refused lists reached the server";
}

TEST_F(TesteFiltroGenerico2, Desenho_MarcadasEmSalmaoETextoBrancoSoNaLinhaAtualComFoco) {
    auto dialogo = AbrirNaLinha("(40,12)", 1);
    auto& grade = Controle<QTableView>(*dialogo, "oGrid");
    grade.setFocus();
    ASSERT_TRUE(Esperar([&] { return grade.hasFocus(); }));

    const QColor salmao(255, 128, 128);
    const auto fundo = [&](const QImage& imagem, int linha) {
        const QRect celula = grade.visualRect(grade.model()->index(linha, 1));
        return imagem.pixelColor(celula.right() - 4, celula.center().y());
    };
    // On the salmon background (green and blue 128) only white text gives near-white pixels.
    const auto brancosNoTexto = [&](const QImage& imagem, int linha) {
        const QRect celula = grade.visualRect(grade.model()->index(linha, 1)).adjusted(1, 1, -1, -1);
        int brancos = 0;
        for (int y = celula.top(); y <= celula.bottom(); ++y)
            for (int x = celula.left(); x <= celula.right(); ++x) {
                const QColor cor = imagem.pixelColor(x, y);
                brancos += cor.red() >= 200 && cor.green() >= 200 && cor.blue() >= 200;
            }
        return brancos;
    };

    QImage imagem = grade.viewport()->grab().toImage();
    EXPECT_EQ(fundo(imagem, 1), salmao) << "marked, current";
    // The current cell edge to edge: no focus frame tints the salmon.
    const QRect atual = grade.visualRect(grade.currentIndex());
    for (const QPoint ponto :
         {atual.topLeft() + QPoint(1, 1), atual.topRight() + QPoint(-2, 1), atual.bottomLeft() + QPoint(1, -2)})
        EXPECT_EQ(imagem.pixelColor(ponto), salmao) << ponto.x() << "," << ponto.y();
    // The title bar is the plain colour, with no gradient of the style over it.
    const QImage titulos = grade.horizontalHeader()->grab().toImage();
    for (const QPoint ponto : {QPoint(2, 2), QPoint(titulos.width() - 4, titulos.height() - 2)})
        EXPECT_EQ(titulos.pixelColor(ponto), QColor(0, 64, 128)) << ponto.x() << "," << ponto.y();
    EXPECT_EQ(fundo(imagem, 2), salmao) << "marked";
    EXPECT_NE(fundo(imagem, 0), salmao) << "not marked";
    EXPECT_NE(fundo(imagem, 3), salmao) << "not marked";
    EXPECT_GT(brancosNoTexto(imagem, 1), 0) << "current row with the focus: white text";
    EXPECT_EQ(brancosNoTexto(imagem, 2), 0) << "other marked row: window text";

    Controle<QLineEdit>(*dialogo, "EditPesquisa").setFocus();
    ASSERT_TRUE(Esperar([&] { return !grade.hasFocus(); }));
    imagem = grade.viewport()->grab().toImage();
    EXPECT_EQ(fundo(imagem, 1), salmao);
    EXPECT_EQ(brancosNoTexto(imagem, 1), 0) << "without the focus the current row's text is window text";
}

TEST_F(TesteFiltroGenerico2, Teclado_TabSaiDaGradeSemMudarALinha_AsSetasMovemALinha) {
    auto dialogo = AbrirNaLinha("(40,12)", 1);
    auto& grade = Controle<QTableView>(*dialogo, "oGrid");
    for (const auto& [modificador, destino] :
         {std::pair{Qt::NoModifier, "btnOK"}, std::pair{Qt::ShiftModifier, "EditPesquisa"}}) {
        grade.setFocus();
        ASSERT_TRUE(Esperar([&] { return grade.hasFocus(); }));
        QTest::keyClick(&grade, Qt::Key_Tab, modificador);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(destino));
        EXPECT_EQ(LinhaAtual(*dialogo), 1) << "Tab leaves the current row alone";
    }
    grade.setFocus();
    const int ultima = grade.model()->rowCount() - 1;
    for (const auto& [tecla, linha] :
         {std::pair{Qt::Key_Down, 2}, std::pair{Qt::Key_Up, 1}, std::pair{Qt::Key_End, ultima},
          std::pair{Qt::Key_Home, 0}, std::pair{Qt::Key_PageDown, ultima}}) {
        QTest::keyClick(&grade, tecla);
        EXPECT_EQ(LinhaAtual(*dialogo), linha) << tecla;
    }
}

} // namespace
