#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Paths are the file system's own and keep every character it allows. Their text for the windows and the
// terminal is UTF-8; in a message of the program (code page 1252) a character it cannot hold shows as "?".
std::filesystem::path CaminhoDeUtf8(std::string_view utf8);
std::string CaminhoUtf8(const std::filesystem::path& caminho);
std::string CaminhoMensagem(const std::filesystem::path& caminho);
// A path as the value of a code page 1252 settings file, and back: code page 1252 where it holds the path
// and cannot be taken for UTF-8, UTF-8 otherwise, so that a stored path reads back as the same path.
std::string CaminhoParaValor(const std::filesystem::path& caminho);
std::filesystem::path ValorParaCaminho(std::string_view valor);

bool ArquivoExiste(const std::filesystem::path& caminho);
bool DiretorioExiste(const std::filesystem::path& caminho);
// Creates one folder level; its parent must exist.
bool CriarDiretorio(const std::filesystem::path& caminho);

// The whole file; fails with the path and the system's reason.
std::string LerArquivo(const std::filesystem::path& caminho);
// The file handed over piece by piece, so that a large one is never held whole; fails as LerArquivo does.
void LerEmBlocos(const std::filesystem::path& caminho, const std::function<void(std::string_view)>& receber);
// The whole file split at CR LF, a lone CR or a lone LF; a line end at the very end adds no empty line.
std::vector<std::string> LerLinhas(const std::filesystem::path& caminho);
std::vector<std::string> DividirLinhas(std::string_view texto);
// Replaces the file whole with the lines, each followed by CR LF.
void GravarLinhas(const std::filesystem::path& caminho, const std::vector<std::string>& linhas);

// The system's own text for an error: an errno value, or on Windows a Windows error code.
std::string TextoErroSistema(int erro);
// The error of the system call that has just failed (errno; GetLastError on Windows).
int UltimoErroSistema();

// Adds the text at the end of the file, made when missing, so that programs adding to the same file at once,
// on this machine or on others through a network share, never mix their texts: each waits, up to
// `esperaTrava`, for the file's lock, starts a new line when the file does not end in CR LF (a row cut short
// by a full disk or a hand edit stays on a line of its own), writes with one call and flushes the file to disk
// before letting go. `inicioSeVazio` goes first, in the same write, when the file is empty. Only a regular
// file is written to. Fails with "Não foi possível gravar no arquivo "<path>". <reason>".
void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto,
                        std::string_view inicioSeVazio = {},
                        std::chrono::milliseconds esperaTrava = std::chrono::seconds(10));

// What the writers send to the disk, told to a watcher that tests put in place: the flush of a file's data, the
// rename that puts a finished file in place, and the flush of a folder after it.
enum class TPassoDisco { GravarArquivo, Substituir, GravarPasta };
using TObservadorDisco = std::function<void(TPassoDisco passo, const std::filesystem::path& caminho)>;
// An empty watcher takes it away.
void DefinirObservadorDisco(TObservadorDisco observador);

// Whether two paths name the same file: the very file on disk or, when there is none, the same absolute path.
bool MesmoCaminho(const std::filesystem::path& a, const std::filesystem::path& b);

// Writes a file so that a failure part way never leaves a half-written file behind: the text goes to a
// temporary file in the same folder, which replaces the target only in Confirmar, after reaching the disk.
// Until then an existing file of that name stays as it was, and the new one takes its mode and owner; a new
// file gets the usual mode for the user's umask. The temporary file is its owner's alone. Only a regular
// file is replaced: a folder, link, pipe, device or socket at that name, or a target that cannot be written, fails
// at once with "Cannot create file \"<path>\". <reason>"; a failing write with "Stream write error".
class TArquivoSeguro {
public:
    explicit TArquivoSeguro(std::filesystem::path caminho);
    ~TArquivoSeguro();
    TArquivoSeguro(const TArquivoSeguro&) = delete;
    TArquivoSeguro& operator=(const TArquivoSeguro&) = delete;

    void Escrever(std::string_view texto);
    void Confirmar();
    const std::filesystem::path& Caminho() const { return FCaminho; }

private:
    void Descartar();

    // Who owns the file replaced, and its mode, given to the new one; on Windows, its attributes in Modo.
    struct TAtributos {
        bool Existia = false;
        unsigned Modo = 0;
        long long Dono = -1;
        long long Grupo = -1;
    };
    void LerAtributos();
    void AplicarAtributos();

    std::filesystem::path FCaminho;
    std::filesystem::path FTemporario;
    std::FILE* FArquivo = nullptr;
    TAtributos FAtributos;
};
