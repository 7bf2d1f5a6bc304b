#pragma once

#include "app/UConfirmacoesExportacao.h"
#include "export/UFrenteExportacao.h"
#include "export/UVerificacaoExportacao.h"
#include "qtbase/UInterfacesQt.h"

#include <QWidget>

#include <memory>
#include <string>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TCamposEmpresa;
class TEditData;
class TEditDiretorio;
class TEditNumero;
class TModeloQuery;
class TQuery;

enum class TTipoMensagem { Aviso, Erro, Informacao };

// The main window: shows the database and branch in use, collects every value of an export, remembers
// most of them in ExportacaoKOTR.ini, generates the file on "Gerar (F3)" and opens the profile window.
class TFMain : public QWidget {
    Q_OBJECT
public:
    explicit TFMain(QWidget* dono = nullptr);
    ~TFMain() override;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    // Every key pressed in this window reaches FormKeyDown before the focused control sees it.
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // The controls, in UFMainControles.cpp.
    void CriarControles();
    void CriarCabecalho();
    void CriarCampos();
    void CriarRodape();
    void DefinirOrdemTabulacao();
    void LigarEventos();

    // Event handlers.
    void FormShow();
    bool FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores = {});
    void btnGerarClick();
    void btnVisualizarClick();
    void btnVariasEmpresasClick();
    void btnFecharClick();
    void FormClose();
    void btnConfiguracoesClick();
    void btnHistoricoClick();
    void btnConexaoClick();
    void EditEmpresaChange();
    void cmbEmpresaClick(int linha);

    // One generation, or one look before writing, guarded so that no other can start while it runs.
    void Ocupar(void (TFMain::*acao)());
    TPedidoExportacao Pedido() const;
    bool ValidarCampos();
    // Asks whether to create the missing folder, and creates it.
    bool CriarPastaPedida();
    void FocarCampo(TCampoExportacao campo);
    // Before a number in Torvane that the record knows as another company's, and before a period of the company
    // is exported again: whether to go on.
    TEnvioNovamente Confirmar();
    void GerarExportacao(TEnvioNovamente envio);
    void LerConfiguracoes();
    void GravarConfiguracoes();
    void CarregarPerfis();
    void Mensagem(const std::string& texto, TTipoMensagem tipo = TTipoMensagem::Aviso, const std::string& titulo = {});
    bool Confirmacao(const std::string& texto, const std::string& titulo = {}, bool naoPadrao = false);

    QFrame* pnlFundo = nullptr;
    QFrame* pnlCaption = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* Label3 = nullptr;
    TEditDiretorio* EditDiretorio = nullptr;
    QGroupBox* grpPeriodo = nullptr;
    QRadioButton* rdDataLancamento = nullptr;
    QRadioButton* rdDataVencimento = nullptr;
    QLabel* lblInicial = nullptr;
    TEditData* EditDe = nullptr;
    QLabel* lblFinal = nullptr;
    TEditData* EditAte = nullptr;
    QGroupBox* grpEmpresa = nullptr;
    TEditNumero* EditEmpresa = nullptr;
    QComboBox* cmbEmpresa = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cbPerfis = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* EditNomeArquivo = nullptr;
    QLabel* Label2 = nullptr;
    TEditNumero* EditCodTorvane = nullptr;
    QPushButton* btnConfiguracoes = nullptr;
    QPushButton* btnGerar = nullptr;
    QPushButton* btnFechar = nullptr;
    QPushButton* btnVisualizar = nullptr;
    QPushButton* btnVariasEmpresas = nullptr;
    QPushButton* btnHistorico = nullptr;
    QPushButton* btnConexao = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* lblFilial = nullptr;
    QLabel* lblDataBase = nullptr;
    QLabel* lblVersao = nullptr;
    QFrame* pnlProgress = nullptr;
    QProgressBar* oProgress = nullptr;

    // The company list, shown by cmbEmpresa through dsEmpresa; it lives until the window closes.
    std::unique_ptr<TQuery> FEmpresas;
    TModeloQuery* dsEmpresa = nullptr;

    std::unique_ptr<TProgressoQt> FProgresso;
    TInformacaoQt FInformacao;
    TEventosQt FEventos;
    // Handed to the export services while the window lives; the gauge joins when the window is shown.
    TFrenteExportacao FFrente{&FInformacao, &FEventos};

    bool FMostrada = false;
    bool FValoresPorEmpresa = false;
    std::unique_ptr<TCamposEmpresa> FCamposEmpresa;
    bool FGerando = false;
    bool FFecharAoTerminar = false;
};
