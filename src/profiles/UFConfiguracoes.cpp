#include "profiles/UFConfiguracoes.h"

#include "export/UDados.h"
#include "platform/UCp1252.h"
#include "platform/UTexto.h"
#include "profiles/UFConfiguracoesEdicao.h"
#include "profiles/UFiltroGenerico2.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UGrade.h"
#include "qtbase/UTextoQt.h"

#include <QAbstractTableModel>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

// Shows the window's table in GridProdutos: one column with the description, and an arrow on the current
// row in the row indicator. Every change of the table goes through here so that the grid follows it.
class TModeloPerfis : public QAbstractTableModel {
public:
    TModeloPerfis(std::vector<TPerfil>& perfis, QObject* dono) : QAbstractTableModel(dono), FPerfis(perfis) {}

    int rowCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : static_cast<int>(FPerfis.size()); }
    int columnCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : 1; }

    QVariant data(const QModelIndex& indice, int papel) const override {
        if (papel != Qt::DisplayRole || !indice.isValid() || indice.row() >= rowCount({}))
            return {};
        return ParaQString(FPerfis[static_cast<std::size_t>(indice.row())].descricao_perfil);
    }

    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override {
        if (papel != Qt::DisplayRole)
            return {};
        if (orientacao == Qt::Horizontal)
            return QStringLiteral("Descrição");
        return secao == FLinhaAtual ? QStringLiteral("\u25B6") : QString();
    }

    void Limpar() {
        beginResetModel();
        FPerfis.clear();
        FLinhaAtual = -1;
        endResetModel();
    }

    void Incluir(TPerfil perfil) {
        const int linha = rowCount({});
        beginInsertRows({}, linha, linha);
        FPerfis.push_back(std::move(perfil));
        endInsertRows();
    }

    void Excluir(int linha) {
        beginRemoveRows({}, linha, linha);
        FPerfis.erase(FPerfis.begin() + linha);
        endRemoveRows();
    }

    // The list is never shown, so the grid has nothing to redraw.
    void VincularGrupos(int linha, std::string grupos) {
        FPerfis[static_cast<std::size_t>(linha)].grupos_vinculados = std::move(grupos);
    }

    void DefinirLinhaAtual(int linha) {
        const int anterior = FLinhaAtual;
        FLinhaAtual = linha;
        for (int secao : {anterior, linha})
            if (secao >= 0 && secao < rowCount({}))
                emit headerDataChanged(Qt::Vertical, secao, secao);
    }

private:
    std::vector<TPerfil>& FPerfis;
    int FLinhaAtual = -1;
};

TFConfiguracoes::TFConfiguracoes(QWidget* dono) : TDialogo(dono) {
    setWindowTitle(QStringLiteral("Configurações"));

    pnlCabecalho = new QFrame(this);
    pnlCabecalho->setObjectName(QStringLiteral("pnlCabecalho"));
    pnlCabecalho->setFrameShape(QFrame::StyledPanel);
    Label5 = new QLabel(QStringLiteral("Configurar Perfis"), pnlCabecalho);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont fonte(QStringLiteral("Arial"));
    fonte.setBold(true);
    fonte.setPointSize(font().pointSize() + 6);
    Label5->setFont(fonte);
    auto* cabecalho = new QHBoxLayout(pnlCabecalho);
    cabecalho->addWidget(Label5);

    GridProdutos = new TGrade(this);
    GridProdutos->setObjectName(QStringLiteral("GridProdutos"));
    GridProdutos->setAccessibleName(QStringLiteral("Perfis"));
    FModelo = new TModeloPerfis(cdsPerfis, this);
    GridProdutos->setModel(FModelo);
    GridProdutos->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridProdutos->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    GridProdutos->verticalHeader()->setFixedWidth(18);
    connect(GridProdutos->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { FModelo->DefinirLinhaAtual(atual.isValid() ? atual.row() : -1); });

    GroupBox1 = new QGroupBox(QStringLiteral("Opções"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    btnVincular = CriarBotao(GroupBox1, "btnVincular", QStringLiteral("Vincular Grupos"));
    btnIncluir = CriarBotao(GroupBox1, "btnIncluir", QStringLiteral("Incluir"));
    btnExcluir = CriarBotao(GroupBox1, "btnExcluir", QStringLiteral("Excluir"));
    btnFechar = CriarBotao(GroupBox1, "btnFechar", QStringLiteral("Fechar (Esc)"));
    auto* opcoes = new QHBoxLayout(GroupBox1);
    for (QPushButton* botao : {btnVincular, btnIncluir, btnExcluir, btnFechar})
        opcoes->addWidget(botao);

    auto* janela = new QVBoxLayout(this);
    janela->addWidget(pnlCabecalho);
    janela->addWidget(GridProdutos, 1);
    janela->addWidget(GroupBox1);

    setTabOrder(btnVincular, btnIncluir);
    setTabOrder(btnIncluir, btnExcluir);
    setTabOrder(btnExcluir, btnFechar);
    setTabOrder(btnFechar, GridProdutos);
    btnVincular->setFocus();

    connect(btnVincular, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnVincularClick(); }); });
    connect(btnIncluir, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnIncluirClick(); }); });
    connect(btnExcluir, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnExcluirClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, [this] { btnFecharClick(); });
    PreverTeclado();

    setFixedSize(520, 420);
}

