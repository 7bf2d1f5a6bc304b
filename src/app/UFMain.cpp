#include "app/UFMain.h"

#include "app/UCamposEmpresa.h"
#include "app/UConfirmacoesExportacao.h"
#include "app/UEditData.h"
#include "app/UExportacaoEmCurso.h"
#include "app/UFConexao.h"
#include "app/UFHistorico.h"
#include "app/UFVariasEmpresas.h"
#include "app/UFVisualizacao.h"
#include "app/UModeloQuery.h"
#include "dao/UConexao.h"
#include "dao/UQuery.h"
#include "export/UArquivoPerfis.h"
#include "export/UComparacaoExportacao.h"
#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "export/UValoresExportacao.h"
#include "export/UVerificacaoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UPastaPrograma.h"
#include "platform/UTexto.h"
#include "profiles/UFConfiguracoes.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UEditDiretorio.h"
#include "qtbase/UEditNumero.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UTextoQt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

QDate ParaQDate(const TDataHora& data) {
    return QDate(data.Ano, data.Mes, data.Dia);
}

TDataHora ParaDataHora(const QDate& data) {
    return TDataHora::Data(data.year(), data.month(), data.day());
}

} // namespace

TFMain::TFMain(QWidget* dono) : QWidget(dono, Qt::Window | Qt::FramelessWindowHint), FInformacao(this) {
    Q_INIT_RESOURCE(recursos);
    CriarControles();
    DefinirOrdemTabulacao();
    FCamposEmpresa = std::make_unique<TCamposEmpresa>(EditCodTorvane, EditNomeArquivo);
    LigarEventos();

    FProgresso = std::make_unique<TProgressoQt>(oProgress);
    qApp->installEventFilter(this);
    EditDiretorio->setFocus();
}

TFMain::~TFMain() {
    dsEmpresa->DefinirQuery(nullptr);
}

void TFMain::LigarEventos() {
    connect(EditEmpresa, &QLineEdit::textChanged, this,
            [this] { ExecutarTratando(this, [this] { EditEmpresaChange(); }); });
    connect(cmbEmpresa, &QComboBox::activated, this,
            [this](int linha) { ExecutarTratando(this, [this, linha] { cmbEmpresaClick(linha); }); });
    connect(btnConfiguracoes, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnConfiguracoesClick(); }); });
    connect(btnGerar, &QPushButton::clicked, this, [this] { Ocupar(&TFMain::btnGerarClick); });
    connect(btnVisualizar, &QPushButton::clicked, this, [this] { Ocupar(&TFMain::btnVisualizarClick); });
    connect(btnVariasEmpresas, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnVariasEmpresasClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnFecharClick(); }); });
    connect(btnHistorico, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnHistoricoClick(); }); });
    connect(btnConexao, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnConexaoClick(); }); });
}

void TFMain::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    if (FMostrada)
        return;
    FMostrada = true;
    ExecutarTratando(this, [this] { FormShow(); });
}

void TFMain::closeEvent(QCloseEvent* evento) {
    if (FGerando) {
        // The export runs inside this window's handler: the window goes once it has ended and the
        // values are written.
        FFecharAoTerminar = true;
        evento->ignore();
        return;
    }
    ExecutarTratando(this, [this] { FormClose(); });
    evento->accept();
}

bool TFMain::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType())
        return false;
    if (static_cast<QWidget*>(objeto)->window() != this)
        return false;
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    return FormKeyDown(tecla->key(), tecla->modifiers());
}

void TFMain::FormShow() {
    const TConexao* conexao = TDadosExportacao::GetConexao();
    lblDataBase->setText(ParaQString(TextoAnsi("Conectado à ") + (conexao ? conexao->Database() : std::string()) +
                                     " em (" + (conexao ? conexao->Host() : std::string()) + ")"));
    lblFilial->setText(
        ParaQString("Filial: " + TDadosExportacao::DescricaoFilial(TDadosExportacao::CodigoFilialMatriz())));

    FEmpresas = TDadosExportacao::AbrirEmpresas();
    dsEmpresa->DefinirQuery(FEmpresas.get());
    EditEmpresaChange();

    const TPeriodo periodo = MesAnterior(Agora());
    EditDe->setDate(ParaQDate(periodo.Inicio));
    EditAte->setDate(ParaQDate(periodo.Fim));

    LerConfiguracoes();
    CarregarPerfis();
    TDadosExportacao::SetProgresso(FProgresso.get());
    cbPerfis->setCurrentIndex(0);
    // The values read stand as they were saved; from now on a company typed or picked brings back its own.
    FValoresPorEmpresa = true;
}

