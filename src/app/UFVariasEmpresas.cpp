#include "app/UFVariasEmpresas.h"

#include "app/UConfirmacoesExportacao.h"
#include "dao/UQuery.h"
#include "export/UArquivoPerfis.h"
#include "export/UDados.h"
#include "export/UFrenteExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UTexto.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UEditNumero.h"
#include "qtbase/UFalhas.h"
#include "qtbase/UInterfacesQt.h"
#include "qtbase/UTextoQt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

std::string DescricaoPerfil(int perfil) {
    try {
        const auto descricoes = TArquivoPerfis::Descricoes();
        if (perfil >= 0 && static_cast<std::size_t>(perfil) < descricoes.size())
            return Aparar(descricoes[static_cast<std::size_t>(perfil)]);
    } catch (const std::exception&) {
    }
    return std::to_string(perfil);
}

// What every company of the run shares, from the main window.
std::string TextoValores(const TPedidoExportacao& base) {
    const auto data = [](const std::optional<TDataHora>& d) { return d ? d->TextoDataExibicao() : std::string("?"); };
    return TextoAnsi("Pasta ") + CaminhoMensagem(base.Diretorio) + TextoAnsi("; período de ") + data(base.DataInicial) +
           " a " + data(base.DataFinal) +
           (base.DataLancamento ? TextoAnsi(" pela data de lançamento") : TextoAnsi(" pela data de vencimento")) +
           "; perfil " + DescricaoPerfil(base.Perfil) + TextoAnsi(" (os da janela principal).");
}

} // namespace

