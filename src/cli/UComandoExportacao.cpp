#include "cli/UComandoExportacao.h"

#include "cli/UComparacaoComando.h"
#include "cli/UEmpresasComando.h"
#include "cli/UMensagemUso.h"
#include "cli/UProgressoTerminal.h"
#include "dao/UArquivoConexao.h"
#include "export/UComparacaoExportacao.h"
#include "export/UDados.h"
#include "export/UFrenteExportacao.h"
#include "export/UHistoricoExportacao.h"
#include "export/UValoresExportacao.h"
#include "export/UVerificacaoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UDataHora.h"
#include "platform/UErro.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"
#include "platform/UTerminal.h"
#include "platform/UTexto.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace {

// What the command line says; an option not given leaves its value empty.
struct TOpcoes {
    std::string Diretorio;
    std::string Arquivo;
    std::string Data;
    std::string De;
    std::string Ate;
    std::string Perfil;
    std::string Empresa;
    std::string CodTorvane;
    std::string Conferir;
    std::string Comparar;
    CLI::Option* OpcaoEmbaralhar = nullptr;
    CLI::Option* OpcaoAceitarCodigo = nullptr;
    CLI::Option* OpcaoVisualizar = nullptr;
    CLI::Option* OpcaoSomenteNovos = nullptr;
    CLI::Option* OpcaoDiretorio = nullptr;
    CLI::Option* OpcaoArquivo = nullptr;
    CLI::Option* OpcaoConferir = nullptr;
    CLI::Option* OpcaoComparar = nullptr;
    CLI::Option* OpcaoData = nullptr;
    CLI::Option* OpcaoDe = nullptr;
    CLI::Option* OpcaoAte = nullptr;
    CLI::Option* OpcaoEmpresa = nullptr;
    CLI::Option* OpcaoCodTorvane = nullptr;
};

// How the companies of a run are exported.
struct TModo {
    bool AceitarCodigo = false;
    bool SomenteNovos = false;
};

class TInformacaoTerminal : public IInformacao {
public:
    TInformacaoTerminal(std::ostream& erro, TProgressoTerminal& progresso) : FErro(erro), FProgresso(progresso) {}
    void Informar(const std::string& texto, const std::string&) override {
        FProgresso.Encerrar();
        FErro << TextoTerminal(texto) << '\n';
    }

private:
    std::ostream& FErro;
    TProgressoTerminal& FProgresso;
};

std::string ListaPastas(const std::vector<std::filesystem::path>& pastas) {
    std::string texto;
    for (const auto& pasta : pastas)
        texto += (texto.empty() ? "" : " e ") + CaminhoUtf8(pasta);
    return texto;
}

std::string OndeFicamAsConfiguracoes() {
    if (InstalacaoPortatil())
        return "Configurações: sistema_qor.ini (conexão), ExportacaoKOTR.ini e PerfilTorvane.txt ficam na pasta "
               "do programa, " +
               CaminhoUtf8(PastaPrograma()) + ".";
    return "Configurações: sistema_qor.ini (conexão) é lido de " +
           ListaPastas({PastaConfiguracaoUsuario(), PastaConfiguracaoSistema()}) +
           ", nesta ordem;\nExportacaoKOTR.ini e PerfilTorvane.txt ficam em " +
           CaminhoUtf8(PastaConfiguracaoUsuario()) +
           ".\nUm sistema_qor.ini na pasta do programa faz o programa guardar tudo nela.";
}

// Numbers are read as decimal, whatever leading zeros they carry: "011" is company 11, never 9.
CLI::Validator Decimal() {
    return CLI::Validator(
        [](const std::string& texto) {
            return InteiroDecimal(texto) ? std::string() : TextoNumeroRecusado(texto, INT_MIN, INT_MAX);
        },
        "");
}

// A check of the option's text that says why it cannot be read.
CLI::Validator Verificacao(std::string (*problema)(const std::string&)) {
    return CLI::Validator(problema, "");
}

// One of the words given, as typed.
CLI::Validator UmaDas(const std::vector<std::string>& palavras) {
    return CLI::Validator(
        [palavras](const std::string& texto) {
            for (const auto& palavra : palavras)
                if (texto == palavra)
                    return std::string();
            std::string lista;
            for (const auto& palavra : palavras)
                lista += (lista.empty() ? "" : palavra == palavras.back() ? " ou " : ", ") + palavra;
            return "\"" + texto + "\" não é um valor aceito: use " + lista;
        },
        "");
}

