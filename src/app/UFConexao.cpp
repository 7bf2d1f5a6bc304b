#include "app/UFConexao.h"

#include "dao/UArquivoConexao.h"
#include "dao/UConexao.h"
#include "export/UArquivoPerfis.h"
#include "export/UHistoricoExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UEditNumero.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UTextoQt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <memory>
#include <vector>

namespace {

std::filesystem::path ArquivoDoUsuario() {
    return PastaConfiguracaoUsuario() / NomeArquivoConexao;
}

// A value the file can hold: code page 1252 only, and no line break or other control character, which would
// split the line.
bool Guardavel(const QString& texto) {
    for (const QChar caractere : texto)
        if (caractere.unicode() < 32)
            return false;
    return ParaQString(DeQString(texto)) == texto;
}

// The wait cursor while the client tries the server, which may take until its time-out.
class TCursorEspera {
public:
    TCursorEspera() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TCursorEspera() { QGuiApplication::restoreOverrideCursor(); }
    TCursorEspera(const TCursorEspera&) = delete;
    TCursorEspera& operator=(const TCursorEspera&) = delete;
};

} // namespace

TFConexao::TFConexao(QWidget* dono) : TDialogo(dono) {
    setObjectName(QStringLiteral("FConexao"));
    setWindowTitle(QStringLiteral("Conexão com o banco de dados"));
    CriarControles();
    DefinirOrdemTabulacao();
    LerConfiguracoes();
    MostrarDestino();

    connect(btnTestar, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnTestarClick(); }); });
    connect(btnSalvar, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnSalvarClick(); }); });
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbPortatil, &QCheckBox::toggled, this, [this] { MostrarDestino(); });
    PreverTeclado();
    EditServidor->setFocus();
    setFixedSize(460, sizeHint().height());
}

void TFConexao::CriarControles() {
    auto* grade = new QGridLayout(this);
    int linha = 0;
    // A field under its label's name, which is also what a screen reader says for it.
    const auto campo = [&](QLabel*& rotulo, auto* edit, const char* nomeEdit, const char* nomeRotulo,
                           const QString& texto) {
        rotulo = new QLabel(texto, this);
        rotulo->setObjectName(QString::fromLatin1(nomeRotulo));
        edit->setObjectName(QString::fromLatin1(nomeEdit));
        edit->setAccessibleName(texto);
        rotulo->setBuddy(edit);
        grade->addWidget(rotulo, linha, 0);
        grade->addWidget(edit, linha++, 1);
        return edit;
    };
    EditServidor = campo(lblServidor, new QLineEdit(this), "EditServidor", "lblServidor", QStringLiteral("Servidor"));
    EditPorta = campo(lblPorta, new TEditNumero(5, this), "EditPorta", "lblPorta", QStringLiteral("Porta"));
    EditBanco = campo(lblBanco, new QLineEdit(this), "EditBanco", "lblBanco", QStringLiteral("Banco de dados"));
    EditUsuario = campo(lblUsuario, new QLineEdit(this), "EditUsuario", "lblUsuario", QStringLiteral("Usuário"));
    EditSenha = campo(lblSenha, new QLineEdit(this), "EditSenha", "lblSenha", QStringLiteral("Senha"));
    EditSenha->setEchoMode(QLineEdit::Password);
    lblSenhaGravada = new QLabel(QStringLiteral("Senha gravada: deixe em branco para mantê-la."), this);
    lblSenhaGravada->setObjectName(QStringLiteral("lblSenhaGravada"));
    lblSenhaGravada->setWordWrap(true);
    lblSenhaGravada->hide();
    grade->addWidget(lblSenhaGravada, linha++, 1);
    EditFilial = campo(lblFilial, new QLineEdit(this), "EditFilial", "lblFilial", QStringLiteral("Filial"));
    EditFilial->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), EditFilial));

    cbPortatil = new QCheckBox(QStringLiteral("Salvar ao lado do programa (cópia portátil)"), this);
    cbPortatil->setObjectName(QStringLiteral("cbPortatil"));
    cbPortatil->hide();
    grade->addWidget(cbPortatil, linha++, 0, 1, 2);
    lblDestino = new QLabel(this);
    lblDestino->setObjectName(QStringLiteral("lblDestino"));
    lblDestino->setWordWrap(true);
    lblDestino->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grade->addWidget(lblDestino, linha++, 0, 1, 2);
    lblHistorico = new QLabel(this);
    lblHistorico->setObjectName(QStringLiteral("lblHistorico"));
    lblHistorico->setWordWrap(true);
    lblHistorico->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grade->addWidget(lblHistorico, linha++, 0, 1, 2);

    btnTestar = CriarBotao(this, "btnTestar", QStringLiteral("Testar conexão"));
    btnSalvar = CriarBotao(this, "btnSalvar", QStringLiteral("Salvar"));
    btnCancelar = CriarBotao(this, "btnCancelar", QStringLiteral("Cancelar (Esc)"));
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(btnTestar);
    botoes->addStretch(1);
    botoes->addWidget(btnSalvar);
    botoes->addWidget(btnCancelar);
    grade->addLayout(botoes, linha, 0, 1, 2);
    grade->setColumnStretch(1, 1);
}

