#include "app/UFHistorico.h"

#include "app/UFComparacao.h"
#include "export/UComparacaoExportacao.h"
#include "export/UCopiasExportacao.h"
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
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <optional>

namespace {

std::string Empresa(const TRegistroExportacao& r) {
    return std::to_string(r.Empresa) + (r.NomeEmpresa.empty() ? "" : " - " + r.NomeEmpresa);
}

// The window disabled, with the wait cursor, for as long as it lives.
class TOcupado {
public:
    explicit TOcupado(QWidget* janela) : FJanela(janela), FFoco(janela->focusWidget()) {
        FJanela->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TOcupado() {
        QApplication::restoreOverrideCursor();
        FJanela->setEnabled(true);
        if (FFoco)
            FFoco->setFocus();
    }
    TOcupado(const TOcupado&) = delete;
    TOcupado& operator=(const TOcupado&) = delete;

private:
    QWidget* FJanela;
    QPointer<QWidget> FFoco;
};

} // namespace

// The rows of the record that the company filter lets through, one export a row.
class TModeloHistorico : public QAbstractTableModel {
public:
    explicit TModeloHistorico(QObject* dono) : QAbstractTableModel(dono) {}

    void Mostrar(std::vector<const TRegistroExportacao*> registros) {
        beginResetModel();
        FRegistros = std::move(registros);
        endResetModel();
    }
    const TRegistroExportacao* Registro(int linha) const {
        return linha >= 0 && linha < rowCount({}) ? FRegistros[static_cast<std::size_t>(linha)] : nullptr;
    }

    int rowCount(const QModelIndex& pai) const override {
        return pai.isValid() ? 0 : static_cast<int>(FRegistros.size());
    }
    int columnCount(const QModelIndex& pai) const override { return pai.isValid() ? 0 : static_cast<int>(Colunas); }

    QVariant data(const QModelIndex& indice, int papel) const override {
        const TRegistroExportacao* r = Registro(indice.row());
        if (!r)
            return {};
        if (papel == Qt::TextAlignmentRole)
            return indice.column() >= 6 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        if (papel != Qt::DisplayRole)
            return {};
        switch (indice.column()) {
        case 0:
            return ParaQString(r->Momento.TextoExibicao());
        case 1:
            return ParaQString(r->Usuario);
        case 2:
            return ParaQString(Empresa(*r));
        case 3:
            return ParaQString(r->DataInicial.TextoDataExibicao() + " a " + r->DataFinal.TextoDataExibicao() +
                               (r->DataLancamento ? TextoAnsi(", lançamento") : ", vencimento"));
        case 4:
            return ParaQString(r->DescricaoPerfil.empty() ? std::to_string(r->Perfil) : r->DescricaoPerfil);
        case 5:
            return CaminhoParaQString(r->Arquivo);
        case 6:
            return ParaQString(MilharesBrasileiros(static_cast<long long>(r->Linhas)));
        default:
            return ParaQString("R$ " + ReaisBrasileiros(r->TotalCentavos));
        }
    }

    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override {
        static const char* const titulos[Colunas] = {"Data e hora", "Usuário", "Empresa",     "Período",
                                                     "Perfil",      "Arquivo", "Lançamentos", "Total"};
        if (papel != Qt::DisplayRole || orientacao != Qt::Horizontal || secao < 0 || secao >= Colunas)
            return {};
        return QString::fromUtf8(titulos[secao]);
    }

private:
    static constexpr int Colunas = 8;
    std::vector<const TRegistroExportacao*> FRegistros;
};

TFHistorico::TFHistorico(QWidget* dono) : TDialogo(dono) {
    setWindowTitle(QStringLiteral("Histórico de exportações"));
    setAccessibleName(windowTitle());

    lblEmpresa = new QLabel(QStringLiteral("Empresa:"), this);
    lblEmpresa->setObjectName(QStringLiteral("lblEmpresa"));
    cmbEmpresa = new QComboBox(this);
    cmbEmpresa->setObjectName(QStringLiteral("cmbEmpresa"));
    cmbEmpresa->setAccessibleName(QStringLiteral("Empresa"));
    lblEmpresa->setBuddy(cmbEmpresa);

    GridHistorico = new TGrade(this);
    GridHistorico->setObjectName(QStringLiteral("GridHistorico"));
    GridHistorico->setAccessibleName(QStringLiteral("Exportações"));
    FModelo = new TModeloHistorico(this);
    GridHistorico->setModel(FModelo);
    GridHistorico->verticalHeader()->hide();
    GridHistorico->horizontalHeader()->setStretchLastSection(true);

    // Notes of a line or more, beside the grid.
    for (QLabel** nota : {&lblAviso, &lblArquivo}) {
        *nota = new QLabel(this);
        (*nota)->setWordWrap(true);
    }
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblArquivo->setObjectName(QStringLiteral("lblArquivo"));

    btnConferir = CriarBotao(this, "btnConferir", QStringLiteral("Conferir"));
    btnComparar = CriarBotao(this, "btnComparar", QStringLiteral("Comparar com o banco"));
    btnSalvarEnviado = CriarBotao(this, "btnSalvarEnviado", QStringLiteral("Salvar o arquivo enviado…"));
    btnFechar = CriarBotao(this, "btnFechar", QStringLiteral("Fechar (Esc)"));
    for (QPushButton* botao : {btnConferir, btnComparar, btnSalvarEnviado, btnFechar})
        botao->setAccessibleName(botao->text());

    auto* filtro = new QHBoxLayout;
    filtro->addWidget(lblEmpresa);
    filtro->addWidget(cmbEmpresa, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    for (QPushButton* botao : {btnConferir, btnComparar, btnSalvarEnviado, btnFechar})
        botoes->addWidget(botao);
    auto* janela = new QVBoxLayout(this);
    janela->addLayout(filtro);
    janela->addWidget(GridHistorico, 1);
    janela->addWidget(lblAviso);
    janela->addWidget(lblArquivo);
    janela->addLayout(botoes);

    setTabOrder(cmbEmpresa, GridHistorico);
    setTabOrder(GridHistorico, btnConferir);
    setTabOrder(btnConferir, btnComparar);
    setTabOrder(btnComparar, btnSalvarEnviado);
    setTabOrder(btnSalvarEnviado, btnFechar);

    connect(cmbEmpresa, &QComboBox::currentIndexChanged, this,
            [this] { ExecutarTratando(this, [this] { cmbEmpresaChange(); }); });
    connect(btnConferir, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnConferirClick(); }); });
    connect(btnComparar, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnCompararClick(); }); });
    connect(btnSalvarEnviado, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnSalvarEnviadoClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    PreverTeclado();

    resize(760, 420);
    CarregarHistorico();
    GridHistorico->setFocus();
}

