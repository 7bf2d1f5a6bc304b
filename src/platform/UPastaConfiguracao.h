#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where the program keeps its three files. A program whose own folder holds sistema_qor.ini is portable
// and keeps all three there. An installed one, whose folder (/usr/bin) is nobody's to write in, reads the
// connection settings from the user's settings folder or, when not there, from the system's, and keeps the
// window's values and the profiles in the user's folder, made on the first write. On Windows the user's
// folder is %APPDATA%\ExportacaoTorvane and the machine's %ProgramData%\ExportacaoTorvane.

// The program's files, by name.
inline const std::filesystem::path NomeArquivoConexao = "sistema_qor.ini";
inline const std::filesystem::path NomeArquivoValores = "ExportacaoKOTR.ini";
inline const std::filesystem::path NomeArquivoPerfis = "PerfilTorvane.txt";
inline const std::filesystem::path NomeArquivoHistorico = "HistoricoExportacao.csv";
inline const std::filesystem::path NomeArquivoPendente = "HistoricoExportacao.pendente.csv";

bool InstalacaoPortatil();
// Whether this user may make files in the program's folder, as in a copy unpacked into a folder of its own.
bool PastaProgramaGravavel();
// $XDG_CONFIG_HOME/exportacao-torvane, or ~/.config/exportacao-torvane (%APPDATA%\ExportacaoTorvane).
std::filesystem::path PastaConfiguracaoUsuario();
// The system-wide folder, from the install prefix (/etc/exportacao-torvane; %ProgramData%\ExportacaoTorvane).
std::filesystem::path PastaConfiguracaoSistema();

// The folders searched, in order, for the connection settings.
std::vector<std::filesystem::path> PastasConexao();
// Every folder searched for the connection settings, in order, as the user is told when none holds them: the
// program's own comes first, as a file there makes the copy portable.
std::vector<std::filesystem::path> PastasProcuradas();
// The connection settings file of that name: the first of PastasConexao that holds it, or the first
// of them when none does.
std::filesystem::path ArquivoConexao(const std::filesystem::path& nome);

// The folder of the files that the program reads and writes (the window's values, the profiles), and one
// of them.
std::filesystem::path PastaDados();
std::filesystem::path ArquivoDados(const std::filesystem::path& nome);
// Makes PastaDados when it is missing; fails with its path and the system's reason.
void PrepararPastaDados();
// Makes the folder, and its parents, when it is missing; fails with "Não foi possível criar a pasta <what it is
// for> "<path>". <reason>", `finalidade` naming it in code page 1252 ("de configurações").
void PrepararPasta(const std::filesystem::path& pasta, const std::string& finalidade);

// Tests point the user's and the system's folders elsewhere; empty paths go back to the real ones.
void DefinirPastasConfiguracao(const std::filesystem::path& usuario, const std::filesystem::path& sistema);
