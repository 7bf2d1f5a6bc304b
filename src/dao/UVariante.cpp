#include "dao/UVariante.h"

#include <locale>
#include <sstream>

bool VarVazio(const TVariante& valor) {
    return std::holds_alternative<std::monostate>(valor);
}

std::string VarParaTexto(const TVariante& valor) {
    struct TVisitante {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            std::ostringstream texto;
            texto.imbue(std::locale::classic());
            texto.precision(15);
            texto << v;
            return texto.str();
        }
        std::string operator()(const TValorFixo& v) const {
            // Without the zeros that the four places leave on the right.
            std::string texto = v.Texto();
            while (texto.back() == '0')
                texto.pop_back();
            if (texto.back() == '.')
                texto.pop_back();
            return texto;
        }
        std::string operator()(const TDataHora& v) const { return v.TextoExibicao(); }
        std::string operator()(const std::string& v) const { return v; }
    };
    return std::visit(TVisitante{}, valor);
}
