#include "platform/UDataHora.h"

#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <cstdio>
#include <ctime>

namespace {

std::function<TDataHora()>& Relogio() {
    static std::function<TDataHora()> relogio;
    return relogio;
}

TDataHora AgoraDoSistema() {
    const std::time_t agora = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &agora);
#else
    localtime_r(&agora, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

bool LerNumero(std::string_view texto, std::size_t inicio, std::size_t tamanho, int& valor) {
    if (inicio + tamanho > texto.size())
        return false;
    valor = 0;
    for (std::size_t i = inicio; i < inicio + tamanho; ++i) {
        if (texto[i] < '0' || texto[i] > '9')
            return false;
        valor = valor * 10 + (texto[i] - '0');
    }
    return true;
}

[[noreturn]] void DataInvalida(std::string_view texto) {
    throw EFalha("'" + std::string(texto) + "' is not a valid date and time");
}

} // namespace

int DiasNoMes(int ano, int mes) {
    static constexpr int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mes < 1 || mes > 12)
        return 0;
    if (mes == 2 && ((ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0))
        return 29;
    return dias[mes - 1];
}

TDataHora TDataHora::DoTextoMysql(std::string_view texto) {
    TDataHora valor;
    std::size_t pos = 0;
    if (texto.size() >= 10 && texto[4] == '-') {
        if (!LerNumero(texto, 0, 4, valor.Ano) || texto[7] != '-' || !LerNumero(texto, 5, 2, valor.Mes) ||
            !LerNumero(texto, 8, 2, valor.Dia))
            DataInvalida(texto);
        pos = 10;
        if (pos < texto.size()) {
            if (texto[pos] != ' ' && texto[pos] != 'T')
                DataInvalida(texto);
            ++pos;
            if (pos == texto.size())
                DataInvalida(texto);
        }
    } else {
        // A time of day alone belongs to the zero date.
        if (texto.empty())
            DataInvalida(texto);
        valor = Zero();
    }
    if (pos < texto.size()) {
        if (!LerNumero(texto, pos, 2, valor.Hora) || texto.size() < pos + 8 || texto[pos + 2] != ':' ||
            !LerNumero(texto, pos + 3, 2, valor.Minuto) || texto[pos + 5] != ':' ||
            !LerNumero(texto, pos + 6, 2, valor.Segundo))
            DataInvalida(texto);
        pos += 8;
        if (pos < texto.size() && texto[pos] == '.')
            pos = texto.size();
        if (pos != texto.size())
            DataInvalida(texto);
    }
    // MySQL's zero date has no place in the calendar: it reads as the zero date-time.
    if (valor.Ano == 0 && valor.Mes == 0 && valor.Dia == 0)
        return {Zero().Ano, Zero().Mes, Zero().Dia, valor.Hora, valor.Minuto, valor.Segundo};
    if (!valor.DataValida())
        DataInvalida(texto);
    return valor;
}

bool TDataHora::DataValida() const {
    return Ano >= 1 && Ano <= 9999 && Mes >= 1 && Mes <= 12 && Dia >= 1 && Dia <= DiasNoMes(Ano, Mes) && Hora >= 0 &&
           Hora < 24 && Minuto >= 0 && Minuto < 60 && Segundo >= 0 && Segundo < 60;
}

std::string TDataHora::TextoDataIso() const {
    return FormatarZeros(Ano, 4) + "-" + FormatarZeros(Mes, 2) + "-" + FormatarZeros(Dia, 2);
}

std::string TDataHora::TextoDataExibicao() const {
    return FormatarZeros(Dia, 2) + "/" + FormatarZeros(Mes, 2) + "/" + FormatarZeros(Ano, 4);
}

std::string TDataHora::TextoExibicao() const {
    return TextoDataExibicao() + " " + FormatarZeros(Hora, 2) + ":" + FormatarZeros(Minuto, 2) + ":" +
           FormatarZeros(Segundo, 2);
}

TPeriodo MesAnterior(const TDataHora& hoje) {
    int ano = hoje.Ano;
    int mes = hoje.Mes - 1;
    if (mes < 1) {
        mes = 12;
        --ano;
    }
    return {TDataHora::Data(ano, mes, 1), TDataHora::Data(ano, mes, DiasNoMes(ano, mes))};
}

TDataHora Agora() {
    return Relogio() ? Relogio()() : AgoraDoSistema();
}

void DefinirRelogio(std::function<TDataHora()> relogio) {
    Relogio() = std::move(relogio);
}

std::optional<TDataHora> TDataHora::DoTextoIso(std::string_view texto) {
    if (texto.size() != 10 || texto[4] != '-' || texto[7] != '-')
        return std::nullopt;
    const auto numero = [&texto](std::size_t inicio, std::size_t tamanho) {
        int valor = 0;
        for (std::size_t i = inicio; i < inicio + tamanho; ++i) {
            if (texto[i] < '0' || texto[i] > '9')
                return -1;
            valor = valor * 10 + (texto[i] - '0');
        }
        return valor;
    };
    const TDataHora data = TDataHora::Data(numero(0, 4), numero(5, 2), numero(8, 2));
    if (!data.DataValida())
        return std::nullopt;
    return data;
}
