#include "app/UFMain.h"

#include "app/UEditData.h"
#include "app/UFConexao.h"
#include "app/UFHistorico.h"
#include "app/UModeloQuery.h"
#include "dao/UConexao.h"
#include "dao/UQuery.h"
#include "export/UArquivoPerfis.h"
#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "export/UValoresExportacao.h"
#include "export/UVerificacaoExportacao.h"
#include "platform/UArquivos.h"
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

constexpr int Largura = 336;
constexpr int Altura = 361;

// Where the family is missing (Linux has none of the Windows fonts), Qt falls back to the nearest one.
QFont Fonte(const QString& familia, int pixels, bool negrito = false) {
    QFont fonte(familia);
    fonte.setPixelSize(pixels);
    fonte.setBold(negrito);
    return fonte;
}

QDate ParaQDate(const TDataHora& data) {
    return QDate(data.Ano, data.Mes, data.Dia);
}

TDataHora ParaDataHora(const QDate& data) {
    return TDataHora::Data(data.year(), data.month(), data.day());
}

template <class T> T* Criar(QWidget* dono, const char* nome, int x, int y, int largura, int altura) {
    auto* controle = new T(dono);
    controle->setObjectName(QString::fromLatin1(nome));
    controle->setGeometry(x, y, largura, altura);
    return controle;
}

QLabel* Rotulo(QWidget* dono, const char* nome, const char* texto, int x, int y, int largura) {
    auto* rotulo = Criar<QLabel>(dono, nome, x, y, largura, 14);
    rotulo->setText(QString::fromUtf8(texto));
    return rotulo;
}

QPushButton* Botao(QWidget* dono, const char* nome, const char* texto, int x, int y, int largura) {
    auto* botao = Criar<QPushButton>(dono, nome, x, y, largura, 25);
    botao->setText(QString::fromUtf8(texto));
    // Enter clicks a button only while it has the focus; no button is the window's default.
    botao->setAutoDefault(true);
    return botao;
}

// One export from start to end. "Gerar (F3)" is disabled meanwhile, but it keeps the clerk's focus: Qt
// would hand the focus of a disabled button to the next one, "Fechar (Esc)", and a second Enter would then
// be a close request. So the focus waits on the gauge, where keys click nothing, and on every path out the
// gauge goes away and the focus comes back to the control that had it.
class TExportacaoEmCurso {
public:
    TExportacaoEmCurso(QFrame* painel, QProgressBar* medidor, QPushButton* gerar)
        : FPainel(painel), FGerar(gerar), FFoco(gerar->window()->focusWidget()) {
        FPainel->show();
        if (FFoco == FGerar)
            medidor->setFocus();
        FGerar->setEnabled(false);
    }
    ~TExportacaoEmCurso() {
        FGerar->setEnabled(true);
        if (FFoco)
            FFoco->setFocus();
        FPainel->hide();
    }
    TExportacaoEmCurso(const TExportacaoEmCurso&) = delete;
    TExportacaoEmCurso& operator=(const TExportacaoEmCurso&) = delete;

private:
    QFrame* FPainel;
    QPushButton* FGerar;
    QPointer<QWidget> FFoco;
};

} // namespace

TFMain::TFMain(QWidget* dono) : QWidget(dono, Qt::Window | Qt::FramelessWindowHint), FInformacao(this) {
    Q_INIT_RESOURCE(recursos);
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(ParaQString(TituloAplicacao()));
    // The window has no title bar: a screen reader names it by the caption it shows.
    setAccessibleName(QStringLiteral("Exportação financeira Torvane"));
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPointSize(8);
    setFont(fonte);
    setFixedSize(Largura, Altura);
    CriarControles();
    DefinirOrdemTabulacao();
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - QPoint(Largura / 2, Altura / 2));

    FProgresso = std::make_unique<TProgressoQt>(oProgress);
    TDadosExportacao::SetInformacao(&FInformacao);
    TDadosExportacao::SetEventos(&FEventos);
    qApp->installEventFilter(this);
    EditDiretorio->setFocus();
}

