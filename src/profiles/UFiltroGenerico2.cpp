#include "profiles/UFiltroGenerico2.h"

#include "dao/UQuery.h"
#include "export/UDados.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UGrade.h"
#include "qtbase/UTextoQt.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>
#include <vector>

namespace {

const QColor CorMarcado(255, 128, 128);
const char* const CampoMarcado = "MARCADO";

} // namespace

// Shows the rows of QrySelecao in oGrid. The query holds the rows and their marks; the model keeps a copy of
// what the grid draws, taken again whenever the query says its rows changed, and passes cursor moves on.
class TModeloSelecao : public QAbstractTableModel, public IObservadorQuery {
public:
    TModeloSelecao(TQuery& query, const std::string& campoChave, const std::string& campoDescricao, QString tituloChave,
                   QString tituloDescricao, QObject* dono)
        : QAbstractTableModel(dono), FQuery(query), FCampoChave(query.IndiceCampo(campoChave)),
          FCampoDescricao(query.IndiceCampo(campoDescricao)),
          FCampoMarcado(query.IndiceCampo(CampoMarcado)), FTitulos{std::move(tituloChave), std::move(tituloDescricao)} {
        Copiar();
        FQuery.SetObservador(this);
    }
    ~TModeloSelecao() override { FQuery.SetObservador(nullptr); }

    // Called when the query's current row moved.
    std::function<void()> AoMoverCursor;

    int rowCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : static_cast<int>(FLinhas.size()); }
    int columnCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex& indice, int papel) const override {
        if (!indice.isValid() || indice.row() >= rowCount({}))
            return {};
        const TLinha& linha = FLinhas[static_cast<std::size_t>(indice.row())];
        switch (papel) {
        case Qt::DisplayRole:
            return indice.column() == 0 ? linha.Chave : linha.Descricao;
        case Qt::TextAlignmentRole:
            return indice.column() == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case TFFiltroGenerico2::PapelMarcado:
            return linha.Marcado;
        default:
            return {};
        }
    }

    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override {
        if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole || secao < 0 || secao > 1)
            return {};
        return FTitulos[secao];
    }

    void CursorMudou() override {
        if (!FCopiando && AoMoverCursor)
            AoMoverCursor();
    }

    void DadosMudaram() override {
        if (FCopiando)
            return;
        if (FLinhas.size() != FQuery.QuantidadeRegistros()) {
            beginResetModel();
            Copiar();
            endResetModel();
        } else {
            Copiar();
            if (!FLinhas.empty())
                emit dataChanged(index(0, 0), index(rowCount({}) - 1, 1));
        }
        CursorMudou();
    }

private:
    struct TLinha {
        QString Chave;
        QString Descricao;
        bool Marcado;
    };

    void Copiar() {
        FCopiando = true;
        const std::size_t atual = FQuery.Linha();
        FLinhas.clear();
        FLinhas.reserve(FQuery.QuantidadeRegistros());
        for (FQuery.Primeiro(); !FQuery.FimDosDados(); FQuery.Proximo())
            FLinhas.push_back({ParaQString(FQuery.Campo(FCampoChave).Texto()),
                               ParaQString(FQuery.Campo(FCampoDescricao).Texto()),
                               FQuery.Campo(FCampoMarcado).Texto() == "S"});
        FQuery.IrPara(atual);
        FCopiando = false;
    }

    TQuery& FQuery;
    int FCampoChave;
    int FCampoDescricao;
    int FCampoMarcado;
    QString FTitulos[2];
    std::vector<TLinha> FLinhas;
    bool FCopiando = false;
};

namespace {

// oGridDrawColumnCell: marked rows are salmon; the current row, when marked, stands out only through white
// text while the grid has the focus.
class TDesenhoMarcado : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override {
        if (!indice.data(TFFiltroGenerico2::PapelMarcado).toBool()) {
            QStyledItemDelegate::paint(pintor, opcao, indice);
            return;
        }
        QStyleOptionViewItem celula = opcao;
        initStyleOption(&celula, indice);
        const bool gradeFocada = celula.widget && celula.widget->hasFocus();
        const bool selecionada = celula.state.testFlag(QStyle::State_Selected);
        const QColor texto =
            gradeFocada && selecionada ? QColor(Qt::white) : celula.palette.color(QPalette::WindowText);
        // Plain salmon, current cell or not: the style's focus frame would tint it.
        celula.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        celula.backgroundBrush = CorMarcado;
        celula.palette.setColor(QPalette::Text, texto);
        const QStyle* estilo = celula.widget ? celula.widget->style() : QApplication::style();
        estilo->drawControl(QStyle::CE_ItemViewItem, &celula, pintor, celula.widget);
    }
};

} // namespace

