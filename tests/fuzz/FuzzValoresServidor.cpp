// The server's values as text: date-time, amount, integer and posting number.
#include "Fuzz.h"

#include "dao/UValorFixo.h"
#include "export/UDados.h"
#include "platform/UDataHora.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto = Texto(dados, tamanho);
    try {
        const TDataHora data = TDataHora::DoTextoMysql(texto);
        data.TextoExibicao();
    } catch (const EFalha&) {
    }
    try {
        const TValorFixo valor = TValorFixo::DoTexto(texto);
        valor.CentavosArredondados();
        Exigir(TValorFixo::DoTexto(valor.Texto()) == valor);
    } catch (const EFalha&) {
    }
    ConverterInteiro(texto);
    try {
        const auto numero = TDadosExportacao::NumeroLancamento(texto);
        Exigir(numero >= 0 && numero <= 999999);
    } catch (const EFalha&) {
    }
    return 0;
}
