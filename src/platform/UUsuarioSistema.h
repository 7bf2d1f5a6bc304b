#pragma once

#include <string>

// The name the user logged on to the system with (code page 1252), as the environment gives it: USERNAME on
// Windows, USER or else LOGNAME elsewhere; empty when it gives none.
std::string NomeUsuarioSistema();