TFFiltroGenerico2::TFFiltroGenerico2(QWidget* dono, const std::string& CampoChave, const std::string& CampoDescricao,
                                     const std::string& Tabela, const std::string& TituloChave,
                                     const std::string& Entidade, std::string& Chaves, std::string& Descricoes,
                                     const std::string& CampoApagado)
    : TDialogo(dono), FCampoChave(CampoChave), FCampoDescricao(CampoDescricao), FChaves(Chaves),
      FDescricoes(Descricoes) {

    lblPesquisa = new QLabel(this);
    lblPesquisa->setObjectName(QStringLiteral("lblPesquisa"));
    EditPesquisa = new QLineEdit(this);
    EditPesquisa->setObjectName(QStringLiteral("EditPesquisa"));
    lblPesquisa->setBuddy(EditPesquisa);

    oGrid = new TGrade(this);
    oGrid->setObjectName(QStringLiteral("oGrid"));
    oGrid->setShowGrid(true);
    oGrid->verticalHeader()->hide();
    oGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    oGrid->setItemDelegate(new TDesenhoMarcado(oGrid));

    btnOK = CriarBotao(this, "btnOK", QStringLiteral("&OK"));
    btnCancelar = CriarBotao(this, "btnCancelar", QStringLiteral("Cancela&r"));
    Label3 = new QLabel(QStringLiteral("F5 - Marca/Desmarca   F6 - Todos   F7 - Nenhum"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFixedSize(16, 16);
    Shape1->setStyleSheet(QStringLiteral("QFrame { background-color: rgb(255, 128, 128); border: 1px solid black; }"));
    Label4 = new QLabel(QStringLiteral("Marcados para Seleção"), this);
    Label4->setObjectName(QStringLiteral("Label4"));

    auto* legenda = new QHBoxLayout;
    legenda->addWidget(Shape1);
    legenda->addWidget(Label4);
    legenda->addStretch(1);
    legenda->addWidget(btnOK);
    legenda->addWidget(btnCancelar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(lblPesquisa);
    janela->addWidget(EditPesquisa);
    janela->addWidget(oGrid, 1);
    janela->addWidget(Label3);
    janela->addLayout(legenda);

    setTabOrder(EditPesquisa, oGrid);
    setTabOrder(oGrid, btnOK);
    setTabOrder(btnOK, btnCancelar);
    EditPesquisa->setFocus();

    setWindowTitle(ParaQString(TextoAnsi("Filtro - Seleção de ") + Entidade));
    lblPesquisa->setText(ParaQString(Entidade + TextoAnsi(" (Código/Descrição)")));
    oGrid->setAccessibleName(ParaQString(TextoAnsi("Seleção de ") + Entidade));

    // The keys go into the SQL text as they are: only a list of whole numbers may.
    if (!TArquivoPerfis::ListaGruposValida(Chaves))
        throw EFalha(TextoAnsi("A lista de códigos \"") + Chaves +
                     TextoAnsi("\" não é uma lista válida, como (12,15,40)."));
    TConexao* conexao = TDadosExportacao::GetConexao();
    if (!conexao)
        throw EFalha(TextoAnsi("Não há conexão com o banco de dados."));
    FQrySelecao =
        std::make_unique<TQuery>(*conexao, MontarSQL(CampoChave, CampoDescricao, Tabela, Chaves, CampoApagado));
    FQrySelecao->Abrir();

    FModelo = new TModeloSelecao(*FQrySelecao, CampoChave, CampoDescricao, ParaQString(TituloChave),
                                 ParaQString(Entidade), this);
    FModelo->AoMoverCursor = [this] { SeguirCursor(); };
    oGrid->setModel(FModelo);
    oGrid->setColumnWidth(0, 80);
    connect(oGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& atual) {
        if (atual.isValid() && static_cast<std::size_t>(atual.row()) != FQrySelecao->Linha())
            FQrySelecao->IrPara(static_cast<std::size_t>(atual.row()));
    });
    SeguirCursor();

    connect(EditPesquisa, &QLineEdit::textChanged, this,
            [this](const QString& texto) { ExecutarTratando(this, [this, &texto] { EditPesquisaChange(texto); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnOKClick(); }); });
    connect(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });
    PreverTeclado();

    setFixedSize(560, 440);
}

TFFiltroGenerico2::~TFFiltroGenerico2() {
    // The grid's model listens to the query, which goes before the window's children: the model goes first.
    oGrid->setModel(nullptr);
    delete FModelo;
}

std::string TFFiltroGenerico2::MontarSQL(const std::string& CampoChave, const std::string& CampoDescricao,
                                         const std::string& Tabela, const std::string& Chaves,
                                         const std::string& CampoApagado) {
    std::string sql = "Select " + CampoChave + ", " + CampoDescricao + ", ";
    if (Chaves.empty())
        sql += "\"S\" AS MARCADO";
    else
        sql += "IF (" + CampoChave + " in " + Chaves + ",\"S\",\"N\") AS MARCADO";
    sql += " from " + Tabela;
    if (!CampoApagado.empty())
        sql += "\r\nWhere " + CampoApagado + " <> \"S\"";
    sql += "\r\nOrder by " + CampoDescricao;
    return sql;
}

bool TFFiltroGenerico2::eventFilter(QObject* alvo, QEvent* evento) {
    // The text colour of the current row depends on the grid's focus.
    if (alvo == oGrid && (evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut))
        oGrid->viewport()->update();
    return TDialogo::eventFilter(alvo, evento);
}

void TFFiltroGenerico2::Cancelar() {
    btnCancelarClick();
}

bool TFFiltroGenerico2::FormKeyDown(QObject* alvo, int tecla) {
    switch (tecla) {
    // Enter outside a button confirms the selection.
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!ClicarBotaoFocado(alvo))
            btnOKClick();
        return true;
    case Qt::Key_F5:
        if (!FQrySelecao->Vazia())
            AlternarMarca();
        return true;
    case Qt::Key_F6:
        if (!FQrySelecao->Vazia())
            MarcarTodos("S");
        return true;
    case Qt::Key_F7:
        if (!FQrySelecao->Vazia())
            MarcarTodos("N");
        return true;
    default:
        return TDialogo::FormKeyDown(alvo, tecla);
    }
}