int Numero(const std::string& texto) {
    return texto.empty() ? 0 : *InteiroDecimal(texto);
}

void Configurar(CLI::App& app, TOpcoes& opcoes) {
    // A script may add to a fixed command line: an option given again replaces the earlier value.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.description("Gera o arquivo de contas a receber para a Torvane sem abrir janelas.\n"
                    "Os valores não informados vêm de ExportacaoKOTR.ini (seção QOR), que nunca é alterado; "
                    "o período padrão é o mês anterior.");
    opcoes.OpcaoDiretorio =
        app.add_option("--diretorio", opcoes.Diretorio, "Pasta onde o arquivo será gerado")->option_text("PASTA");
    opcoes.OpcaoArquivo =
        app.add_option("--arquivo", opcoes.Arquivo, "Nome do arquivo (\".txt\" é acrescentado quando falta)")
            ->option_text("NOME");
    opcoes.OpcaoData = app.add_option("--data", opcoes.Data, "Data a que o período se refere")
                           ->option_text("lancamento|vencimento")
                           ->check(UmaDas({"lancamento", "vencimento"}));
    opcoes.OpcaoDe = app.add_option("--de", opcoes.De, "Primeiro dia do período")->option_text("AAAA-MM-DD");
    opcoes.OpcaoAte = app.add_option("--ate", opcoes.Ate, "Último dia do período")->option_text("AAAA-MM-DD");
    app.add_option("--perfil", opcoes.Perfil, "Linha do perfil de grupos (0: todos os grupos)")
        ->option_text("N")
        ->check(Decimal());
    opcoes.OpcaoEmpresa = app.add_option("--empresa", opcoes.Empresa,
                                         "Número da empresa; várias separadas por vírgula, ou todas as da janela")
                              ->option_text("N|N,N...|todas")
                              ->check(Verificacao(TEmpresasComando::ProblemaEmpresas));
    opcoes.OpcaoCodTorvane =
        app.add_option("--cod-torvane", opcoes.CodTorvane,
                       "Número da empresa na Torvane (1 a 99); com várias empresas, o de cada uma, como 1=7,2=8")
            ->option_text("N|N=C,...")
            ->check(Verificacao(TEmpresasComando::ProblemaCodigos));
    opcoes.OpcaoConferir =
        app.add_option("--conferir", opcoes.Conferir,
                       "Confere se um arquivo gerado ainda é o que foi gravado, pelo histórico de exportações")
            ->option_text("ARQUIVO");
    opcoes.OpcaoComparar = app.add_option("--comparar", opcoes.Comparar,
                                          "Compara um arquivo gerado com o banco de dados de agora: o que é novo, o "
                                          "que não está mais em aberto e o que mudou desde que foi enviado")
                               ->option_text("ARQUIVO");
    opcoes.OpcaoEmbaralhar =
        app.add_flag("--embaralhar-senha")
            ->description("Lê uma senha da entrada padrão, sem mostrá-la, e escreve sua forma guardada: o valor de "
                          "senha= em sistema_qor.ini");
    opcoes.OpcaoAceitarCodigo =
        app.add_flag("--aceitar-codigo")
            ->description("Gera mesmo quando o histórico mostra o número na Torvane usado só para outra empresa");
    opcoes.OpcaoVisualizar =
        app.add_flag("--visualizar")
            ->description("Mostra os lançamentos que iriam para o arquivo, e os totais, sem gravar nem registrar nada");
    opcoes.OpcaoSomenteNovos =
        app.add_flag("--somente-novos")
            ->description("Grava só os lançamentos que nenhum arquivo já enviado da empresa, com esse número na "
                          "Torvane, tinha; os alterados desde então ficam de fora e são listados")
            ->excludes(opcoes.OpcaoVisualizar);
    for (CLI::Option* opcao : {opcoes.OpcaoSomenteNovos, opcoes.OpcaoDiretorio, opcoes.OpcaoArquivo, opcoes.OpcaoData,
                               opcoes.OpcaoDe, opcoes.OpcaoAte, opcoes.OpcaoEmpresa, opcoes.OpcaoCodTorvane,
                               opcoes.OpcaoAceitarCodigo, opcoes.OpcaoVisualizar}) {
        opcoes.OpcaoConferir->excludes(opcao);
        opcoes.OpcaoComparar->excludes(opcao);
        opcoes.OpcaoEmbaralhar->excludes(opcao);
    }
    opcoes.OpcaoEmbaralhar->excludes(opcoes.OpcaoConferir);
    opcoes.OpcaoEmbaralhar->excludes(opcoes.OpcaoComparar);
    opcoes.OpcaoConferir->excludes(opcoes.OpcaoComparar);
    app.footer(
        "Ao gerar o arquivo, escreve na saída padrão uma linha com o caminho do arquivo, o número de linhas\n"
        "e o valor total em reais, separados por tabulação. Mensagens vão para a saída de erro.\n"
        "Com várias empresas, cada uma é gerada, conferida e registrada por si, num arquivo seu (--arquivo\n"
        "com {empresa} e, se quiser, {codtorvane}), e cada linha começa pelo número da empresa e uma\n"
        "tabulação; sem arquivo, diz \"nada encontrado\" ou \"falhou: \" e o motivo. Saída 1 quando alguma falhou.\n"
        "Saída: 0 arquivo gerado, 1 falha, 2 uso incorreto, 3 nenhum registro encontrado.\n"
        "Com --visualizar, nada é gravado: uma tabela dos lançamentos (os que não podem ir para o arquivo e\n"
        "os nomes que iriam com \"?\" dizem por quê) e os totais; 0 há lançamentos, 3 nenhum.\n"
        "Com --conferir: 0 o arquivo é o que foi gerado, 1 não é ou não consta do histórico.\n"
        "Com --comparar: o resumo e uma linha por lançamento diferente do enviado; 0 nada mudou, 4 algo mudou,\n"
        "1 não foi possível comparar. Com --somente-novos, 3 também quando não há lançamento novo.\n"
        "Com --embaralhar-senha: 0 a forma guardada foi escrita, 1 falha, 2 senha que o sistema_qor.ini\n"
        "não devolveria inteira.\n\n" +
        OndeFicamAsConfiguracoes());
}

