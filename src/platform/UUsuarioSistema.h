#pragma once

#include <string>

// The name of the account the program runs under (code page 1252), as the system knows it, so that a scheduled
// task or a service with no USER in its environment is still named: GetUserNameW on Windows, the password
// database elsewhere. Only when the system cannot tell, the environment's USERNAME, or USER or LOGNAME; empty
// when nothing names it.
std::string NomeUsuarioSistema();
