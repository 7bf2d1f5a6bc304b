#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The whole file; fails with the path and the system's reason.
std::string LerArquivo(const std::filesystem::path& caminho);
// The file handed over piece by piece, so that a large one is never held whole; fails as LerArquivo does.
void LerEmBlocos(const std::filesystem::path& caminho, const std::function<void(std::string_view)>& receber);
// The whole file split at CR LF, a lone CR or a lone LF; a line end at the very end adds no empty line.
std::vector<std::string> LerLinhas(const std::filesystem::path& caminho);
std::vector<std::string> DividirLinhas(std::string_view texto);