TPedidoExportacao Montar(const TOpcoes& opcoes, const TValoresExportacao& salvos) {
    TPedidoExportacao exportacao;
    exportacao.Diretorio = opcoes.OpcaoDiretorio->count() ? CaminhoDeUtf8(opcoes.Diretorio) : salvos.Diretorio;
    exportacao.NomeArquivo = opcoes.Arquivo;
    exportacao.DataLancamento = opcoes.OpcaoData->count() ? opcoes.Data == "lancamento" : salvos.TipoData == 0;
    const TPeriodo periodo = MesAnterior(Agora());
    exportacao.DataInicial = opcoes.OpcaoDe->count() ? TDataHora::DoTextoIso(opcoes.De) : periodo.Inicio;
    exportacao.DataFinal = opcoes.OpcaoAte->count() ? TDataHora::DoTextoIso(opcoes.Ate) : periodo.Fim;
    exportacao.Perfil = Numero(opcoes.Perfil);
    return exportacao;
}

// One request a company, each with its own number in Torvane and file.
std::vector<TPedidoExportacao> Pedidos(const TOpcoes& opcoes, const TValoresExportacao& salvos, bool arquivo) {
    const TPedidoExportacao base = Montar(opcoes, salvos);
    const std::vector<int> empresas =
        opcoes.OpcaoEmpresa->count() ? TEmpresasComando::Empresas(opcoes.Empresa) : std::vector<int>{salvos.Empresa};
    const bool varias = empresas.size() != 1 || TEmpresasComando::Todas(opcoes.Empresa);
    std::vector<TPedidoExportacao> pedidos;
    for (const int empresa : empresas) {
        TPedidoExportacao pedido = base;
        pedido.Empresa = empresa;
        pedido.CodTorvane = TEmpresasComando::CodTorvane(empresa, opcoes.CodTorvane, varias, salvos.CodTorvane);
        if (arquivo)
            pedido.NomeArquivo = TEmpresasComando::NomeArquivo(opcoes.Arquivo, empresa, pedido.CodTorvane, varias);
        pedidos.push_back(pedido);
    }
    return pedidos;
}

