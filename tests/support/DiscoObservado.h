#pragma once

#include "platform/UGravacaoDisco.h"

#include <filesystem>
#include <utility>
#include <vector>

// What reached the disk, in order, while the watcher was in place.
class TDiscoObservado {
public:
    TDiscoObservado() {
        DefinirObservadorDisco(
            [this](TPassoDisco passo, const std::filesystem::path& caminho) { Passos.emplace_back(passo, caminho); });
    }
    ~TDiscoObservado() { DefinirObservadorDisco({}); }
    TDiscoObservado(const TDiscoObservado&) = delete;
    TDiscoObservado& operator=(const TDiscoObservado&) = delete;

    std::vector<std::pair<TPassoDisco, std::filesystem::path>> Passos;
};
