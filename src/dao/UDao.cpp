#include "dao/UDao.h"

#include "dao/UArquivoConexao.h"
#include "dao/UConexao.h"
#include "dao/UQuery.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UIni.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UTexto.h"

#include <random>

namespace {

const std::string SenhaReserva = "581937wex";
const std::string ChaveSenha = "KAV";

bool TemPasta(const std::filesystem::path& nome) {
    return !nome.parent_path().empty();
}

int DigitoHex(char c) {
    const int valor = ValorHex(c);
    if (valor >= 0)
        return valor;
    throw EFalha("'" + std::string(1, c) + "' is not a valid hexadecimal digit");
}

// The value of the digits at 0-based position i and the next, or of position i alone when it is the last.
int LerHex(const std::string& texto, std::size_t i) {
    if (i + 1 >= texto.size())
        return DigitoHex(texto[i]);
    return DigitoHex(texto[i]) * 16 + DigitoHex(texto[i + 1]);
}

std::string Hex2(int valor) {
    static constexpr char digitos[] = "0123456789ABCDEF";
    return {digitos[(valor >> 4) & 0xF], digitos[valor & 0xF]};
}

// The key's bytes in a cycle, from the first.
class TPosicaoChave {
public:
    explicit TPosicaoChave(const std::string& chave) : FChave(chave) {}
    int Proximo() {
        FPosicao = FPosicao < FChave.size() ? FPosicao + 1 : 1;
        return static_cast<unsigned char>(FChave[FPosicao - 1]);
    }

private:
    const std::string& FChave;
    std::size_t FPosicao = 0;
};

std::string Embaralhar(const std::string& texto, const std::string& chave) {
    std::random_device aleatorio;
    const int semente = static_cast<int>(std::uniform_int_distribution<int>(0, 255)(aleatorio));
    std::string saida = Hex2(semente);
    TPosicaoChave posicao(chave);
    int anterior = semente;
    for (unsigned char c : texto) {
        int valor = (anterior + c) % 255;
        valor ^= posicao.Proximo();
        saida += Hex2(valor);
        anterior = valor;
    }
    return saida;
}

std::string Desembaralhar(const std::string& texto, const std::string& chave) {
    if (texto.size() < 3)
        throw EFalha("'" + texto + "' is not a valid scrambled text");
    int anterior = LerHex(texto, 0);
    TPosicaoChave posicao(chave);
    std::string saida;
    std::size_t i = 2; // 0-based: the third character
    do {
        const int armazenado = LerHex(texto, i);
        const int valor = armazenado ^ posicao.Proximo();
        const int codigo = valor > anterior ? valor - anterior : valor + 255 - anterior;
        saida += static_cast<char>(codigo);
        anterior = armazenado;
        i += 2;
    } while (i + 1 < texto.size());
    return saida;
}

} // namespace

std::string Criptografia(const std::string& modo, const std::string& texto, const std::string& chave) {
    if (modo != "E" && modo != "D")
        return {};
    if (chave.empty())
        throw EFalha("The scrambling key is empty");
    return modo == "E" ? Embaralhar(texto, chave) : Desembaralhar(texto, chave);
}

std::string DescriptografarSenha(const std::string& texto, const std::string& chave) {
    if (Aparar(texto).empty())
        return {};
    return Criptografia("D", texto, chave);
}

std::string ProblemaSenha(const std::string& senha) {
    // Two digits a character after the seed's two, and the settings give back no longer value than that.
    constexpr std::size_t maior = (TIniFile::TamanhoMaximoValor - 2) / 2;
    if (senha.size() <= maior)
        return {};
    return TextoAnsi("A senha tem ") + MilharesBrasileiros(static_cast<long long>(senha.size())) +
           TextoAnsi(" caracteres, e o sistema_qor.ini só devolve inteira uma senha de até ") +
           MilharesBrasileiros(static_cast<long long>(maior)) + " caracteres.";
}

std::string SenhaArmazenada(const std::string& senha) {
    if (senha.empty())
        return {};
    if (const std::string problema = ProblemaSenha(senha); !problema.empty())
        throw EFalha(problema);
    // With some seeds a character of code 255 would read back as 0: the seed is drawn again until the stored form
    // gives the password back.
    for (int tentativa = 0; tentativa < 1000; ++tentativa) {
        const std::string forma = Criptografia("E", senha, ChaveSenha);
        if (DescriptografarSenha(forma, ChaveSenha) == senha)
            return forma;
    }
    throw EFalha(TextoAnsi("Esta senha não tem forma guardada que a devolva."));
}

std::string TextoFalhaConexao(const std::string& erro) {
    return TextoAnsi("Erro ao conectar com o banco de dados.") + "\r\n" + TextoAnsi("Descrição do Erro: ") + erro;
}

std::string SenhaGuardada(const std::string& armazenada) {
    try {
        return DescriptografarSenha(armazenada, ChaveSenha);
    } catch (...) {
        // A stored password that cannot be read falls back silently, as the settings have always done.
        return SenhaReserva;
    }
}

std::filesystem::path TDao::CaminhoArquivoIni(const std::filesystem::path& nomeArquivo) {
    if (nomeArquivo.empty())
        return ArquivoConexao(NomeArquivoConexao);
    if (TemPasta(nomeArquivo))
        return nomeArquivo;
    return ArquivoConexao(nomeArquivo);
}

TParametrosConexao TDao::LerParametrosConexao(const std::filesystem::path& nomeArquivo, const std::string& secao) {
    return TArquivoConexao(CaminhoArquivoIni(nomeArquivo)).Parametros(secao);
}

std::unique_ptr<TConexao> TDao::CriarConexao(const std::string& host, const std::string& database,
                                             const std::string& usuario, const std::string& senha, int porta) {
    return std::make_unique<TConexao>(host, database, usuario, senha, porta);
}

std::unique_ptr<TConexao> TDao::Conectar(const std::filesystem::path& nomeArquivo, const std::string& secao) {
    const auto p = LerParametrosConexao(nomeArquivo, secao);
    return CriarConexao(p.Host, p.Database, p.Usuario, p.Senha, p.Porta);
}

TVariante TDao::ConsultarValor(TConexao& conexao, const std::string& sql, const TVariante& padrao, bool gerarErro) {
    try {
        TQuery query(conexao, sql);
        query.Abrir();
        if (query.Vazia() || query.Campo(0).Nulo())
            return padrao;
        return query.Campo(0).Variante();
    } catch (const std::exception& erro) {
        if (gerarErro)
            throw EFalha(erro.what());
        return std::monostate{};
    }
}