TFMain::~TFMain() {
    dsEmpresa->DefinirQuery(nullptr);
    TDadosExportacao::SetProgresso(nullptr);
    TDadosExportacao::SetInformacao(nullptr);
    TDadosExportacao::SetEventos(nullptr);
}

void TFMain::CriarControles() {
    pnlFundo = Criar<QFrame>(this, "pnlFundo", 0, 0, Largura, Altura);
    QPalette fundo = pnlFundo->palette();
    fundo.setColor(QPalette::Window, Qt::white);
    fundo.setColor(QPalette::WindowText, Qt::black);
    pnlFundo->setPalette(fundo);
    pnlFundo->setAutoFillBackground(true);
    pnlFundo->setFrameStyle(QFrame::Box | QFrame::Plain);
    pnlFundo->setLineWidth(1);
    CriarCabecalho();
    CriarCampos();
    CriarRodape();
}

void TFMain::CriarCabecalho() {
    pnlCaption = Criar<QFrame>(pnlFundo, "pnlCaption", 1, 1, Largura - 2, 34);
    QPalette cinza = pnlCaption->palette();
    cinza.setColor(QPalette::Window, QColor(201, 201, 201));
    pnlCaption->setPalette(cinza);
    pnlCaption->setAutoFillBackground(true);

    lblCaption = Criar<QLabel>(pnlCaption, "lblCaption", 8, 0, 260, 34);
    lblCaption->setText(QStringLiteral("Exportação financeira Torvane"));
    lblCaption->setFont(Fonte(QStringLiteral("Arial"), 16, true));
    lblCaption->setAttribute(Qt::WA_TranslucentBackground);

    const QPixmap logo(QStringLiteral(":/logo.png"));
    imgLogo = Criar<QLabel>(pnlCaption, "imgLogo", pnlCaption->width() - logo.width() - 6,
                            (pnlCaption->height() - logo.height()) / 2, logo.width(), logo.height());
    imgLogo->setPixmap(logo);
}

