#include "platform/UArquivoSeguro.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UErroSistema.h"
#include "platform/UGravacaoDisco.h"
#include "platform/USinais.h"

#include <random>
#include <string>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Created new, never over an existing file, and readable by its owner only while it is written.
std::FILE* CriarTemporario(const std::filesystem::path& caminho) {
#ifdef _WIN32
    // Others may delete it while open, so that Ctrl-C can remove it while it is being written.
    HANDLE handle = CreateFileW(caminho.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int descritor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descritor < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* arquivo = _fdopen(descritor, "wb");
    if (!arquivo)
        _close(descritor);
    return arquivo;
#else
    const int descritor = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descritor < 0)
        return nullptr;
    std::FILE* arquivo = ::fdopen(descritor, "wb");
    if (!arquivo)
        ::close(descritor);
    return arquivo;
#endif
}

#ifdef _WIN32
// Whether the reparse point at the path is a symbolic link or a junction. Other reparse points (a file kept by a
// sync client such as OneDrive, a deduplicated volume's file) hold the file itself.
bool ReparseEhLigacao(const std::filesystem::path& caminho) {
    WIN32_FIND_DATAW dados{};
    const HANDLE busca = FindFirstFileW(caminho.c_str(), &dados);
    if (busca == INVALID_HANDLE_VALUE)
        return false;
    FindClose(busca);
    // dwReserved0 holds the reparse tag when the attributes say there is one.
    return (dados.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (dados.dwReserved0 == IO_REPARSE_TAG_SYMLINK || dados.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}
#endif

// Whether the file at the path is what the Windows attribute says (always false elsewhere): a link is a
// symbolic link or a junction, which the file system library there takes for what it points at; a read-only
// file is not to be replaced even where the account could (an administrator).
enum class TAtributoWindows { Ligacao, SomenteLeitura };
bool TemAtributoWindows([[maybe_unused]] const std::filesystem::path& caminho, [[maybe_unused]] TAtributoWindows qual) {
#ifdef _WIN32
    const DWORD atributos = GetFileAttributesW(caminho.c_str());
    if (atributos == INVALID_FILE_ATTRIBUTES)
        return false;
    if (qual == TAtributoWindows::Ligacao)
        return (atributos & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && ReparseEhLigacao(caminho);
    return (atributos & FILE_ATTRIBUTE_READONLY) != 0;
#else
    return false;
#endif
}

// What the system says when a folder stands where a file is to be written (on Windows: access denied, as for a
// read-only file).
int ErroEhPasta() {
#ifdef _WIN32
    return ERROR_ACCESS_DENIED;
#else
    return EISDIR;
#endif
}

[[noreturn]] void FalhaCriar(const std::filesystem::path& caminho, const std::string& motivo) {
    throw EFalha("Cannot create file \"" + CaminhoMensagem(caminho) + "\". " + motivo);
}

std::string SufixoAleatorio() {
    std::random_device gerador;
    static constexpr char digitos[] = "0123456789abcdef";
    std::string texto;
    for (int i = 0; i < 8; ++i)
        texto += digitos[gerador() % 16];
    return texto;
}

} // namespace

TArquivoSeguro::TArquivoSeguro(std::filesystem::path caminho) : FCaminho(std::move(caminho)) {
    std::error_code erro;
    // The name itself, not what a link at it points to: the rename at the end replaces the name.
    const auto estado = std::filesystem::symlink_status(FCaminho, erro);
    const bool ligacao = TemAtributoWindows(FCaminho, TAtributoWindows::Ligacao);
    if (std::filesystem::is_directory(estado) && !ligacao)
        FalhaCriar(FCaminho, TextoErroSistema(ErroEhPasta()));
    // Opening a pipe would wait for ever for its reader, a device is nobody's export file, and a link would
    // be replaced by a file that takes the linked file's mode.
    if (ligacao || (std::filesystem::exists(estado) && !std::filesystem::is_regular_file(estado)))
        FalhaCriar(FCaminho, TextoAnsi("Não é um arquivo comum (é um link, um pipe, um dispositivo ou um socket), e "
                                       "só um arquivo comum é substituído."));
    if (std::filesystem::exists(estado)) {
        // A file we could not open for writing ourselves is not replaced behind its owner's back.
        if (TemAtributoWindows(FCaminho, TAtributoWindows::SomenteLeitura))
            FalhaCriar(FCaminho, TextoErroSistema(ErroEhPasta()));
        std::FILE* existente = AbrirArquivo(FCaminho, "ab");
        if (!existente)
            FalhaCriar(FCaminho, TextoErroSistema(UltimoErroSistema()));
        std::fclose(existente);
    }
    LerAtributos();
    FTemporario = FCaminho;
    FTemporario += ".";
    FTemporario += SufixoAleatorio();
    FTemporario += ".tmp";
    FArquivo = CriarTemporario(FTemporario);
    if (!FArquivo) {
        const int motivo = UltimoErroSistema();
        FTemporario.clear();
        FalhaCriar(FCaminho, TextoErroSistema(motivo));
    }
    RegistrarTemporario(FTemporario);
}

void TArquivoSeguro::LerAtributos() {
#ifdef _WIN32
    // Hidden, system, archive and not indexed pass to the new file; read-only was refused above.
    const DWORD atributos = GetFileAttributesW(FCaminho.c_str());
    if (atributos != INVALID_FILE_ATTRIBUTES)
        FAtributos = {true, atributos & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)};
#else
    struct stat estado {};
    if (::stat(FCaminho.c_str(), &estado) == 0) {
        FAtributos = {true, static_cast<unsigned>(estado.st_mode & 07777), estado.st_uid, estado.st_gid};
    } else {
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        FAtributos.Modo = 0666 & ~mascara;
    }
#endif
}

void TArquivoSeguro::AplicarAtributos() {
#ifdef _WIN32
    if (FAtributos.Existia && FAtributos.Modo != 0)
        SetFileAttributesW(FTemporario.c_str(), FAtributos.Modo);
#else
    const int descritor = fileno(FArquivo);
    // Only as far as the user may: another user's file keeps its mode, and its owner where we are allowed.
    if (FAtributos.Existia &&
        ::fchown(descritor, static_cast<uid_t>(FAtributos.Dono), static_cast<gid_t>(FAtributos.Grupo)) != 0 &&
        ::fchown(descritor, static_cast<uid_t>(-1), static_cast<gid_t>(FAtributos.Grupo)) != 0) {
        // Neither owner nor group could be kept: the file stays ours, with the old mode.
    }
    ::fchmod(descritor, static_cast<mode_t>(FAtributos.Modo));
#endif
}

TArquivoSeguro::~TArquivoSeguro() {
    Descartar();
}

void TArquivoSeguro::Escrever(std::string_view texto) {
    if (!FArquivo)
        throw EFalha("Stream write error");
    if (std::fwrite(texto.data(), 1, texto.size(), FArquivo) != texto.size())
        throw EFalha("Stream write error");
}

void TArquivoSeguro::Confirmar() {
    if (!FArquivo)
        throw EFalha("Stream write error");
    AplicarAtributos();
    const bool gravado = GravarNoDisco(FArquivo, FTemporario);
    const bool fechado = std::fclose(FArquivo) == 0;
    FArquivo = nullptr;
    if (!gravado || !fechado) {
        Descartar();
        throw EFalha("Stream write error");
    }
    if (!SubstituirArquivo(FTemporario, FCaminho)) {
        const int motivo = UltimoErroSistema();
        Descartar();
        FalhaCriar(FCaminho, TextoErroSistema(motivo));
    }
    EsquecerTemporario();
    FTemporario.clear();
    GravarPastaNoDisco(FCaminho.parent_path());
}

void TArquivoSeguro::Descartar() {
    if (FArquivo) {
        std::fclose(FArquivo);
        FArquivo = nullptr;
    }
    if (!FTemporario.empty()) {
        EsquecerTemporario();
        std::error_code erro;
        std::filesystem::remove(FTemporario, erro);
        FTemporario.clear();
    }
}

void GravarLinhas(const std::filesystem::path& caminho, const std::vector<std::string>& linhas) {
    TArquivoSeguro arquivo(caminho);
    for (const auto& linha : linhas) {
        arquivo.Escrever(linha);
        arquivo.Escrever("\r\n");
    }
    arquivo.Confirmar();
}