void TFHistorico::CarregarHistorico() {
    lblArquivo->setText(QStringLiteral("Arquivo: ") + CaminhoParaQString(THistoricoExportacao::Arquivo()));
    try {
        // Rows that waited for a busy record go in now, if it takes them at once; they are shown either way.
        THistoricoExportacao::AcrescentarPendentes(std::chrono::milliseconds(200));
    } catch (const std::exception&) {
    }
    try {
        TLeituraHistorico leitura = THistoricoExportacao::Ler();
        FRegistros.assign(leitura.Registros.rbegin(), leitura.Registros.rend());
        lblAviso->setText(ParaQString(leitura.AvisoDanificadas()));
    } catch (const std::exception& falha) {
        FRegistros.clear();
        lblAviso->setText(ParaQString(TextoAnsi("O histórico de exportações não pôde ser lido: ") + falha.what()));
    }
    if (FRegistros.empty() && lblAviso->text().isEmpty())
        lblAviso->setText(QStringLiteral("Nenhuma exportação registrada."));
    lblAviso->setVisible(!lblAviso->text().isEmpty());
    PreencherEmpresas();
}

void TFHistorico::PreencherEmpresas() {
    // Each company once, by number, with the name of its latest export.
    std::map<int, std::string> empresas;
    for (auto r = FRegistros.rbegin(); r != FRegistros.rend(); ++r)
        empresas[r->Empresa] = Empresa(*r);
    const QSignalBlocker bloqueio(cmbEmpresa);
    cmbEmpresa->clear();
    cmbEmpresa->addItem(QStringLiteral("Todas as empresas"), -1);
    for (const auto& [numero, nome] : empresas)
        cmbEmpresa->addItem(ParaQString(nome), numero);
    cmbEmpresa->setCurrentIndex(0);
    cmbEmpresaChange();
}

void TFHistorico::cmbEmpresaChange() {
    const int empresa = cmbEmpresa->currentData().toInt();
    std::vector<const TRegistroExportacao*> mostrados;
    for (const auto& registro : FRegistros)
        if (empresa < 0 || registro.Empresa == empresa)
            mostrados.push_back(&registro);
    FModelo->Mostrar(std::move(mostrados));
    if (FModelo->rowCount({}) > 0)
        GridHistorico->setCurrentIndex(FModelo->index(0, 0));
    for (QPushButton* botao : {btnConferir, btnComparar, btnSalvarEnviado})
        botao->setEnabled(FModelo->rowCount({}) > 0);
}

const TRegistroExportacao* TFHistorico::RegistroSelecionado() const {
    return FModelo->Registro(GridHistorico->currentIndex().row());
}

void TFHistorico::btnConferirClick() {
    const TRegistroExportacao* registro = RegistroSelecionado();
    if (!registro)
        return;
    const TConferencia conferencia = THistoricoExportacao::Conferir(registro->Arquivo);
    std::string texto;
    for (const std::string& mensagem : conferencia.Mensagens)
        texto += (texto.empty() ? "" : "\n") + mensagem;
    if (conferencia.Situacao == TSituacaoConferencia::Conferido)
        MostrarInformacao(this, texto);
    else
        MostrarAviso(this, texto);
}

void TFHistorico::btnCompararClick() {
    const TRegistroExportacao* registro = RegistroSelecionado();
    if (!registro)
        return;
    std::optional<TComparacaoExportacao> comparacao;
    {
        // The gauge pumps events while the database is read: nothing of this window may start meanwhile.
        const TOcupado ocupado(this);
        comparacao = TComparacaoExportacao::Comparar(*registro);
    }
    TFComparacao janela(this, std::move(*comparacao));
    janela.exec();
}

void TFHistorico::btnSalvarEnviadoClick() {
    const TRegistroExportacao* registro = RegistroSelecionado();
    if (!registro)
        return;
    // Read first: a folder is not asked for a file that can no longer be had.
    const std::string texto = TCopiasExportacao::LerEnviado(*registro);
    const auto pasta = TEscolhaArquivo::Atual().EscolherPasta(this, QStringLiteral("Salvar o arquivo enviado"),
                                                              registro->Arquivo.parent_path());
    if (!pasta)
        return;
    const auto destino = *pasta / registro->Arquivo.filename();
    if (ArquivoExiste(destino) &&
        !Perguntar(this,
                   TextoAnsi("O arquivo \"") + CaminhoMensagem(destino) + TextoAnsi("\" já existe. Substituí-lo?"), {},
                   true))
        return;
    TArquivoSeguro arquivo(destino);
    arquivo.Escrever(texto);
    arquivo.Confirmar();
    MostrarInformacao(this, TextoAnsi("O arquivo enviado foi salvo em \"") + CaminhoMensagem(destino) + "\".");
}
