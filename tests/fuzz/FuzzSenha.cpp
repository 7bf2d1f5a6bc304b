// The stored password's unscrambling, over any stored text.
#include "Fuzz.h"

#include "dao/UDao.h"
#include "platform/UErro.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string texto(Texto(dados, tamanho));
    try {
        DescriptografarSenha(texto, "KAV");
    } catch (const EFalha&) {
    }
    // Any password scrambled unscrambles to itself. An empty one is stored as an empty value, and the
    // stored form, shared with the business system, counts modulo 255: it has no place for bytes 0 and 255.
    if (!texto.empty() && texto.find_first_of(std::string("\0\xFF", 2)) == std::string::npos)
        Exigir(Criptografia("D", Criptografia("E", texto, "KAV"), "KAV") == texto);
    return 0;
}