void TFConexao::DefinirOrdemTabulacao() {
    QWidget* const ordem[] = {EditServidor, EditPorta,  EditBanco, EditUsuario, EditSenha,
                              EditFilial,   cbPortatil, btnTestar, btnSalvar,   btnCancelar};
    for (std::size_t i = 0; i + 1 < std::size(ordem); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
}

void TFConexao::LerConfiguracoes() {
    const TArquivoConexao arquivo = TArquivoConexao::EmUso();
    FOrigem = arquivo.Caminho();
    FOrigemExiste = arquivo.Existe();
    FPortatil = InstalacaoPortatil();
    const TParametrosConexao parametros = arquivo.Parametros();
    EditServidor->setText(ParaQString(parametros.Host));
    EditPorta->SetValor(parametros.Porta);
    EditBanco->setText(ParaQString(parametros.Database));
    EditUsuario->setText(ParaQString(parametros.Usuario));
    EditFilial->setText(ParaQString(arquivo.TextoFilial()));
    // Without a file the program tries a default password that nobody typed: the field then means what it shows.
    FSenhaGravada = FOrigemExiste && !parametros.Senha.empty();
    FSenhaArquivo = parametros.Senha;
    lblSenhaGravada->setVisible(FSenhaGravada);
    if (FSenhaGravada)
        EditSenha->setAccessibleDescription(lblSenhaGravada->text());

    // A folder of its own that this user may write in, with no settings beside the program yet.
    cbPortatil->setVisible(!FPortatil && !MesmoCaminho(PastaPrograma(), PastaConfiguracaoUsuario()) &&
                           PastaProgramaGravavel());
}

void TFConexao::MostrarDestino() {
    const QString origem = CaminhoParaQString(FOrigem);
    QString texto;
    if (FPortatil) {
        // The file beside the program is often the business system's own: it is edited there, by hand.
        texto = QStringLiteral("Os valores vêm de %1, ao lado do programa. Este programa não altera esse arquivo, "
                               "que pode ser do sistema de gestão: por isso \"Salvar\" está desligado. Para mudar a "
                               "conexão, edite-o.")
                    .arg(origem);
    } else {
        texto = FOrigemExiste ? QStringLiteral("Os valores vêm de %1.").arg(origem)
                              : QStringLiteral("Nenhum sistema_qor.ini foi encontrado; os valores são os padrões.");
        texto += QStringLiteral(" \"Salvar\" grava %1").arg(CaminhoParaQString(Destino()));
        if (cbPortatil->isChecked())
            texto += QStringLiteral("; o programa passa então a guardar todas as suas configurações nessa pasta.");
        else if (FOrigemExiste && !MesmoCaminho(FOrigem, Destino()))
            texto += QStringLiteral(", que passa a valer no lugar de %1 para este usuário; esse arquivo, que vale "
                                    "para todos os usuários, não é alterado.")
                         .arg(origem);
        else
            texto += QLatin1Char('.');
    }
    lblDestino->setText(texto);
    lblHistorico->setText(TextoHistorico());
    btnSalvar->setEnabled(!FPortatil);
}

QString TFConexao::TextoHistorico() const {
    const auto agora = THistoricoExportacao::Pasta();
    // A folder that the settings name stays the one they name; without one, the record goes with the other files.
    auto depois = TArquivoConexao(FOrigem).PastaHistorico();
    if (depois.empty())
        depois = cbPortatil->isChecked() ? PastaPrograma() : PastaConfiguracaoUsuario();
    QString texto = QStringLiteral("O histórico de exportações fica em %1").arg(CaminhoParaQString(agora));
    if (!FPortatil && !MesmoCaminho(agora, depois))
        texto += QStringLiteral("; depois de salvar, em %1").arg(CaminhoParaQString(depois));
    return texto + QLatin1Char('.');
}

bool TFConexao::ValidarCampos() {
    const std::pair<QLineEdit*, QLabel*> campos[] = {{EditServidor, lblServidor},
                                                     {EditBanco, lblBanco},
                                                     {EditUsuario, lblUsuario},
                                                     {EditSenha, lblSenha},
                                                     {EditFilial, lblFilial}};
    for (const auto& [edit, rotulo] : campos)
        if (!Guardavel(edit->text())) {
            MostrarAviso(
                this,
                DeQString(
                    QStringLiteral("O campo %1 tem caracteres que o sistema_qor.ini não guarda.").arg(rotulo->text())));
            edit->setFocus();
            return false;
        }
    if (const std::string problema = ProblemaSenha(DeQString(EditSenha->text())); !problema.empty()) {
        MostrarAviso(this, problema);
        EditSenha->setFocus();
        return false;
    }
    if (EditPorta->Valor() < 1 || EditPorta->Valor() > 65535) {
        MostrarAviso(this, TextoAnsi("Informe a porta do servidor, de 1 a 65535."));
        EditPorta->setFocus();
        return false;
    }
    return true;
}

TParametrosConexao TFConexao::Parametros() const {
    TParametrosConexao parametros;
    parametros.Host = DeQString(EditServidor->text());
    parametros.Database = DeQString(EditBanco->text());
    parametros.Usuario = DeQString(EditUsuario->text());
    parametros.Porta = EditPorta->Valor();
    parametros.Senha = EditSenha->text().isEmpty() && FSenhaGravada ? FSenhaArquivo : DeQString(EditSenha->text());
    return parametros;
}

std::filesystem::path TFConexao::Destino() const {
    return cbPortatil->isChecked() ? PastaPrograma() / NomeArquivoConexao : ArquivoDoUsuario();
}

void TFConexao::btnTestarClick() {
    if (!ValidarCampos())
        return;
    const TParametrosConexao p = Parametros();
    std::unique_ptr<TConexao> conexao;
    try {
        const TCursorEspera espera;
        conexao = TDao::CriarConexao(p.Host, p.Database, p.Usuario, p.Senha, p.Porta);
    } catch (const std::exception& erro) {
        MostrarAviso(this, TextoFalhaConexao(erro.what()));
        return;
    }
    // Without a host the client goes to the local server, which it calls localhost.
    MostrarInformacao(this, "Conectado a " + p.Database + " em " + (p.Host.empty() ? "localhost" : p.Host) + " (" +
                                conexao->VersaoServidor() + ")");
}

void TFConexao::btnSalvarClick() {
    if (FPortatil || !ValidarCampos())
        return;
    const auto destino = Destino();
    if (cbPortatil->isChecked())
        LevarArquivosParaOPrograma();
    else
        PrepararPastaDados();
    Gravar(destino);
    accept();
}

void TFConexao::LevarArquivosParaOPrograma() {
    // Once the settings stand beside the program, it reads its other files from there too.
    std::vector<std::filesystem::path> arquivos = {TArquivoPerfis::Caminho(),
                                                   TValoresExportacao::ArquivoConfiguracoes()};
    if (TArquivoConexao(FOrigem).PastaHistorico().empty())
        arquivos.insert(arquivos.end(), {THistoricoExportacao::Arquivo(), THistoricoExportacao::ArquivoPendente()});
    std::erase_if(arquivos, [](const auto& arquivo) {
        return !ArquivoExiste(arquivo) || ArquivoExiste(PastaPrograma() / arquivo.filename());
    });
    if (arquivos.empty())
        return;
    std::string nomes;
    for (const auto& arquivo : arquivos)
        nomes += (nomes.empty() ? "" : ", ") + CaminhoMensagem(arquivo.filename());
    const bool copiar = Perguntar(
        this, TextoAnsi("Depois de salvar, o programa lê ") + nomes + TextoAnsi(" da pasta do programa, ") +
                  CaminhoMensagem(PastaPrograma()) + TextoAnsi(", e não mais de ") +
                  CaminhoMensagem(arquivos.front().parent_path()) +
                  TextoAnsi(". Copiar para lá os que estão nesta pasta? Com \"Não\", o programa começa sem eles."));
    if (!copiar)
        return;
    for (const auto& arquivo : arquivos) {
        TArquivoSeguro copia(PastaPrograma() / arquivo.filename());
        copia.Escrever(LerArquivo(arquivo));
        copia.Confirmar();
    }
}

void TFConexao::Gravar(const std::filesystem::path& arquivo) const {
    const TParametrosConexao p = Parametros();
    TValoresConexao valores{p.Host, p.Database, p.Usuario, p.Porta, std::nullopt, DeQString(EditFilial->text())};
    if (!EditSenha->text().isEmpty() || !FSenhaGravada)
        valores.Senha = p.Senha;
    TArquivoConexao(FOrigem).Gravar(arquivo, valores);
}