void TFConfiguracoes::showEvent(QShowEvent* evento) {
    TDialogo::showEvent(evento);
    // A window restored from the task bar is shown again by the system; only a real opening reads the file.
    if (!evento->spontaneous())
        FormShow();
}

void TFConfiguracoes::FormShow() {
    FModelo->Limpar();
    FArquivoLido = false;
    ExecutarTratando(this, [this] {
        CarregarPerfis();
        FArquivoLido = true;
    });
    if (!FArquivoLido) {
        // Writing the empty table back would wipe out every profile of a file that only failed to read.
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
        return;
    }
    if (!cdsPerfis.empty())
        IrPara(0);
}

void TFConfiguracoes::Cancelar() {
    btnFecharClick();
}

void TFConfiguracoes::done(int resultado) {
    if (!FormClose())
        return;
    QDialog::done(resultado);
}

bool TFConfiguracoes::FormClose() {
    if (FArquivoLido) {
        bool gravou = false;
        ExecutarTratando(this, [this, &gravou] {
            GravarPerfis();
            gravou = true;
        });
        if (!gravou)
            return false;
    }
    FModelo->Limpar();
    FArquivoLido = false;
    return true;
}

void TFConfiguracoes::btnFecharClick() {
    close();
}

void TFConfiguracoes::btnIncluirClick() {
    IncluirPerfil();
}

void TFConfiguracoes::btnExcluirClick() {
    if (cdsPerfis.empty())
        return;
    if (Perguntar(this, "Confirma excluir o perfil?"))
        ExcluirPerfil();
}

void TFConfiguracoes::btnVincularClick() {
    if (cdsPerfis.empty()) {
        MostrarInformacao(this, TextoAnsi("Informe ao menos um perfil antes de vincular grupos."));
        return;
    }
    const int linha = LinhaAtual();
    if (linha < 0)
        return;
    const TPerfil& perfil = cdsPerfis[static_cast<std::size_t>(linha)];
    // The same reading as the export's: blanks around the list do not count.
    std::string Chaves = Aparar(perfil.grupos_vinculados);
    if (!TArquivoPerfis::ListaGruposValida(Chaves)) {
        // Only a file edited by hand holds such a list; it must not go into the dialog's SQL.
        MostrarAviso(this, TextoAnsi("A lista de grupos vinculados ao perfil \"") + Aparar(perfil.descricao_perfil) +
                               TextoAnsi("\" não é uma lista válida de códigos de grupo, como (12,15,40): ") +
                               perfil.grupos_vinculados + TextoAnsi("\r\nExclua o perfil e inclua-o de novo."));
        return;
    }
    std::string Descricoes;
    TFFiltroGenerico2 filtro(this, "grupo_id", "desc_arvore", "grupo", TextoAnsi("Código"), "Grupo", Chaves, Descricoes,
                             "apagado");
    if (filtro.exec() == QDialog::Accepted)
        FModelo->VincularGrupos(linha, Chaves);
}

void TFConfiguracoes::CarregarPerfis() {
    for (TPerfil& perfil : TArquivoPerfis::Ler())
        FModelo->Incluir(std::move(perfil));
}

void TFConfiguracoes::GravarPerfis() {
    TArquivoPerfis::Gravar(cdsPerfis);
}

void TFConfiguracoes::IncluirPerfil() {
    TFConfigurarPerfilEdicao dialogo(this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    FModelo->Incluir({dialogo.Descricao(), {}});
    IrPara(static_cast<int>(cdsPerfis.size()) - 1);
}

void TFConfiguracoes::ExcluirPerfil() {
    const int linha = LinhaAtual();
    if (linha < 0)
        return;
    FModelo->Excluir(linha);
    if (cdsPerfis.empty())
        return;
    IrPara(linha < static_cast<int>(cdsPerfis.size()) ? linha : linha - 1);
}

int TFConfiguracoes::LinhaAtual() const {
    const QModelIndex atual = GridProdutos->currentIndex();
    return atual.isValid() ? atual.row() : -1;
}

void TFConfiguracoes::IrPara(int linha) {
    GridProdutos->setCurrentIndex(FModelo->index(linha, 0));
}
