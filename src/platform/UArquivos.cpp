#include "platform/UArquivos.h"

#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/USinais.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::FILE* AbrirArquivo(const std::filesystem::path& caminho, const char* modo) {
#ifdef _WIN32
    std::wstring modoLargo(modo, modo + std::char_traits<char>::length(modo));
    return _wfopen(caminho.c_str(), modoLargo.c_str());
#else
    return std::fopen(caminho.c_str(), modo);
#endif
}

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

TObservadorDisco& Observador() {
    static TObservadorDisco observador;
    return observador;
}

void Notificar(TPassoDisco passo, const std::filesystem::path& caminho) {
    if (Observador())
        Observador()(passo, caminho);
}

// The file's data and size reach the disk before the call returns.
bool GravarDescritorNoDisco(int descritor, const std::filesystem::path& caminho) {
#ifdef _WIN32
    const bool gravado = _commit(descritor) == 0;
#else
    const bool gravado = ::fsync(descritor) == 0;
#endif
    if (gravado)
        Notificar(TPassoDisco::GravarArquivo, caminho);
    return gravado;
}

bool GravarNoDisco(std::FILE* arquivo, const std::filesystem::path& caminho) {
#ifdef _WIN32
    return std::fflush(arquivo) == 0 && GravarDescritorNoDisco(_fileno(arquivo), caminho);
#else
    return std::fflush(arquivo) == 0 && GravarDescritorNoDisco(fileno(arquivo), caminho);
#endif
}

void GravarPastaNoDisco(const std::filesystem::path& pasta) {
#ifndef _WIN32
    // The rename itself reaches the disk only with its folder.
    const int descritor = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY);
    if (descritor < 0)
        return;
    const bool gravada = ::fsync(descritor) == 0;
    ::close(descritor);
    if (!gravada)
        return;
#endif
    // On Windows the rename is written through to the disk, its folder with it.
    Notificar(TPassoDisco::GravarPasta, pasta);
}

[[noreturn]] void FalhaAcrescentar(const std::filesystem::path& caminho, const std::string& motivo) {
    throw EFalha(TextoAnsi("Não foi possível gravar no arquivo \"") + CaminhoMensagem(caminho) + "\". " + motivo);
}

std::string NaoEArquivoComum() {
    return TextoAnsi("Não é um arquivo comum (é uma pasta, um pipe, um dispositivo ou um socket).");
}

#ifdef _WIN32
std::string TextoErroWindows(DWORD erro) {
    wchar_t* texto = nullptr;
    const DWORD tamanho =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, erro, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    std::wstring largo(texto ? texto : L"", tamanho);
    LocalFree(texto);
    while (!largo.empty() && (largo.back() == L'\r' || largo.back() == L'\n'))
        largo.pop_back();
    return CaminhoMensagem(std::filesystem::path(largo));
}
#endif

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