bool TFMain::FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores) {
    if (tecla == Qt::Key_H && modificadores == Qt::ControlModifier) {
        if (!FGerando)
            btnHistorico->click();
        return true;
    }
    if (tecla == Qt::Key_F3 || tecla == Qt::Key_F5) {
        // A second generation waits until the running one has ended.
        if (!FGerando)
            (tecla == Qt::Key_F3 ? btnGerar : btnVisualizar)->click();
        return true;
    }
    if (tecla == Qt::Key_Escape) {
        btnFechar->click();
        return true;
    }
    return false;
}

void TFMain::Ocupar(void (TFMain::*acao)()) {
    if (FGerando)
        return;
    FGerando = true;
    ExecutarTratando(this, [this, acao] { (this->*acao)(); });
    FGerando = false;
    if (FFecharAoTerminar)
        close();
}

void TFMain::btnGerarClick() {
    if (!ValidarCampos())
        return;
    const TEnvioNovamente envio = Confirmar();
    if (envio == TEnvioNovamente::Cancelado)
        return;
    GerarExportacao(envio);
    GravarConfiguracoes();
}

void TFMain::btnVisualizarClick() {
    if (!ValidarCampos())
        return;
    const TPedidoExportacao pedido = Pedido();
    std::optional<TSelecaoExportacao> selecao;
    {
        const TExportacaoEmCurso emCurso(pnlProgress, oProgress, btnVisualizar);
        selecao = TDadosExportacao::VisualizarArquivo(TDadosExportacao::Filtro(pedido));
    }
    if (!selecao)
        return;
    TFVisualizacao visualizacao(this, *selecao);
    if (visualizacao.exec() != QDialog::Accepted)
        return;
    const TEnvioNovamente envio = Confirmar();
    if (envio == TEnvioNovamente::Cancelado)
        return;
    // The lines seen are the lines written, whatever the database holds by now.
    const TExportacaoEmCurso emCurso(pnlProgress, oProgress, btnGerar);
    const auto nome = NomeExportacao(pedido.NomeArquivo).Nome;
    if (envio == TEnvioNovamente::SomenteNovos)
        TComparacaoExportacao::GerarSomenteNovos(*selecao, pedido.Diretorio, nome);
    else
        TDadosExportacao::GerarArquivo(*selecao, pedido.Diretorio, nome);
    GravarConfiguracoes();
}

void TFMain::btnVariasEmpresasClick() {
    TFVariasEmpresas varias(this, Pedido());
    varias.exec();
}

void TFMain::btnFecharClick() {
    close();
}

void TFMain::FormClose() {
    dsEmpresa->DefinirQuery(nullptr);
    FEmpresas.reset();
}

void TFMain::btnConfiguracoesClick() {
    {
        TFConfiguracoes configuracoes(this);
        configuracoes.exec();
    }
    CarregarPerfis();
    cbPerfis->setCurrentIndex(0);
}

void TFMain::btnHistoricoClick() {
    TFHistorico historico(this);
    historico.exec();
}

void TFMain::btnConexaoClick() {
    TFConexao conexao(this);
    if (conexao.exec() != QDialog::Accepted)
        return;
    // The window, its company list and the branch all stand on the open connection: it is not swapped under them.
    Mensagem(TextoAnsi("A nova conexão será usada na próxima vez que o programa for aberto."),
             TTipoMensagem::Informacao);
}

void TFMain::EditEmpresaChange() {
    // Setting the lookup from here is not a pick, so the two controls never set each other in a loop.
    cmbEmpresa->setCurrentIndex(dsEmpresa->LocalizarChave(EditEmpresa->Valor()));
    // Each company has its own number in Torvane: the last one used for it comes back with its file name.
    if (FValoresPorEmpresa)
        FCamposEmpresa->EmpresaMudou(EditEmpresa->Valor());
}

void TFMain::cmbEmpresaClick(int linha) {
    if (linha >= 0 && FEmpresas)
        EditEmpresa->SetValor(dsEmpresa->ChaveDaLinha(linha));
}

TPedidoExportacao TFMain::Pedido() const {
    TPedidoExportacao pedido;
    pedido.Diretorio = CaminhoDeQString(EditDiretorio->text());
    pedido.NomeArquivo = EditNomeArquivo->text().toStdString();
    pedido.DataLancamento = rdDataLancamento->isChecked();
    // A date field holds no date while its text is not a real day.
    if (EditDe->date().isValid())
        pedido.DataInicial = ParaDataHora(EditDe->date());
    if (EditAte->date().isValid())
        pedido.DataFinal = ParaDataHora(EditAte->date());
    pedido.Empresa = EditEmpresa->Valor();
    pedido.CodTorvane = EditCodTorvane->Valor();
    pedido.Perfil = cbPerfis->currentIndex();
    return pedido;
}

