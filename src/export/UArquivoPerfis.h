#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One profile: a description and the list of product groups linked to it.
struct TPerfil {
    std::string descricao_perfil;
    // Empty (no limit) or an SQL value list of group keys such as (12,15,40); no length limit.
    std::string grupos_vinculados;
};

// The profile file, PerfilTorvane.txt, code page 1252: line 0 is "Todos os Grupos", then one line a profile,
// its description padded with blanks to 60 characters followed directly by its group list; CR LF after every
// line. A profile is known by its line number, which is also its place in the main window's list.
class TArquivoPerfis {
public:
    TArquivoPerfis() = delete;

    static constexpr int TamanhoDescricao = 60;

    static std::filesystem::path Caminho();
    // The profiles of lines 1 to the last (line 0 is skipped whatever it holds): the first 60 characters and
    // the rest, as they stand. No file gives none.
    static std::vector<TPerfil> Ler();
    // Line 0, then one line a profile in order; the file is replaced whole.
    static void Gravar(const std::vector<TPerfil>& perfis);
    // The first 60 characters of every line, line 0 included, trailing blanks kept; "Todos os Grupos" alone
    // when the file is missing or empty.
    static std::vector<std::string> Descricoes();
    // The group list of line n, trimmed; empty for line 0 or less, or when there is no file. A line past the
    // last fails with "List index out of bounds (n)".
    static std::string Grupos(int linha);
    // Whether the file holds line n (n of 1 or more).
    static bool TemPerfil(int linha);
    // Whether a group list may go into SQL: empty, or "(" decimal keys separated by "," ")".
    static bool ListaGruposValida(const std::string& lista);
};
