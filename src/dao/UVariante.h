#pragma once

#include "dao/UValorFixo.h"
#include "platform/UDataHora.h"

#include <cstdint>
#include <string>
#include <variant>

// One value of a column in its own type. std::monostate is the empty value.
using TVariante = std::variant<std::monostate, std::int64_t, double, TValorFixo, TDataHora, std::string>;

bool VarVazio(const TVariante& valor);
// The value as text: numbers in decimal, dates as "dd/mm/yyyy hh:nn:ss", the empty value as "".
std::string VarParaTexto(const TVariante& valor);