bool TFMain::ValidarCampos() {
    auto problema = VerificarExportacao(Pedido());
    if (problema && problema->PastaInexistente) {
        if (!CriarPastaPedida())
            return false;
        problema = VerificarExportacao(Pedido());
    }
    if (!problema)
        return true;
    Mensagem(problema->Texto);
    FocarCampo(problema->Campo);
    return false;
}

bool TFMain::CriarPastaPedida() {
    const auto pasta = PastaExportacao(CaminhoDeQString(EditDiretorio->text()));
    if (!Confirmacao(TextoAnsi("O Diretório \"") + CaminhoMensagem(pasta) +
                     TextoAnsi("\" não existe, deseja criá-lo?"))) {
        Mensagem(TextoAnsi("Operação cancelada pelo usuário."));
        return false;
    }
    if (!CriarDiretorio(pasta)) {
        Mensagem(TextoAnsi("Não foi possível criar o diretório \"") + CaminhoMensagem(pasta) + "\".");
        return false;
    }
    return true;
}

TEnvioNovamente TFMain::Confirmar() {
    const TEmpresaPedida empresa{Pedido(), {}};
    if (!TConfirmacoesExportacao::ConfirmarCodigos(this, {empresa}))
        return TEnvioNovamente::Cancelado;
    return TConfirmacoesExportacao::EscolherEnvio(this, empresa);
}

void TFMain::FocarCampo(TCampoExportacao campo) {
    using enum TCampoExportacao;
    const std::pair<TCampoExportacao, QWidget*> controles[] = {
        {Diretorio, EditDiretorio},     {DataInicial, EditDe},        {DataFinal, EditAte}, {Empresa, cmbEmpresa},
        {NomeArquivo, EditNomeArquivo}, {CodTorvane, EditCodTorvane}, {Perfil, cbPerfis}};
    for (const auto& [campoDoControle, controle] : controles)
        if (campoDoControle == campo)
            controle->setFocus();
    // A refused date is selected whole, so the date typed next replaces it.
    if (auto* data = qobject_cast<TEditData*>(focusWidget()))
        data->selectAll();
}

void TFMain::GerarExportacao(TEnvioNovamente envio) {
    const TPedidoExportacao pedido = Pedido();
    const TExportacaoEmCurso emCurso(pnlProgress, oProgress, btnGerar);
    if (envio == TEnvioNovamente::SomenteNovos)
        TComparacaoExportacao::GerarSomenteNovos(pedido);
    else
        TDadosExportacao::GerarArquivo(pedido);
}

void TFMain::LerConfiguracoes() {
    const TValoresExportacao valores = TValoresExportacao::Ler();
    EditDiretorio->setText(CaminhoParaQString(valores.Diretorio));
    EditEmpresa->SetValor(valores.Empresa);
    EditCodTorvane->SetValor(valores.CodTorvane);
    if (valores.TipoData == 0)
        rdDataLancamento->setChecked(true);
    else
        rdDataVencimento->setChecked(true);
}

void TFMain::GravarConfiguracoes() {
    TValoresExportacao valores;
    valores.Diretorio = CaminhoDeQString(EditDiretorio->text());
    valores.Empresa = EditEmpresa->Valor();
    valores.CodTorvane = EditCodTorvane->Valor();
    valores.TipoData = rdDataVencimento->isChecked() ? 1 : 0;
    valores.Gravar();
    GravarValoresDaEmpresa(valores.Empresa, {valores.CodTorvane, EditNomeArquivo->text().toStdString()});
}

void TFMain::CarregarPerfis() {
    cbPerfis->clear();
    for (const std::string& descricao : TArquivoPerfis::Descricoes())
        cbPerfis->addItem(ParaQString(descricao));
}

void TFMain::Mensagem(const std::string& texto, TTipoMensagem tipo, const std::string& titulo) {
    switch (tipo) {
    case TTipoMensagem::Aviso:
        MostrarAviso(this, texto, titulo);
        break;
    case TTipoMensagem::Erro:
        MostrarErro(this, texto, titulo);
        break;
    case TTipoMensagem::Informacao:
        MostrarInformacao(this, texto, titulo);
        break;
    }
}

bool TFMain::Confirmacao(const std::string& texto, const std::string& titulo, bool naoPadrao) {
    return Perguntar(this, texto, titulo, naoPadrao);
}