void TFMain::CriarCampos() {
    Label3 = Rotulo(pnlFundo, "Label3", "Diretório de Geração do Arquivo", 12, 42, 312);
    EditDiretorio = new TEditDiretorio(pnlFundo);
    EditDiretorio->setObjectName(QStringLiteral("EditDiretorio"));
    EditDiretorio->setGeometry(12, 57, 312, 22);
    EditDiretorio->setAccessibleName(Label3->text());

    grpPeriodo = Criar<QGroupBox>(pnlFundo, "grpPeriodo", 12, 84, 312, 72);
    grpPeriodo->setTitle(QStringLiteral("  Período  "));
    rdDataLancamento = Criar<QRadioButton>(grpPeriodo, "rdDataLancamento", 10, 20, 140, 18);
    rdDataLancamento->setText(QStringLiteral("Data Lançamento"));
    rdDataVencimento = Criar<QRadioButton>(grpPeriodo, "rdDataVencimento", 160, 20, 140, 18);
    rdDataVencimento->setText(QStringLiteral("Data Vencimento"));
    // Tab stops at the selected date basis only; the arrow keys move between the two.
    for (QRadioButton* radio : {rdDataLancamento, rdDataVencimento}) {
        radio->setFocusPolicy(Qt::ClickFocus);
        connect(radio, &QRadioButton::toggled, radio,
                [radio](bool marcado) { radio->setFocusPolicy(marcado ? Qt::StrongFocus : Qt::ClickFocus); });
    }
    rdDataLancamento->setChecked(true);
    lblInicial = Rotulo(grpPeriodo, "lblInicial", "Inicial:", 10, 45, 42);
    EditDe = Criar<TEditData>(grpPeriodo, "EditDe", 52, 42, 96, 22);
    lblFinal = Rotulo(grpPeriodo, "lblFinal", "Final:", 160, 45, 36);
    EditAte = Criar<TEditData>(grpPeriodo, "EditAte", 198, 42, 104, 22);
    // Both fields sit in "Período" beside a label of one word: each is named in full.
    EditDe->Nomear(QStringLiteral("Período inicial"), QStringLiteral("Calendário do período inicial"));
    EditAte->Nomear(QStringLiteral("Período final"), QStringLiteral("Calendário do período final"));

    grpEmpresa = Criar<QGroupBox>(pnlFundo, "grpEmpresa", 12, 160, 312, 50);
    grpEmpresa->setTitle(QStringLiteral(" Empresa "));
    EditEmpresa = new TEditNumero(9, grpEmpresa);
    EditEmpresa->setObjectName(QStringLiteral("EditEmpresa"));
    EditEmpresa->setGeometry(10, 20, 50, 22);
    cmbEmpresa = Criar<QComboBox>(grpEmpresa, "cmbEmpresa", 66, 20, 236, 22);
    EditEmpresa->setAccessibleName(QStringLiteral("Número da empresa"));
    cmbEmpresa->setAccessibleName(QStringLiteral("Empresa"));
    dsEmpresa = new TModeloQuery("empresa_id", "nome", this);
    dsEmpresa->setObjectName(QStringLiteral("dsEmpresa"));
    cmbEmpresa->setModel(dsEmpresa);
    connect(EditEmpresa, &QLineEdit::textChanged, this,
            [this] { ExecutarTratando(this, [this] { EditEmpresaChange(); }); });
    connect(cmbEmpresa, &QComboBox::activated, this,
            [this](int linha) { ExecutarTratando(this, [this, linha] { cmbEmpresaClick(linha); }); });

    Label1 = Rotulo(pnlFundo, "Label1", "Perfil:", 12, 214, 312);
    cbPerfis = Criar<QComboBox>(pnlFundo, "cbPerfis", 12, 229, 312, 22);
    cbPerfis->addItem(QStringLiteral("Todos os Grupos"));
    cbPerfis->setCurrentIndex(0);
    cbPerfis->setAccessibleName(QStringLiteral("Perfil"));

    Label4 = Rotulo(pnlFundo, "Label4", "Nome do arquivo", 12, 255, 166);
    EditNomeArquivo = Criar<QLineEdit>(pnlFundo, "EditNomeArquivo", 12, 270, 166, 22);
    Label2 = Rotulo(pnlFundo, "Label2", "Cód. Empresa (Torvane)", 186, 255, 138);
    EditCodTorvane = new TEditNumero(2, pnlFundo);
    EditCodTorvane->setObjectName(QStringLiteral("EditCodTorvane"));
    EditCodTorvane->setGeometry(186, 270, 138, 22);
    EditNomeArquivo->setAccessibleName(Label4->text());
    EditCodTorvane->setAccessibleName(Label2->text());
}

void TFMain::CriarRodape() {
    btnConfiguracoes = Botao(pnlFundo, "btnConfiguracoes", "Configurações", 12, 300, 100);
    btnGerar = Botao(pnlFundo, "btnGerar", "Gerar (F3)", 136, 300, 92);
    btnFechar = Botao(pnlFundo, "btnFechar", "Fechar (Esc)", 232, 300, 92);
    connect(btnConfiguracoes, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnConfiguracoesClick(); }); });
    connect(btnGerar, &QPushButton::clicked, this, &TFMain::Gerar);
    connect(btnFechar, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnFecharClick(); }); });

    Bevel1 = Criar<QFrame>(pnlFundo, "Bevel1", 8, 331, Largura - 16, 2);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    const QFont miuda = Fonte(QStringLiteral("Tahoma"), 9);
    lblFilial = Criar<QLabel>(pnlFundo, "lblFilial", 12, 335, 214, 11);
    lblDataBase = Criar<QLabel>(pnlFundo, "lblDataBase", 12, 347, 214, 11);
    lblVersao = Criar<QLabel>(pnlFundo, "lblVersao", 256, 341, 68, 11);
    lblVersao->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* rotulo : {lblFilial, lblDataBase, lblVersao})
        rotulo->setFont(miuda);
    // Beside the database it names, in the strip's own small type.
    btnConexao = Botao(pnlFundo, "btnConexao", "Conexão…", 230, 347, 94);
    btnConexao->resize(94, 11);
    btnConexao->setFlat(true);
    btnConexao->setFont(miuda);
    connect(btnConexao, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnConexaoClick(); }); });

    // What was sent, for every clerk of the office; also Ctrl+H.
    btnHistorico = Criar<QPushButton>(pnlFundo, "btnHistorico", 230, 335, 94, 11);
    btnHistorico->setText(QStringLiteral("Histórico (Ctrl+H)"));
    btnHistorico->setAccessibleName(btnHistorico->text());
    btnHistorico->setFlat(true);
    btnHistorico->setFont(miuda);
    btnHistorico->setAutoDefault(true);
    connect(btnHistorico, &QPushButton::clicked, this,
            [this] { ExecutarTratando(this, [this] { btnHistoricoClick(); }); });

    pnlProgress = Criar<QFrame>(pnlFundo, "pnlProgress", 8, 334, Largura - 16, 24);
    pnlProgress->setAutoFillBackground(true);
    oProgress = Criar<QProgressBar>(pnlProgress, "oProgress", 0, 0, pnlProgress->width(), pnlProgress->height());
    oProgress->setOrientation(Qt::Horizontal);
    oProgress->setAlignment(Qt::AlignCenter);
    oProgress->setTextVisible(true);
    oProgress->setValue(0);
    oProgress->setAccessibleName(QStringLiteral("Progresso da exportação"));
    pnlProgress->hide();
}

