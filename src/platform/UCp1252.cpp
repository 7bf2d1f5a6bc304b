#include "platform/UCp1252.h"

#include <cstdint>
#include <optional>

namespace {

// Code points of bytes 0x80..0x9F; the five bytes that code page 1252 leaves undefined map to the
// C1 control of the same number, as Windows does.
constexpr char32_t Faixa80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodigoDoByte(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F)
        return Faixa80[c - 0x80];
    return c;
}

void AcrescentarUtf8(std::string& saida, char32_t c) {
    if (c < 0x80) {
        saida += static_cast<char>(c);
    } else if (c < 0x800) {
        saida += static_cast<char>(0xC0 | (c >> 6));
        saida += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        saida += static_cast<char>(0xE0 | (c >> 12));
        saida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char ByteDoCodigo(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (Faixa80[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

// The character that starts at `i`, moving `i` past it; none for a byte that starts no character, for a
// character written with more bytes than it needs and for codes that are no character at all.
std::optional<char32_t> ProximoCaractere(std::string_view texto, std::size_t& i) {
    const auto c = static_cast<unsigned char>(texto[i]);
    int seguintes = 0;
    char32_t codigo = 0;
    if (c < 0x80) {
        ++i;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        codigo = c & 0x1F;
        seguintes = 1;
    } else if ((c & 0xF0) == 0xE0) {
        codigo = c & 0x0F;
        seguintes = 2;
    } else if ((c & 0xF8) == 0xF0) {
        codigo = c & 0x07;
        seguintes = 3;
    } else {
        ++i;
        return std::nullopt;
    }
    std::size_t j = i + 1;
    for (int k = 0; k < seguintes; ++k, ++j) {
        if (j >= texto.size() || (static_cast<unsigned char>(texto[j]) & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        codigo = (codigo << 6) | (static_cast<unsigned char>(texto[j]) & 0x3F);
    }
    static constexpr char32_t menor[] = {0, 0x80, 0x800, 0x10000};
    const bool caractere = codigo >= menor[seguintes] && codigo <= 0x10FFFF && (codigo < 0xD800 || codigo > 0xDFFF);
    i = j;
    return caractere ? std::optional<char32_t>(codigo) : std::nullopt;
}

} // namespace

std::string Cp1252ParaUtf8(std::string_view texto) {
    std::string saida;
    saida.reserve(texto.size() + texto.size() / 4);
    for (unsigned char c : texto)
        AcrescentarUtf8(saida, CodigoDoByte(c));
    return saida;
}

std::string Utf8ParaCp1252(std::string_view texto) {
    std::string saida;
    saida.reserve(texto.size());
    std::size_t i = 0;
    while (i < texto.size()) {
        const auto codigo = ProximoCaractere(texto, i);
        saida += codigo ? ByteDoCodigo(*codigo) : '?';
    }
    return saida;
}

bool CabeEmCp1252(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto codigo = ProximoCaractere(utf8, i);
        if (!codigo || (*codigo != '?' && ByteDoCodigo(*codigo) == '?'))
            return false;
    }
    return true;
}

bool PareceUtf8(std::string_view texto) {
    bool acimaAscii = false;
    std::size_t i = 0;
    while (i < texto.size()) {
        const auto codigo = ProximoCaractere(texto, i);
        if (!codigo)
            return false;
        acimaAscii = acimaAscii || *codigo >= 0x80;
    }
    return acimaAscii;
}