// The main window's checks, in its order and with its texts, in the terminal's encoding; empty when all
// pass. A missing folder is not created here: a scheduled run has nobody to ask.
std::string Validar(const TPedidoExportacao& e, bool arquivo) {
    auto problema = VerificarExportacao(e, arquivo);
    if (!problema)
        problema = VerificarPerfil(e.Perfil);
    if (!problema)
        return {};
    std::string texto = TextoTerminal(problema->Texto);
    if (problema->Campo == TCampoExportacao::DataInicial || problema->Campo == TCampoExportacao::DataFinal)
        texto += " Informe a data como AAAA-MM-DD.";
    return texto;
}

std::string Reais(std::int64_t centavos) {
    return std::to_string(centavos / 100) + "." + FormatarZeros(centavos % 100, 2);
}

// The terminal's gauge and messages, handed to the export services for one run and taken back after it.
class TFrenteTerminal {
public:
    TFrenteTerminal(std::ostream& erro, bool terminal)
        : FProgresso(erro, terminal), FInformacao(erro, FProgresso), FFrente(&FInformacao, nullptr, &FProgresso) {}
    ~TFrenteTerminal() { FProgresso.Encerrar(); }
    TFrenteTerminal(const TFrenteTerminal&) = delete;
    TFrenteTerminal& operator=(const TFrenteTerminal&) = delete;

    TProgressoTerminal& Progresso() { return FProgresso; }

private:
    TProgressoTerminal FProgresso;
    TInformacaoTerminal FInformacao;
    TFrenteExportacao FFrente;
};

// Opens the shared connection; when it fails with no settings file anywhere, the user learns where the
// program looked for one.
bool Conectar(std::ostream& erro) {
    if (TDadosExportacao::GetConexao())
        return true;
    try {
        TDadosExportacao::AbrirConexao();
        return true;
    } catch (const EFalha& falha) {
        erro << TextoTerminal(falha.what()) << '\n';
        if (!TArquivoConexao::EmUso().Existe())
            erro << TextoTerminal(TArquivoConexao::TextoNaoEncontrado()) << '\n';
        return false;
    }
}

// One company's export: the question of another company's number, the note on a period already sent, then the
// file. Fails with the reason; nothing found is a result with nothing written.
TResultadoExportacao ExportarEmpresa(const TPedidoExportacao& e, TModo modo, std::ostream& erro, bool terminal) {
    // Nobody is there to answer the window's question: another company's number stops the run unless accepted.
    if (const std::string outra = THistoricoExportacao::CodigoDeOutraEmpresa(e.Empresa, e.CodTorvane);
        !outra.empty() && !modo.AceitarCodigo)
        throw EFalha(outra + "\nUse --aceitar-codigo para gerar assim mesmo.");
    // Nobody is there to answer: the note is for whoever reads the run's messages.
    const TAvisoHistorico anteriores =
        THistoricoExportacao::ExportacoesAnteriores(e.Empresa, *e.DataInicial, *e.DataFinal);
    for (const std::string& nota : {anteriores.Exportacoes, anteriores.Aviso})
        if (!nota.empty())
            erro << TextoTerminal(nota) << '\n';
    TFrenteTerminal frente(erro, terminal);
    // The server may take a while before the first row: say so until the bar appears.
    frente.Progresso().Anunciar("Consultando o banco de dados...");
    // --somente-novos: what changed since it was sent, and the earlier files not read, are said with the outcome.
    return modo.SomenteNovos ? TComparacaoExportacao::GerarSomenteNovos(e) : TDadosExportacao::GerarArquivo(e);
}

std::string LinhaResultado(const TResultadoExportacao& resultado) {
    return CaminhoUtf8(resultado.Caminho) + '\t' + std::to_string(resultado.Linhas) + '\t' +
           Reais(resultado.TotalCentavos);
}

// A script reads the result from standard output: without it the run has not done its job.
bool SaidaEscrita(std::ostream& saida, std::ostream& erro) {
    saida.flush();
    if (!saida)
        erro << "O arquivo foi gerado, mas não foi possível escrever o resultado na saída padrão.\n";
    return static_cast<bool>(saida);
}

