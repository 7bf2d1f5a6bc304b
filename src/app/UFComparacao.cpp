#include "app/UFComparacao.h"

#include "export/UCsv.h"
#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UTexto.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UEscolhaArquivo.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UGrade.h"
#include "qtbase/UTextoQt.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int Colunas = 7;

std::string Reais(const std::optional<std::int64_t>& centavos) {
    return centavos ? ReaisBrasileiros(*centavos) : std::string();
}

// A difference as the grid and the report show it, code page 1252: why it is no longer open, or the name it was
// sent with, goes beside its group.
TCampos Campos(const TDiferencaExportacao& d) {
    return {TComparacaoExportacao::NomeGrupo(d.Grupo) + (d.Motivo.empty() ? "" : TextoAnsi(" – ") + d.Motivo),
            d.Chapa,
            d.Nome,
            d.Data,
            d.Numero,
            Reais(d.CentavosEnviados),
            Reais(d.CentavosAgora)};
}

const char* const Titulos[Colunas] = {"Grupo", "Chapa", "Nome", "Data", "Número", "Valor enviado", "Valor agora"};

} // namespace

// The differences of the group chosen, one a row.
class TModeloDiferencas : public QAbstractTableModel {
public:
    TModeloDiferencas(const std::vector<TDiferencaExportacao>& diferencas, QObject* dono)
        : QAbstractTableModel(dono), FDiferencas(diferencas) {}

    void Mostrar(std::optional<TGrupoComparacao> grupo) {
        beginResetModel();
        FMostradas.clear();
        for (const TDiferencaExportacao& d : FDiferencas)
            if (!grupo || d.Grupo == *grupo)
                FMostradas.push_back(&d);
        endResetModel();
    }
    const std::vector<const TDiferencaExportacao*>& Mostradas() const { return FMostradas; }

    int rowCount(const QModelIndex& pai) const override {
        return pai.isValid() ? 0 : static_cast<int>(FMostradas.size());
    }
    int columnCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : Colunas; }

    QVariant data(const QModelIndex& indice, int papel) const override {
        if (!indice.isValid())
            return {};
        if (papel == Qt::TextAlignmentRole)
            return indice.column() >= 4 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        if (papel != Qt::DisplayRole)
            return {};
        return ParaQString(Campos(*FMostradas[static_cast<std::size_t>(indice.row())])[indice.column()]);
    }

    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override {
        if (papel != Qt::DisplayRole || orientacao != Qt::Horizontal || secao < 0 || secao >= Colunas)
            return {};
        return QString::fromUtf8(Titulos[secao]);
    }

private:
    const std::vector<TDiferencaExportacao>& FDiferencas;
    std::vector<const TDiferencaExportacao*> FMostradas;
};