void TFFiltroGenerico2::AlternarMarca() {
    const bool marcado = FQrySelecao->Campo(CampoMarcado).Texto() == "S";
    FQrySelecao->Editar(CampoMarcado, std::string(marcado ? "N" : "S"));
}

void TFFiltroGenerico2::MarcarTodos(const std::string& marca) {
    TQuery& query = *FQrySelecao;
    // One repaint at the end instead of one for every row.
    const TPercursoQuery percurso(query);
    for (query.Primeiro(); !query.FimDosDados(); query.Proximo())
        query.Editar(CampoMarcado, marca);
}

void TFFiltroGenerico2::EditPesquisaChange(const QString& texto) {
    const std::string pesquisa = DeQString(texto);
    if (Aparar(pesquisa).empty())
        return;
    if (const auto numero = ConverterInteiro(pesquisa))
        FQrySelecao->Localizar(FCampoChave, std::to_string(*numero), false);
    else
        FQrySelecao->Localizar(FCampoDescricao, pesquisa, true);
}

void TFFiltroGenerico2::btnOKClick() {
    TQuery& query = *FQrySelecao;
    const int campoChave = query.IndiceCampo(FCampoChave);
    const int campoDescricao = query.IndiceCampo(FCampoDescricao);
    const int campoMarcado = query.IndiceCampo(CampoMarcado);
    std::string chaves;
    std::string descricoes;
    std::size_t quantidade = 0;

    {
        const TPercursoQuery percurso(query);
        for (query.Primeiro(); !query.FimDosDados(); query.Proximo()) {
            if (query.Campo(campoMarcado).Texto() != "S")
                continue;
            chaves += "," + query.Campo(campoChave).Texto();
            if (!descricoes.empty())
                descricoes += "\r\n";
            descricoes +=
                FormatarZeros(query.Campo(campoChave).Inteiro(), 8) + " - " + query.Campo(campoDescricao).Texto();
            ++quantidade;
        }
    }

    if (quantidade > 0 && quantidade != query.QuantidadeRegistros()) {
        FChaves = "(" + chaves.substr(1) + ")";
        FDescricoes = descricoes;
    } else {
        // All and none both mean no limit; NenhumMarcado tells them apart.
        if (quantidade == 0)
            FNenhumMarcado = true;
        FChaves.clear();
        FDescricoes = TextoAnsi("TODOS OS REGISTROS ESTÃO SELECIONADOS");
    }
    accept();
}

void TFFiltroGenerico2::btnCancelarClick() {
    reject();
}

void TFFiltroGenerico2::SeguirCursor() {
    if (FQrySelecao->Vazia())
        return;
    const int linha = static_cast<int>(FQrySelecao->Linha());
    if (oGrid->currentIndex().row() != linha)
        oGrid->setCurrentIndex(FModelo->index(linha, 0));
}