int Exportar(const TPedidoExportacao& e, TModo modo, std::ostream& saida, std::ostream& erro, bool terminal) {
    if (!Conectar(erro))
        return TComandoExportacao::Falhou;
    const TResultadoExportacao resultado = ExportarEmpresa(e, modo, erro, terminal);
    if (!resultado.Gerado)
        return TComandoExportacao::NadaEncontrado;
    saida << LinhaResultado(resultado) << '\n';
    if (!SaidaEscrita(saida, erro))
        return TComandoExportacao::Falhou;
    // The file is in place, but the record of what was sent, or the copy of it, lacks it (the reason was said with
    // the result).
    return resultado.FalhaRegistro.empty() && resultado.FalhaCopia.empty() ? TComandoExportacao::Gerado
                                                                           : TComandoExportacao::Falhou;
}

// Each company on its own: a failure or unfit postings in one leave the others written.
int ExportarVarias(const std::vector<TPedidoExportacao>& pedidos, TModo modo, std::ostream& saida, std::ostream& erro,
                   bool terminal) {
    if (!Conectar(erro))
        return TComandoExportacao::Falhou;
    int situacao = TComandoExportacao::Gerado;
    for (const TPedidoExportacao& pedido : pedidos) {
        std::string linha = std::to_string(pedido.Empresa) + '\t';
        try {
            const TResultadoExportacao resultado = ExportarEmpresa(pedido, modo, erro, terminal);
            linha += resultado.Gerado ? LinhaResultado(resultado) : "\tnada encontrado";
            if (!resultado.FalhaRegistro.empty() || !resultado.FalhaCopia.empty())
                situacao = TComandoExportacao::Falhou;
        } catch (const std::exception& falha) {
            const std::string motivo = TextoTerminal(falha.what());
            erro << "Empresa " << pedido.Empresa << ": " << motivo << '\n';
            linha += "\tfalhou: " + motivo.substr(0, motivo.find('\n'));
            situacao = TComandoExportacao::Falhou;
        }
        saida << linha << '\n';
    }
    return SaidaEscrita(saida, erro) ? situacao : TComandoExportacao::Falhou;
}

// A column of the table, filled with blanks to its width, in code page 1252.
std::string Coluna(const std::string& texto, std::size_t largura, bool direita = false) {
    const std::string brancos(texto.size() < largura ? largura - texto.size() : 0, ' ');
    return (direita ? brancos + texto : texto + brancos) + "  ";
}

std::string LinhaTabela(const TSelecaoExportacao::TCampos& c) {
    return Coluna(c.Chapa, 10) + Coluna(c.Nome, 40) + Coluna(c.Data, 10) + Coluna(c.Numero, 7, true) +
           Coluna(c.Valor, 16, true) + c.Situacao;
}

// Each company's postings as they would go into the file, writing and recording nothing.
int Visualizar(const std::vector<TPedidoExportacao>& pedidos, std::ostream& saida, std::ostream& erro, bool terminal) {
    if (!Conectar(erro))
        return TComandoExportacao::Falhou;
    int situacao = TComandoExportacao::NadaEncontrado;
    for (const TPedidoExportacao& pedido : pedidos) {
        if (pedidos.size() > 1)
            saida << "Empresa " << pedido.Empresa << '\n';
        std::optional<TSelecaoExportacao> selecao;
        {
            TFrenteTerminal frente(erro, terminal);
            frente.Progresso().Anunciar("Consultando o banco de dados...");
            selecao = TDadosExportacao::VisualizarArquivo(TDadosExportacao::Filtro(pedido));
        }
        if (!selecao)
            continue;
        situacao = TComandoExportacao::Gerado;
        saida << TextoTerminal(
                     LinhaTabela({"Chapa", "Nome", "Data", TextoAnsi("Número"), "Valor (R$)", TextoAnsi("Situação")}))
              << '\n';
        for (std::size_t i = 0; i < selecao->Quantidade(); ++i)
            saida << TextoTerminal(LinhaTabela(selecao->Campos(i))) << '\n';
        saida << TextoTerminal(selecao->Resumo()) << '\n';
    }
    return SaidaEscrita(saida, erro) ? situacao : TComandoExportacao::Falhou;
}

