#include "platform/UProcesso.h"

#include "platform/UCaminhos.h"

#include <cstdlib>

#ifdef _WIN32
#include <cwchar>
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

#ifdef _WIN32
std::wstring Largo(const std::string& utf8) {
    return CaminhoDeUtf8(utf8).wstring();
}

// Quoted so that the program's CommandLineToArgvW gives back the very text: backslashes count only before a
// quote.
std::wstring Citar(const std::wstring& argumento) {
    if (!argumento.empty() && argumento.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argumento;
    std::wstring texto = L"\"";
    std::size_t barras = 0;
    for (const wchar_t c : argumento) {
        if (c == L'\\') {
            ++barras;
            continue;
        }
        texto.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
        barras = 0;
        texto += c;
    }
    texto.append(barras * 2, L'\\');
    return texto + L"\"";
}

bool MesmoNome(const std::wstring& entrada, const std::wstring& nome) {
    return entrada.size() > nome.size() && entrada[nome.size()] == L'=' &&
           CompareStringOrdinal(entrada.c_str(), static_cast<int>(nome.size()), nome.c_str(),
                                static_cast<int>(nome.size()), TRUE) == CSTR_EQUAL;
}

// This program's environment with the variables given set, as a block of "NAME=value" ending in two zeros.
std::wstring BlocoAmbiente(const std::vector<std::pair<std::string, std::string>>& ambiente) {
    std::vector<std::wstring> entradas;
    wchar_t* atual = GetEnvironmentStringsW();
    for (const wchar_t* p = atual; p && *p; p += std::wcslen(p) + 1)
        entradas.emplace_back(p);
    FreeEnvironmentStringsW(atual);
    for (const auto& definida : ambiente) {
        const std::wstring largo = Largo(definida.first);
        std::erase_if(entradas, [&largo](const std::wstring& e) { return MesmoNome(e, largo); });
        entradas.push_back(largo + L"=" + Largo(definida.second));
    }
    std::wstring bloco;
    for (const auto& entrada : entradas)
        bloco += entrada + L'\0';
    return bloco + L'\0';
}

HANDLE AbrirHerdavel(const std::filesystem::path& caminho, bool escrita) {
    SECURITY_ATTRIBUTES herdavel{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(caminho.c_str(), escrita ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &herdavel, escrita ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
#else
std::vector<std::string> Ambiente(const std::vector<std::pair<std::string, std::string>>& definidas) {
    std::vector<std::string> entradas;
    for (char** p = environ; *p; ++p)
        entradas.emplace_back(*p);
    for (const auto& definida : definidas) {
        const std::string inicio = definida.first + "=";
        std::erase_if(entradas, [&inicio](const std::string& e) { return e.rfind(inicio, 0) == 0; });
        entradas.push_back(inicio + definida.second);
    }
    return entradas;
}

std::vector<char*> Ponteiros(std::vector<std::string>& textos) {
    std::vector<char*> ponteiros;
    for (auto& texto : textos)
        ponteiros.push_back(texto.data());
    ponteiros.push_back(nullptr);
    return ponteiros;
}
#endif

} // namespace

int RodarPrograma(const TExecucaoPrograma& execucao) {
#ifdef _WIN32
    std::wstring linha = Citar(execucao.Programa.wstring());
    for (const auto& argumento : execucao.Argumentos)
        linha += L" " + Citar(Largo(argumento));
    std::wstring ambiente = BlocoAmbiente(execucao.Ambiente);
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    inicio.dwFlags = STARTF_USESTDHANDLES;
    inicio.hStdInput =
        AbrirHerdavel(execucao.Entrada.empty() ? std::filesystem::path(L"NUL") : execucao.Entrada, false);
    inicio.hStdOutput = AbrirHerdavel(execucao.Saida, true);
    inicio.hStdError = AbrirHerdavel(execucao.Erro, true);
    PROCESS_INFORMATION processo{};
    const bool iniciou = CreateProcessW(execucao.Programa.c_str(), linha.data(), nullptr, nullptr, TRUE,
                                        CREATE_UNICODE_ENVIRONMENT, ambiente.data(), nullptr, &inicio, &processo) != 0;
    for (HANDLE handle : {inicio.hStdInput, inicio.hStdOutput, inicio.hStdError})
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    if (!iniciou)
        return -1;
    WaitForSingleObject(processo.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(processo.hProcess, &status);
    CloseHandle(processo.hThread);
    CloseHandle(processo.hProcess);
    return static_cast<int>(status);
#else
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, 0, execucao.Entrada.empty() ? "/dev/null" : execucao.Entrada.c_str(),
                                     O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&acoes, 1, execucao.Saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&acoes, 2, execucao.Erro.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argumentos{execucao.Programa.string()};
    argumentos.insert(argumentos.end(), execucao.Argumentos.begin(), execucao.Argumentos.end());
    std::vector<std::string> ambiente = Ambiente(execucao.Ambiente);
    auto argv = Ponteiros(argumentos);
    auto envp = Ponteiros(ambiente);
    pid_t filho = 0;
    const int falha = posix_spawn(&filho, execucao.Programa.c_str(), &acoes, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&acoes);
    if (falha != 0)
        return -1;
    int status = 0;
    if (::waitpid(filho, &status, 0) != filho)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

void InterromperComoTeclado() {
#ifdef _WIN32
    // A console of its own, so that the event reaches this program alone, whatever console it was started from,
    // and Ctrl-C taken as a console started from the desktop takes it.
    FreeConsole();
    AllocConsole();
    SetConsoleCtrlHandler(nullptr, FALSE);
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    // The console's handler runs in a thread of its own and ends the program.
    Sleep(10000);
#else
    std::raise(SIGINT);
#endif
}

std::optional<std::string> LerAmbiente(const std::string& nome) {
#ifdef _WIN32
    const wchar_t* valor = _wgetenv(Largo(nome).c_str());
    if (!valor)
        return std::nullopt;
    return CaminhoUtf8(std::filesystem::path(valor));
#else
    const char* valor = std::getenv(nome.c_str());
    return valor ? std::optional<std::string>(valor) : std::nullopt;
#endif
}

void DefinirAmbiente(const std::string& nome, const std::string& valor) {
#ifdef _WIN32
    _wputenv_s(Largo(nome).c_str(), Largo(valor).c_str());
#else
    if (valor.empty())
        ::unsetenv(nome.c_str());
    else
        ::setenv(nome.c_str(), valor.c_str(), 1);
#endif
}
