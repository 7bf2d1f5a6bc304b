#include "app/UFMain.h"

#include "app/UEditData.h"
#include "app/UModeloQuery.h"
#include "platform/UCp1252.h"
#include "qtbase/UEditDiretorio.h"
#include "qtbase/UEditNumero.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UTextoQt.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

// The main window's controls, each at its fixed place; what they do is in UFMain.cpp.

namespace {

constexpr int Largura = 336;
constexpr int Altura = 389;

// Where the family is missing (Linux has none of the Windows fonts), Qt falls back to the nearest one.
QFont Fonte(const QString& familia, int pixels, bool negrito = false) {
    QFont fonte(familia);
    fonte.setPixelSize(pixels);
    fonte.setBold(negrito);
    return fonte;
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

} // namespace

void TFMain::CriarControles() {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(ParaQString(TituloAplicacao()));
    // The window has no title bar: a screen reader names it by the caption it shows.
    setAccessibleName(QStringLiteral("Exportação financeira Torvane"));
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPointSize(8);
    setFont(fonte);
    setFixedSize(Largura, Altura);
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
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - QPoint(Largura / 2, Altura / 2));
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
    // Beside them: the month-end of several companies, and a look at the postings before any file is written.
    btnVariasEmpresas = Botao(pnlFundo, "btnVariasEmpresas", "Várias empresas…", 12, 328, 100);
    btnVisualizar = Botao(pnlFundo, "btnVisualizar", "Visualizar (F5)", 136, 328, 92);

    Bevel1 = Criar<QFrame>(pnlFundo, "Bevel1", 8, 359, Largura - 16, 2);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    const QFont miuda = Fonte(QStringLiteral("Tahoma"), 9);
    lblFilial = Criar<QLabel>(pnlFundo, "lblFilial", 12, 363, 214, 11);
    lblDataBase = Criar<QLabel>(pnlFundo, "lblDataBase", 12, 375, 214, 11);
    lblVersao = Criar<QLabel>(pnlFundo, "lblVersao", 256, 369, 68, 11);
    lblVersao->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* rotulo : {lblFilial, lblDataBase, lblVersao})
        rotulo->setFont(miuda);
    // Beside the database it names, in the strip's own small type.
    btnConexao = Botao(pnlFundo, "btnConexao", "Conexão…", 230, 375, 94);
    btnConexao->resize(94, 11);
    btnConexao->setFlat(true);
    btnConexao->setFont(miuda);

    // What was sent, for every clerk of the office; also Ctrl+H.
    btnHistorico = Criar<QPushButton>(pnlFundo, "btnHistorico", 230, 363, 94, 11);
    btnHistorico->setText(QStringLiteral("Histórico (Ctrl+H)"));
    btnHistorico->setAccessibleName(btnHistorico->text());
    btnHistorico->setFlat(true);
    btnHistorico->setFont(miuda);
    btnHistorico->setAutoDefault(true);

    pnlProgress = Criar<QFrame>(pnlFundo, "pnlProgress", 8, 362, Largura - 16, 24);
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
    QWidget* const ordem[] = {
        EditDiretorio, rdDataLancamento,  rdDataVencimento, EditDe,         EditAte,          EditEmpresa,
        cmbEmpresa,    cbPerfis,          EditNomeArquivo,  EditCodTorvane, btnConfiguracoes, btnGerar,
        btnFechar,     btnVariasEmpresas, btnVisualizar,    btnHistorico,   btnConexao};
    for (std::size_t i = 0; i + 1 < std::size(ordem); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
}