// The stored form of a password read from standard input, for sistema_qor.ini.
int EmbaralharSenha(std::ostream& saida, std::ostream& erro) {
    const bool terminal = EntradaPadraoEhTerminal();
    if (terminal)
        erro << "Senha: " << std::flush;
    const auto digitada = LerLinhaSemEco();
    if (terminal)
        erro << '\n';
    if (!digitada) {
        erro << "Nenhuma senha na entrada padrão.\n";
        return TComandoExportacao::Falhou;
    }
    if (!CabeEmCp1252(*digitada)) {
        erro << "A senha tem caracteres que o código de página 1252 não tem (ou não é texto UTF-8); o banco de "
                "dados não a receberia como foi digitada.\n";
        return TComandoExportacao::Falhou;
    }
    std::string forma;
    try {
        forma = SenhaArmazenada(Utf8ParaCp1252(*digitada));
    } catch (const EFalha& recusa) {
        // Written, it would read back as another password: the server would refuse it later, with no reason given.
        erro << TextoTerminal(recusa.what()) << '\n';
        return TComandoExportacao::UsoIncorreto;
    }
    saida << forma << '\n';
    saida.flush();
    return saida ? TComandoExportacao::Gerado : TComandoExportacao::Falhou;
}

} // namespace

int TComandoExportacao::Executar(int argc, const char* const* argv, std::ostream& saida, std::ostream& erro,
                                 bool terminal) {
    CLI::App app;
    app.name("torvane-export");
    EmPortugues(app);
    app.set_help_flag("-h,--help", "Mostra esta ajuda e sai");
    TOpcoes opcoes;
    Configurar(app, opcoes);
    try {
        app.parse(argc, argv);
        if (!opcoes.OpcaoArquivo->count() && !opcoes.OpcaoConferir->count() && !opcoes.OpcaoEmbaralhar->count() &&
            !opcoes.OpcaoVisualizar->count() && !opcoes.OpcaoComparar->count())
            throw CLI::RequiredError(opcoes.OpcaoArquivo->get_name());
    } catch (const CLI::CallForHelp&) {
        saida << app.help();
        return Gerado;
    } catch (const CLI::ParseError& e) {
        erro << MensagemUso(e, app) << "\nUse --help para ver as opções.\n";
        return UsoIncorreto;
    }
    try {
        if (opcoes.OpcaoEmbaralhar->count())
            return EmbaralharSenha(saida, erro);
        if (opcoes.OpcaoConferir->count())
            return ConferirArquivo(opcoes.Conferir, saida);
        if (opcoes.OpcaoComparar->count())
            return Conectar(erro) ? CompararComBanco(opcoes.Comparar, saida, erro) : Falhou;
        // Every company the window lists: the database says which.
        if (TEmpresasComando::Todas(opcoes.Empresa) && !Conectar(erro))
            return Falhou;
        const bool visualizar = opcoes.OpcaoVisualizar->count() > 0;
        const std::vector<TPedidoExportacao> pedidos = Pedidos(opcoes, TValoresExportacao::Ler(), !visualizar);
        for (const TPedidoExportacao& pedido : pedidos)
            if (const std::string problema = Validar(pedido, !visualizar); !problema.empty()) {
                erro << (pedidos.size() > 1 ? "Empresa " + std::to_string(pedido.Empresa) + ": " : "") << problema
                     << '\n';
                return UsoIncorreto;
            }
        if (visualizar)
            return Visualizar(pedidos, saida, erro, terminal);
        const TModo modo{opcoes.OpcaoAceitarCodigo->count() > 0, opcoes.OpcaoSomenteNovos->count() > 0};
        if (pedidos.size() == 1 && !TEmpresasComando::Todas(opcoes.Empresa))
            return Exportar(pedidos.front(), modo, saida, erro, terminal);
        return ExportarVarias(pedidos, modo, saida, erro, terminal);
    } catch (const EUsoComando& uso) {
        erro << uso.what() << '\n';
        return UsoIncorreto;
    } catch (const std::exception& e) {
        erro << TextoTerminal(e.what()) << '\n';
        return Falhou;
    }
}