TFVariasEmpresas::TFVariasEmpresas(QWidget* dono, const TPedidoExportacao& base) : TDialogo(dono), FBase(base) {
    setObjectName(QStringLiteral("FVariasEmpresas"));
    setWindowTitle(QStringLiteral("Várias empresas"));
    setAccessibleName(windowTitle());

    lblValores = new QLabel(ParaQString(TextoValores(base)), this);
    lblValores->setObjectName(QStringLiteral("lblValores"));
    lblValores->setWordWrap(true);

    auto* rolagem = new QScrollArea(this);
    rolagem->setObjectName(QStringLiteral("pnlEmpresas"));
    rolagem->setAccessibleName(QStringLiteral("Empresas"));
    auto* lista = new QWidget(rolagem);
    CriarLinhas(lista);
    rolagem->setWidget(lista);
    rolagem->setWidgetResizable(true);

    lblEmpresa = new QLabel(this);
    lblEmpresa->setObjectName(QStringLiteral("lblEmpresa"));
    oProgress = new QProgressBar(this);
    oProgress->setObjectName(QStringLiteral("oProgress"));
    oProgress->setAccessibleName(QStringLiteral("Progresso da exportação"));
    oProgress->setAlignment(Qt::AlignCenter);
    oProgress->setValue(0);
    FProgresso = std::make_unique<TProgressoQt>(oProgress);
    lblEmpresa->hide();
    oProgress->hide();

    btnGerar = CriarBotao(this, "btnGerar", QStringLiteral("Gerar (F3)"));
    btnFechar = CriarBotao(this, "btnFechar", QStringLiteral("Fechar (Esc)"));
    btnGerar->setAccessibleName(btnGerar->text());
    btnFechar->setAccessibleName(btnFechar->text());
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(btnGerar);
    botoes->addWidget(btnFechar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(lblValores);
    janela->addWidget(rolagem, 1);
    janela->addWidget(lblEmpresa);
    janela->addWidget(oProgress);
    janela->addLayout(botoes);

    connect(btnGerar, &QPushButton::clicked, this, [this] { ExecutarTratando(this, [this] { btnGerarClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    PreverTeclado();
    resize(640, 420);
    if (!FLinhas.empty())
        FLinhas.front().chkEmpresa->setFocus();
}

TFVariasEmpresas::~TFVariasEmpresas() = default;

void TFVariasEmpresas::CriarLinhas(QWidget* lista) {
    auto* grade = new QGridLayout(lista);
    const char* const titulos[] = {"Empresa", "Cód. Empresa (Torvane)", "Nome do arquivo"};
    for (int coluna = 0; coluna < 3; ++coluna)
        grade->addWidget(new QLabel(QString::fromUtf8(titulos[coluna]), lista), 0, coluna);
    const auto empresas = TDadosExportacao::AbrirEmpresas();
    for (empresas->Primeiro(); !empresas->FimDosDados(); empresas->Proximo()) {
        TLinhaEmpresa linha;
        linha.Empresa = empresas->Campo("empresa_id").Inteiro();
        linha.Nome = std::to_string(linha.Empresa) + TextoAnsi(" – ") + empresas->Campo("nome").Texto();
        const QString nome = ParaQString(linha.Nome);
        const QString sufixo = QString::number(linha.Empresa);
        linha.chkEmpresa = new QCheckBox(nome, lista);
        linha.chkEmpresa->setObjectName(QStringLiteral("chkEmpresa") + sufixo);
        linha.chkEmpresa->setAccessibleName(QStringLiteral("Empresa ") + nome);
        linha.EditCodTorvane = new TEditNumero(2, lista);
        linha.EditCodTorvane->setObjectName(QStringLiteral("EditCodTorvane") + sufixo);
        linha.EditCodTorvane->setAccessibleName(QStringLiteral("Cód. Empresa (Torvane) da empresa ") + nome);
        linha.EditNomeArquivo = new QLineEdit(lista);
        linha.EditNomeArquivo->setObjectName(QStringLiteral("EditNomeArquivo") + sufixo);
        linha.EditNomeArquivo->setAccessibleName(QStringLiteral("Nome do arquivo da empresa ") + nome);
        // A company this PC or the record knows comes marked, with what it was last sent with.
        const auto valores = ValoresDaEmpresa(linha.Empresa);
        const bool principal = linha.Empresa == FBase.Empresa;
        linha.chkEmpresa->setChecked(valores.has_value() || principal);
        linha.EditCodTorvane->SetValor(valores ? valores->CodTorvane : principal ? FBase.CodTorvane : 0);
        linha.EditNomeArquivo->setText(valores ? QString::fromStdString(valores->NomeArquivo)
                                               : NomePadrao(linha.Empresa));
        const int fila = grade->rowCount();
        grade->addWidget(linha.chkEmpresa, fila, 0);
        grade->addWidget(linha.EditCodTorvane, fila, 1);
        grade->addWidget(linha.EditNomeArquivo, fila, 2);
        FLinhas.push_back(linha);
    }
    grade->setRowStretch(grade->rowCount(), 1);
}

// The main window's name for its own company; for another, that name with the company's number before its
// extension, so that no two companies write one file.
QString TFVariasEmpresas::NomePadrao(int empresa) const {
    QString nome = QString::fromStdString(FBase.NomeArquivo).trimmed();
    if (empresa == FBase.Empresa)
        return nome;
    if (nome.isEmpty())
        nome = QStringLiteral("TORVANE");
    const auto ponto = nome.lastIndexOf(QLatin1Char('.'));
    const QString numero = QLatin1Char('_') + QString::number(empresa);
    return ponto > 0 ? nome.left(ponto) + numero + nome.mid(ponto) : nome + numero;
}

bool TFVariasEmpresas::FormKeyDown(QObject* alvo, int tecla) {
    if (tecla == Qt::Key_F3) {
        if (!FGerando)
            btnGerar->click();
        return true;
    }
    return TDialogo::FormKeyDown(alvo, tecla);
}

void TFVariasEmpresas::reject() {
    if (!FGerando)
        TDialogo::reject();
}

bool TFVariasEmpresas::Verificar(const TLinhaEmpresa& linha, const TPedidoExportacao& pedido) {
    const auto problema = VerificarExportacao(pedido);
    if (!problema)
        return true;
    MostrarAviso(this, TextoAnsi("Empresa ") + linha.Nome + ": " + problema->Texto);
    if (problema->Campo == TCampoExportacao::CodTorvane)
        linha.EditCodTorvane->setFocus();
    else if (problema->Campo == TCampoExportacao::NomeArquivo)
        linha.EditNomeArquivo->setFocus();
    return false;
}

std::optional<std::vector<TEmpresaPedida>> TFVariasEmpresas::Pedidas() {
    std::vector<TEmpresaPedida> pedidas;
    std::vector<std::filesystem::path> arquivos;
    for (const TLinhaEmpresa& linha : FLinhas) {
        if (!linha.chkEmpresa->isChecked())
            continue;
        TPedidoExportacao pedido = FBase;
        pedido.Empresa = linha.Empresa;
        pedido.CodTorvane = linha.EditCodTorvane->Valor();
        pedido.NomeArquivo = linha.EditNomeArquivo->text().toStdString();
        if (!Verificar(linha, pedido))
            return std::nullopt;
        const auto arquivo = PastaExportacao(pedido.Diretorio) / NomeExportacao(pedido.NomeArquivo).Nome;
        for (std::size_t i = 0; i < arquivos.size(); ++i)
            if (MesmoCaminho(arquivos[i], arquivo)) {
                // The second file would replace the first.
                MostrarAviso(this, TextoAnsi("As empresas ") + pedidas[i].Nome + " e " + linha.Nome +
                                       TextoAnsi(" gravariam o mesmo arquivo, ") + CaminhoMensagem(arquivo.filename()) +
                                       TextoAnsi(". Dê a cada uma um nome de arquivo seu."));
                linha.EditNomeArquivo->setFocus();
                return std::nullopt;
            }
        arquivos.push_back(arquivo);
        pedidas.push_back({pedido, linha.Nome});
    }
    if (pedidas.empty()) {
        MostrarAviso(this, TextoAnsi("Marque as empresas a gerar."));
        return std::nullopt;
    }
    return pedidas;
}

void TFVariasEmpresas::btnGerarClick() {
    const auto pedidas = Pedidas();
    if (!pedidas || !TConfirmacoesExportacao::ConfirmarCodigos(this, *pedidas) ||
        !TConfirmacoesExportacao::ConfirmarNovamente(this, *pedidas))
        return;
    FGerando = true;
    btnGerar->setEnabled(false);
    lblEmpresa->show();
    oProgress->show();
    TEventosQt eventos;
    std::string resultado;
    bool falhou = false;
    {
        // Each company's box would stop the run: the outcomes are said together at the end.
        const TFrenteExportacao frente(nullptr, &eventos, FProgresso.get());
        for (std::size_t i = 0; i < pedidas->size(); ++i) {
            const TEmpresaPedida& empresa = (*pedidas)[i];
            lblEmpresa->setText(ParaQString(TextoAnsi("Exportando a empresa ") + empresa.Nome + " (" +
                                            std::to_string(i + 1) + " de " + std::to_string(pedidas->size()) + ")"));
            eventos.ProcessarEventos();
            resultado += (resultado.empty() ? "" : "\n") + Exportar(empresa, falhou);
        }
    }
    lblEmpresa->hide();
    oProgress->hide();
    btnGerar->setEnabled(true);
    FGerando = false;
    if (falhou)
        MostrarAviso(this, resultado);
    else
        MostrarInformacao(this, resultado);
}

std::string TFVariasEmpresas::Exportar(const TEmpresaPedida& empresa, bool& falhou) {
    const std::string nome = TextoAnsi("Empresa ") + empresa.Nome + ": ";
    TResultadoExportacao resultado;
    try {
        resultado = TDadosExportacao::GerarArquivo(empresa.Pedido);
    } catch (const std::exception& falha) {
        falhou = true;
        return nome + TextoAnsi("não foi gerado. ") + falha.what();
    }
    std::string texto = nome;
    if (resultado.Gerado)
        texto += "\"" + CaminhoMensagem(resultado.Caminho.filename()) + "\" gerado, " +
                 MilharesBrasileiros(static_cast<long long>(resultado.Linhas)) +
                 (resultado.Linhas == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos")) + ", total R$ " +
                 ReaisBrasileiros(resultado.TotalCentavos) + ".";
    else
        texto += TextoAnsi("nenhum registro encontrado para a seleção.");
    // A file that the record or the copies lack is a failure of the run, as in the headless command.
    falhou = falhou || !resultado.FalhaRegistro.empty() || !resultado.FalhaCopia.empty();
    for (const std::string& nota : {resultado.FalhaCopia, resultado.FalhaRegistro, resultado.AvisoRegistro})
        if (!nota.empty())
            texto += "\n" + nota;
    try {
        GravarValoresDaEmpresa(empresa.Pedido.Empresa, {empresa.Pedido.CodTorvane, empresa.Pedido.NomeArquivo});
    } catch (const std::exception& falha) {
        texto += TextoAnsi("\nO número na Torvane e o nome do arquivo da empresa não foram guardados: ") + falha.what();
    }
    return texto;
}