void TFMain::DefinirOrdemTabulacao() {
    // Tab enters the date basis at whichever of the two radio buttons is selected.
    QWidget* const ordem[] = {EditDiretorio,    rdDataLancamento, rdDataVencimento, EditDe,          EditAte,
                              EditEmpresa,      cmbEmpresa,       cbPerfis,         EditNomeArquivo, EditCodTorvane,
                              btnConfiguracoes, btnGerar,         btnFechar,        btnHistorico,    btnConexao};
    for (std::size_t i = 0; i + 1 < std::size(ordem); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
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
}

bool TFMain::FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores) {
    if (tecla == Qt::Key_H && modificadores == Qt::ControlModifier) {
        if (!FGerando)
            btnHistorico->click();
        return true;
    }
    if (tecla == Qt::Key_F3) {
        // A second generation waits until the running one has ended.
        if (!FGerando)
            btnGerar->click();
        return true;
    }
    if (tecla == Qt::Key_Escape) {
        btnFechar->click();
        return true;
    }
    return false;
}

void TFMain::Gerar() {
    if (FGerando)
        return;
    FGerando = true;
    ExecutarTratando(this, [this] { btnGerarClick(); });
    FGerando = false;
    if (FFecharAoTerminar)
        close();
}

void TFMain::btnGerarClick() {
    if (!ValidarCampos() || !ConfirmarNovamente())
        return;
    GerarExportacao();
    GravarConfiguracoes();
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

bool TFMain::ConfirmarNovamente() {
    const TPedidoExportacao pedido = Pedido();
    const TAvisoHistorico anteriores =
        THistoricoExportacao::ExportacoesAnteriores(pedido.Empresa, *pedido.DataInicial, *pedido.DataFinal);
    if (anteriores.Exportacoes.empty()) {
        if (!anteriores.Aviso.empty())
            Mensagem(anteriores.Aviso);
        return true;
    }
    std::string texto = anteriores.Exportacoes + "\n";
    if (!anteriores.Aviso.empty())
        texto += anteriores.Aviso + "\n";
    // The same receivables imported twice are paid twice: "Não" is the answer that costs nothing.
    return Confirmacao(texto + "Gerar o arquivo novamente?", {}, true);
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

void TFMain::GerarExportacao() {
    const TPedidoExportacao pedido = Pedido();
    const auto nomeArquivo = CaminhoDeUtf8(CompletarNomeArquivo(pedido.NomeArquivo));

    const TExportacaoEmCurso emCurso(pnlProgress, oProgress, btnGerar);
    TDadosExportacao::GerarArquivo(pedido.Diretorio, nomeArquivo, pedido.DataLancamento, *pedido.DataInicial,
                                   *pedido.DataFinal, pedido.Empresa, pedido.CodTorvane, pedido.Perfil);
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
