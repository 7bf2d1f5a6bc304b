#pragma once

#include <string>
#include <string_view>

// Text inside the program is code page 1252; these convert at the edges (windows, terminal, file names).
std::string Cp1252ParaUtf8(std::string_view texto);
// Characters that code page 1252 cannot hold become "?".
std::string Utf8ParaCp1252(std::string_view texto);

// A text written in this program's source (UTF-8) as the code page 1252 text the system works in.
inline std::string TextoAnsi(std::string_view utf8) {
    return Utf8ParaCp1252(utf8);
}

// Whether every character of the UTF-8 text has a place in code page 1252.
bool CabeEmCp1252(std::string_view utf8);
// Whether the bytes are well-formed UTF-8 holding at least one character beyond ASCII.
bool PareceUtf8(std::string_view texto);