TFComparacao::TFComparacao(QWidget* dono, TComparacaoExportacao comparacao)
    : TDialogo(dono), FComparacao(std::move(comparacao)) {
    setObjectName(QStringLiteral("FComparacao"));
    setWindowTitle(QStringLiteral("Comparação com o banco"));
    setAccessibleName(windowTitle());

    std::string resumo = THistoricoExportacao::Descrever(FComparacao.Registro);
    for (const std::string& linha : FComparacao.Resumo())
        resumo += "\n" + linha;
    if (!FComparacao.Mudou())
        resumo += TextoAnsi("\nNada mudou no banco desde que o arquivo foi enviado.");
    lblResumo = new QLabel(ParaQString(resumo), this);
    lblResumo->setObjectName(QStringLiteral("lblResumo"));
    lblResumo->setWordWrap(true);

    lblGrupo = new QLabel(QStringLiteral("&Grupo:"), this);
    lblGrupo->setObjectName(QStringLiteral("lblGrupo"));
    cmbGrupo = new QComboBox(this);
    cmbGrupo->setObjectName(QStringLiteral("cmbGrupo"));
    cmbGrupo->setAccessibleName(QStringLiteral("Grupo"));
    lblGrupo->setBuddy(cmbGrupo);
    cmbGrupo->addItem(QStringLiteral("Todas as diferenças (%1)").arg(FComparacao.Diferencas.size()), -1);
    using enum TGrupoComparacao;
    for (const TGrupoComparacao grupo : {Novo, NaoEstaMaisEmAberto, Alterado}) {
        const auto quantos = std::count_if(FComparacao.Diferencas.begin(), FComparacao.Diferencas.end(),
                                           [grupo](const TDiferencaExportacao& d) { return d.Grupo == grupo; });
        cmbGrupo->addItem(ParaQString(TComparacaoExportacao::NomeGrupo(grupo)) + QStringLiteral(" (%1)").arg(quantos),
                          static_cast<int>(grupo));
    }

    GridDiferencas = new TGrade(this);
    GridDiferencas->setObjectName(QStringLiteral("GridDiferencas"));
    GridDiferencas->setAccessibleName(QStringLiteral("Diferenças"));
    FModelo = new TModeloDiferencas(FComparacao.Diferencas, this);
    GridDiferencas->setModel(FModelo);
    GridDiferencas->verticalHeader()->hide();
    GridDiferencas->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int larguras[] = {200, 90, 200, 80, 70, 100};
    for (int coluna = 0; coluna < static_cast<int>(std::size(larguras)); ++coluna)
        GridDiferencas->setColumnWidth(coluna, larguras[coluna]);
    GridDiferencas->horizontalHeader()->setStretchLastSection(true);

    btnSalvarRelatorio = CriarBotao(this, "btnSalvarRelatorio", QStringLiteral("Salvar relatório…"));
    btnFechar = CriarBotao(this, "btnFechar", QStringLiteral("Fechar (Esc)"));
    btnSalvarRelatorio->setAccessibleName(btnSalvarRelatorio->text());
    btnFechar->setAccessibleName(btnFechar->text());

    auto* filtro = new QHBoxLayout;
    filtro->addWidget(lblGrupo);
    filtro->addWidget(cmbGrupo, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(btnSalvarRelatorio);
    botoes->addWidget(btnFechar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(lblResumo);
    janela->addLayout(filtro);
    janela->addWidget(GridDiferencas, 1);
    janela->addLayout(botoes);
    setTabOrder(cmbGrupo, GridDiferencas);
    setTabOrder(GridDiferencas, btnSalvarRelatorio);
    setTabOrder(btnSalvarRelatorio, btnFechar);

    connect(cmbGrupo, &QComboBox::currentIndexChanged, this,
            [this] { ExecutarTratando(this, [this] { cmbGrupoChange(); }); });
    connect(btnSalvarRelatorio, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnSalvarRelatorioClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    PreverTeclado();

    resize(900, 480);
    cmbGrupoChange();
    GridDiferencas->setFocus();
}

void TFComparacao::cmbGrupoChange() {
    const int grupo = cmbGrupo->currentData().toInt();
    FModelo->Mostrar(grupo < 0 ? std::nullopt : std::optional(static_cast<TGrupoComparacao>(grupo)));
    if (FModelo->rowCount({}) > 0)
        GridDiferencas->setCurrentIndex(FModelo->index(0, 0));
    btnSalvarRelatorio->setEnabled(FModelo->rowCount({}) > 0);
}

void TFComparacao::btnSalvarRelatorioClick() {
    const auto& enviado = FComparacao.Registro.Arquivo;
    std::filesystem::path nome = "comparacao_";
    nome += enviado.stem();
    nome += ".csv";
    const auto destino = TEscolhaArquivo::Atual().EscolherArquivoParaSalvar(
        this, QStringLiteral("Salvar relatório"), enviado.parent_path() / nome, QStringLiteral("Planilhas (*.csv)"));
    if (!destino)
        return;
    std::string texto;
    TCampos titulos;
    for (const char* titulo : Titulos)
        titulos.push_back(TextoAnsi(titulo));
    texto += LinhaCsv(titulos);
    for (const TDiferencaExportacao* d : FModelo->Mostradas())
        texto += LinhaCsv(Campos(*d));
    TArquivoSeguro arquivo(*destino);
    arquivo.Escrever(texto);
    arquivo.Confirmar();
    MostrarInformacao(this, TextoAnsi("Relatório salvo em \"") + CaminhoMensagem(*destino) + "\".");
}
