#pragma once

#include "export/UHistoricoExportacao.h"

#include <filesystem>
#include <string>
#include <string_view>

// The copies of the files as sent, kept in a folder beside the record (so an office that shares the record shares
// them), each named by the SHA-256 of its bytes: the row of an export finds its copy by the digest it holds. A copy
// is written whole under a temporary name and put in place once on disk, so a copy is whole or absent, and only
// then does the row that names it go into the record.
class TCopiasExportacao {
public:
    TCopiasExportacao() = delete;

    static std::filesystem::path Pasta();
    // Whether the connection settings let copies be kept.
    static bool Ligadas();
    // The name of the copy of a file with that digest.
    static std::string Nome(const std::string& sha256);

    // Keeps a copy of the file just written, whose bytes must have the digest; gives the copy's name. A copy of
    // the same bytes already kept is kept as it is. Fails with the path and the system's reason, or when the
    // file no longer holds those bytes.
    static std::string Guardar(const std::filesystem::path& arquivo, const std::string& sha256);
    // The same, from the bytes themselves.
    static std::string GuardarTexto(std::string_view texto, const std::string& sha256);

    // The bytes of the file as sent: its copy, or, for a row that has none, the file at its recorded path while it
    // still holds the bytes the row's digest names. Fails saying why the file sent can no longer be read.
    static std::string LerEnviado(const TRegistroExportacao& registro);
};
