#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A calendar date and time of day, as the database and the windows exchange it.
// The zero date-time is 30 December 1899, 00:00:00.
struct TDataHora {
    int Ano = 1899;
    int Mes = 12;
    int Dia = 30;
    int Hora = 0;
    int Minuto = 0;
    int Segundo = 0;

    static TDataHora Zero() { return {}; }
    static TDataHora Data(int ano, int mes, int dia) { return {ano, mes, dia, 0, 0, 0}; }
    // Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS[.ffffff]" or "HH:MM:SS"; a zero date gives Zero().
    // Fails with EFalha on anything else.
    static TDataHora DoTextoMysql(std::string_view texto);

    // "AAAA-MM-DD" naming a real calendar day, as a user types it on the command line; anything else gives
    // no date.
    static std::optional<TDataHora> DoTextoIso(std::string_view texto);

    bool DataValida() const;
    // "2024-03-05", as every MySQL and MariaDB server reads it.
    std::string TextoDataIso() const;
    // "05/03/2024".
    std::string TextoDataExibicao() const;
    // "05/03/2024 14:22:00".
    std::string TextoExibicao() const;

    friend bool operator==(const TDataHora&, const TDataHora&) = default;
};

// 0 for a month outside 1..12.
int DiasNoMes(int ano, int mes);

// The previous calendar month of a date: first and last day.
struct TPeriodo {
    TDataHora Inicio;
    TDataHora Fim;
};
TPeriodo MesAnterior(const TDataHora& hoje);

// Local date and time now. Tests set the clock.
TDataHora Agora();
void DefinirRelogio(std::function<TDataHora()> relogio);
