#pragma once

#include <string>

// The system's own text for an error: an errno value, or on Windows a Windows error code.
std::string TextoErroSistema(int erro);
// The error of the system call that has just failed (errno; GetLastError on Windows).
int UltimoErroSistema();
