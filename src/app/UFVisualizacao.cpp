#include "app/UFVisualizacao.h"

#include "export/USelecaoExportacao.h"
#include "platform/UCp1252.h"
#include "qtbase/UGrade.h"
#include "qtbase/UTextoQt.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The postings of the selection, one a row; the texts are made as the grid asks for them, so a period of a
// million rows costs no more than the lines themselves.
class TModeloSelecao : public QAbstractTableModel {
public:
    TModeloSelecao(const TSelecaoExportacao& selecao, QObject* dono) : QAbstractTableModel(dono), FSelecao(selecao) {}

    int rowCount(const QModelIndex& pai) const override {
        return pai.isValid() ? 0 : static_cast<int>(FSelecao.Quantidade());
    }
    int columnCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : Colunas; }

    QVariant data(const QModelIndex& indice, int papel) const override {
        if (!indice.isValid())
            return {};
        const auto& item = FSelecao.Item(static_cast<std::size_t>(indice.row()));
        if (papel == Qt::BackgroundRole) {
            if (item.Recusado)
                return QBrush(QColor(255, 214, 214));
            return item.NomeComPerda ? QVariant(QBrush(QColor(255, 240, 190))) : QVariant();
        }
        if (papel == Qt::TextAlignmentRole)
            return indice.column() == 3 || indice.column() == 4 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                : QVariant();
        if (papel != Qt::DisplayRole)
            return {};
        const auto campos = FSelecao.Campos(static_cast<std::size_t>(indice.row()));
        const std::string* const textos[Colunas] = {&campos.Chapa,  &campos.Nome,  &campos.Data,
                                                    &campos.Numero, &campos.Valor, &campos.Situacao};
        return ParaQString(*textos[indice.column()]);
    }

    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override {
        static const char* const titulos[Colunas] = {"Chapa", "Nome", "Data", "Número", "Valor (R$)", "Situação"};
        if (papel != Qt::DisplayRole || orientacao != Qt::Horizontal || secao < 0 || secao >= Colunas)
            return {};
        return QString::fromUtf8(titulos[secao]);
    }

private:
    static constexpr int Colunas = 6;
    const TSelecaoExportacao& FSelecao;
};

TFVisualizacao::TFVisualizacao(QWidget* dono, const TSelecaoExportacao& selecao) : TDialogo(dono) {
    setObjectName(QStringLiteral("FVisualizacao"));
    setWindowTitle(QStringLiteral("Visualizar exportação"));
    setAccessibleName(windowTitle());

    lblResumo = new QLabel(ParaQString(selecao.Resumo()), this);
    lblResumo->setObjectName(QStringLiteral("lblResumo"));

    GridLancamentos = new TGrade(this);
    GridLancamentos->setObjectName(QStringLiteral("GridLancamentos"));
    GridLancamentos->setAccessibleName(QStringLiteral("Lançamentos"));
    GridLancamentos->setModel(new TModeloSelecao(selecao, this));
    // Rows of one height and columns of set widths: nothing measures a million rows.
    GridLancamentos->verticalHeader()->hide();
    GridLancamentos->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int larguras[] = {90, 280, 90, 70, 100};
    for (int coluna = 0; coluna < static_cast<int>(std::size(larguras)); ++coluna)
        GridLancamentos->setColumnWidth(coluna, larguras[coluna]);

    // What Gerar would do with the marked rows, said before it is pressed.
    std::string aviso;
    if (selecao.Recusas() > 0)
        aviso = TextoAnsi("Os lançamentos marcados em vermelho não podem ir para o arquivo: "
                          "Gerar (F3) não gravará nada enquanto estiverem na seleção.");
    if (selecao.NomesComPerda() > 0)
        aviso += (aviso.empty() ? "" : "\n") +
                 TextoAnsi("Os nomes marcados em amarelo têm caracteres que a página de código 1252 não tem: "
                           "vão para o arquivo com \"?\" no lugar deles.");
    lblAviso = new QLabel(ParaQString(aviso), this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);
    lblAviso->setVisible(!aviso.empty());

    btnGerar = CriarBotao(this, "btnGerar", QStringLiteral("Gerar (F3)"));
    btnFechar = CriarBotao(this, "btnFechar", QStringLiteral("Fechar (Esc)"));
    btnGerar->setAccessibleName(btnGerar->text());
    btnFechar->setAccessibleName(btnFechar->text());

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(btnGerar);
    botoes->addWidget(btnFechar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(lblResumo);
    janela->addWidget(GridLancamentos, 1);
    janela->addWidget(lblAviso);
    janela->addLayout(botoes);
    setTabOrder(GridLancamentos, btnGerar);
    setTabOrder(btnGerar, btnFechar);

    connect(btnGerar, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    PreverTeclado();

    resize(900, 480);
    if (selecao.Quantidade() > 0)
        GridLancamentos->setCurrentIndex(GridLancamentos->model()->index(0, 0));
    GridLancamentos->setFocus();
}

bool TFVisualizacao::FormKeyDown(QObject* alvo, int tecla) {
    if (tecla == Qt::Key_F3) {
        btnGerar->click();
        return true;
    }
    return TDialogo::FormKeyDown(alvo, tecla);
}
