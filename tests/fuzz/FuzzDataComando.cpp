// What the command line brings: the period's dates and the numbers.
#include "Fuzz.h"

#include "platform/UDataHora.h"
#include "platform/UTexto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto = Texto(dados, tamanho);
    // A date taken is a real day, written back as it was typed.
    if (const auto data = TDataHora::DoTextoIso(texto)) {
        Exigir(data->DataValida());
        Exigir(data->TextoDataIso() == texto);
    }
    if (const auto numero = InteiroDecimal(texto))
        Exigir(InteiroDecimal(std::to_string(*numero)) == numero);
    return 0;
}
