#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

// What the writers send to the disk, told to a watcher that tests put in place: the flush of a file's data, the
// rename that puts a finished file in place, and the flush of a folder after it.
enum class TPassoDisco { GravarArquivo, Substituir, GravarPasta };
using TObservadorDisco = std::function<void(TPassoDisco passo, const std::filesystem::path& caminho)>;
// An empty watcher takes it away.
void DefinirObservadorDisco(TObservadorDisco observador);
// For a writer whose step reached the disk by a call of its own (the append on Windows flushes a handle).
void NotificarPassoDisco(TPassoDisco passo, const std::filesystem::path& caminho);

// The file's data and size reach the disk before the call returns.
bool GravarDescritorNoDisco(int descritor, const std::filesystem::path& caminho);
// The stream's own buffer goes first.
bool GravarNoDisco(std::FILE* arquivo, const std::filesystem::path& caminho);
// The temporary file takes the target's name, replacing it in one step once it is on disk.
bool SubstituirArquivo(const std::filesystem::path& temporario, const std::filesystem::path& alvo);
// After a rename in the folder. Its failure is no failure of the writer: the file is already in place.
void GravarPastaNoDisco(const std::filesystem::path& pasta);