// The temporary file takes the target's name, replacing it in one step once it is on disk.
bool Substituir(const std::filesystem::path& temporario, const std::filesystem::path& alvo) {
#ifdef _WIN32
    const bool substituido =
        MoveFileExW(temporario.c_str(), alvo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    const bool substituido = std::rename(temporario.c_str(), alvo.c_str()) == 0;
#endif
    if (substituido)
        Notificar(TPassoDisco::Substituir, alvo);
    return substituido;
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

std::filesystem::path CaminhoDeUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string CaminhoUtf8(const std::filesystem::path& caminho) {
    const std::u8string utf8 = caminho.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string CaminhoMensagem(const std::filesystem::path& caminho) {
    return Utf8ParaCp1252(CaminhoUtf8(caminho));
}

std::string CaminhoParaValor(const std::filesystem::path& caminho) {
    const std::string utf8 = CaminhoUtf8(caminho);
    if (!CabeEmCp1252(utf8))
        return utf8;
    std::string ansi = Utf8ParaCp1252(utf8);
    // Code page 1252 bytes that happen to form UTF-8 would be read back as other characters.
    return PareceUtf8(ansi) ? utf8 : ansi;
}

std::filesystem::path ValorParaCaminho(std::string_view valor) {
    return CaminhoDeUtf8(PareceUtf8(valor) ? std::string(valor) : Cp1252ParaUtf8(valor));
}

bool ArquivoExiste(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::is_regular_file(caminho, erro);
}

bool DiretorioExiste(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::is_directory(caminho, erro);
}

bool CriarDiretorio(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::create_directory(caminho, erro) && !erro;
}

int UltimoErroSistema() {
#ifdef _WIN32
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

std::string TextoErroSistema(int erro) {
#ifdef _WIN32
    return TextoErroWindows(static_cast<DWORD>(erro));
#else
    return Utf8ParaCp1252(std::generic_category().message(erro));
#endif
}

void LerEmBlocos(const std::filesystem::path& caminho, const std::function<void(std::string_view)>& receber) {
    std::FILE* arquivo = AbrirArquivo(caminho, "rb");
    if (!arquivo)
        throw EFalha("Cannot open file \"" + CaminhoMensagem(caminho) + "\". " + TextoErroSistema(UltimoErroSistema()));
    char bloco[65536];
    std::size_t lidos;
    try {
        while ((lidos = std::fread(bloco, 1, sizeof bloco, arquivo)) > 0)
            receber(std::string_view(bloco, lidos));
    } catch (...) {
        std::fclose(arquivo);
        throw;
    }
    const bool falhou = std::ferror(arquivo) != 0;
    std::fclose(arquivo);
    if (falhou)
        throw EFalha("Stream read error");
}

std::string LerArquivo(const std::filesystem::path& caminho) {
    std::string texto;
    LerEmBlocos(caminho, [&texto](std::string_view bloco) { texto.append(bloco); });
    return texto;
}

std::vector<std::string> DividirLinhas(std::string_view texto) {
    std::vector<std::string> linhas;
    std::size_t inicio = 0;
    std::size_t i = 0;
    while (i < texto.size()) {
        if (texto[i] == '\r' || texto[i] == '\n') {
            linhas.emplace_back(texto.substr(inicio, i - inicio));
            if (texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')
                ++i;
            inicio = ++i;
        } else {
            ++i;
        }
    }
    if (inicio < texto.size())
        linhas.emplace_back(texto.substr(inicio));
    return linhas;
}

std::vector<std::string> LerLinhas(const std::filesystem::path& caminho) {
    return DividirLinhas(LerArquivo(caminho));
}

void GravarLinhas(const std::filesystem::path& caminho, const std::vector<std::string>& linhas) {
    TArquivoSeguro arquivo(caminho);
    for (const auto& linha : linhas) {
        arquivo.Escrever(linha);
        arquivo.Escrever("\r\n");
    }
    arquivo.Confirmar();
}

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
    FTemporario += "." + SufixoAleatorio() + ".tmp";
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
    if (!Substituir(FTemporario, FCaminho)) {
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

namespace {

// The byte every program that appends to a file locks, far past any real end: on Windows a lock keeps others
// from reading what it covers, and readers of the record must never wait. A program on Linux and one on Windows
// that append to the same share lock the same byte.
constexpr long long ByteTrava = 1LL << 62;

// A row starts on a line of its own, even after one cut short.
std::string Dados(std::string_view final, long long tamanho, std::string_view texto, std::string_view inicioSeVazio) {
    if (tamanho == 0)
        return std::string(inicioSeVazio) + std::string(texto);
    return (final == "\r\n" ? std::string() : std::string("\r\n")) + std::string(texto);
}

std::string TextoTravaOcupada(std::chrono::milliseconds espera) {
    return TextoAnsi("Outro programa está gravando nele há mais de ") + std::to_string((espera.count() + 999) / 1000) +
           " s; tente de novo.";
}

} // namespace

#ifdef _WIN32

namespace {

// Closes the file on every way out, letting go of its lock.
struct TArquivoWindows {
    HANDLE Handle;
    ~TArquivoWindows() { CloseHandle(Handle); }
};

bool GravarHandleNoDisco(HANDLE arquivo, const std::filesystem::path& caminho) {
    const bool gravado = FlushFileBuffers(arquivo) != 0;
    if (gravado)
        Notificar(TPassoDisco::GravarArquivo, caminho);
    return gravado;
}

bool Travar(HANDLE arquivo, std::chrono::milliseconds espera) {
    const auto limite = std::chrono::steady_clock::now() + espera;
    for (;;) {
        OVERLAPPED posicao{};
        posicao.Offset = static_cast<DWORD>(ByteTrava & 0xFFFFFFFF);
        posicao.OffsetHigh = static_cast<DWORD>(ByteTrava >> 32);
        if (LockFileEx(arquivo, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &posicao))
            return true;
        if (std::chrono::steady_clock::now() >= limite)
            return false;
        Sleep(20);
    }
}

} // namespace

void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto, std::string_view inicioSeVazio,
                        std::chrono::milliseconds esperaTrava) {
    // Without FILE_WRITE_DATA every write goes to the end of the file, as one piece; reading is for its last
    // bytes and for the lock.
    const TArquivoWindows arquivo{CreateFileW(caminho.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (arquivo.Handle == INVALID_HANDLE_VALUE)
        FalhaAcrescentar(caminho, TextoErroWindows(GetLastError()));
    if (GetFileType(arquivo.Handle) != FILE_TYPE_DISK)
        FalhaAcrescentar(caminho, NaoEArquivoComum());
    if (!Travar(arquivo.Handle, esperaTrava))
        FalhaAcrescentar(caminho, TextoTravaOcupada(esperaTrava));
    LARGE_INTEGER tamanho{};
    if (!GetFileSizeEx(arquivo.Handle, &tamanho))
        FalhaAcrescentar(caminho, TextoErroWindows(GetLastError()));
    char final[2] = {};
    DWORD lidos = 0;
    if (tamanho.QuadPart > 0) {
        OVERLAPPED posicao{};
        const long long inicio = tamanho.QuadPart >= 2 ? tamanho.QuadPart - 2 : 0;
        posicao.Offset = static_cast<DWORD>(inicio & 0xFFFFFFFF);
        posicao.OffsetHigh = static_cast<DWORD>(inicio >> 32);
        if (!ReadFile(arquivo.Handle, final, tamanho.QuadPart >= 2 ? 2 : 1, &lidos, &posicao))
            FalhaAcrescentar(caminho, TextoErroWindows(GetLastError()));
    }
    const std::string dados = Dados(std::string_view(final, lidos), tamanho.QuadPart, texto, inicioSeVazio);
    DWORD escritos = 0;
    if (!WriteFile(arquivo.Handle, dados.data(), static_cast<DWORD>(dados.size()), &escritos, nullptr))
        FalhaAcrescentar(caminho, TextoErroWindows(GetLastError()));
    if (escritos != dados.size())
        FalhaAcrescentar(caminho, TextoAnsi("Só parte do texto foi gravada (disco cheio?)."));
    if (!GravarHandleNoDisco(arquivo.Handle, caminho))
        FalhaAcrescentar(caminho, TextoErroWindows(GetLastError()));
}

#else

namespace {

struct TDescritor {
    int Numero;
    ~TDescritor() { ::close(Numero); }
};

bool Travar(int descritor, std::chrono::milliseconds espera) {
    const auto limite = std::chrono::steady_clock::now() + espera;
    for (;;) {
        struct flock trava {};
        trava.l_type = F_WRLCK;
        trava.l_whence = SEEK_SET;
        trava.l_start = static_cast<off_t>(ByteTrava);
        trava.l_len = 1;
        if (::fcntl(descritor, F_SETLK, &trava) == 0)
            return true;
        if ((errno != EACCES && errno != EAGAIN && errno != EINTR) || std::chrono::steady_clock::now() >= limite)
            return false;
        ::usleep(20000);
    }
}

} // namespace

void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto, std::string_view inicioSeVazio,
                        std::chrono::milliseconds esperaTrava) {
    // O_NONBLOCK keeps a pipe at that name from holding us until someone reads it; it is refused below. Reading is
    // for the file's last bytes.
    const TDescritor arquivo{::open(caminho.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666)};
    if (arquivo.Numero < 0)
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    struct stat estado {};
    if (::fstat(arquivo.Numero, &estado) != 0 || !S_ISREG(estado.st_mode))
        FalhaAcrescentar(caminho, NaoEArquivoComum());
    if (!Travar(arquivo.Numero, esperaTrava))
        FalhaAcrescentar(caminho, errno == EACCES || errno == EAGAIN || errno == EINTR ? TextoTravaOcupada(esperaTrava)
                                                                                       : TextoErroSistema(errno));
    // The size once the lock is ours: another program may have added a row meanwhile.
    if (::fstat(arquivo.Numero, &estado) != 0)
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    char final[2] = {};
    ssize_t lidos = 0;
    if (estado.st_size > 0) {
        const off_t inicio = estado.st_size >= 2 ? estado.st_size - 2 : 0;
        lidos = ::pread(arquivo.Numero, final, static_cast<std::size_t>(estado.st_size - inicio), inicio);
        if (lidos < 0)
            FalhaAcrescentar(caminho, TextoErroSistema(errno));
    }
    const std::string dados =
        Dados(std::string_view(final, static_cast<std::size_t>(lidos)), estado.st_size, texto, inicioSeVazio);
    const ssize_t escritos = ::write(arquivo.Numero, dados.data(), dados.size());
    if (escritos < 0)
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    if (static_cast<std::size_t>(escritos) != dados.size())
        FalhaAcrescentar(caminho, TextoAnsi("Só parte do texto foi gravada (disco cheio?)."));
    if (!GravarDescritorNoDisco(arquivo.Numero, caminho))
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
}

#endif

void DefinirObservadorDisco(TObservadorDisco observador) {
    Observador() = std::move(observador);
}

bool MesmoCaminho(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code erro;
    if (std::filesystem::equivalent(a, b, erro))
        return true;
    const auto absolutoA = std::filesystem::absolute(a, erro).lexically_normal();
    const auto absolutoB = std::filesystem::absolute(b, erro).lexically_normal();
#ifdef _WIN32
    return _wcsicmp(absolutoA.c_str(), absolutoB.c_str()) == 0;
#else
    return absolutoA == absolutoB;
#endif
}
