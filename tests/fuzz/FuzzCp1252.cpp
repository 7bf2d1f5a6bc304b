// Code page 1252 and UTF-8 both ways, and paths kept in a settings file.
#include "Fuzz.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto = Texto(dados, tamanho);
    // Every code page 1252 text goes to UTF-8 and back unchanged.
    Exigir(Utf8ParaCp1252(Cp1252ParaUtf8(texto)) == texto);
    const std::string ansi = Utf8ParaCp1252(texto);
    Exigir(ansi.size() <= texto.size());
    // A path of well-formed UTF-8 is read back from its stored form as the same path.
    bool ascii = true;
    for (const unsigned char c : texto)
        ascii = ascii && c < 0x80;
    if (ascii || PareceUtf8(texto))
        Exigir(CaminhoUtf8(ValorParaCaminho(CaminhoParaValor(CaminhoDeUtf8(texto)))) == texto);
    CabeEmCp1252(texto);
    return 0;
}
