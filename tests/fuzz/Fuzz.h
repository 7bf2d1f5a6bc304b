#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

// What the fuzz targets share: the input as text, a folder of their own, and a check that stops the run.

inline std::string_view Texto(const std::uint8_t* dados, std::size_t tamanho) {
    return {reinterpret_cast<const char*>(dados), tamanho};
}

// Made once per process and left for the system's temporary folder.
inline const std::filesystem::path& PastaFuzz() {
    static const std::filesystem::path pasta = [] {
        const auto caminho =
            std::filesystem::temp_directory_path() / ("torvane-fuzz-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(caminho);
        return caminho;
    }();
    return pasta;
}

// A broken promise of the code under test is a finding, like a crash.
inline void Exigir(bool condicao) {
    if (!condicao)
        std::abort();
}
