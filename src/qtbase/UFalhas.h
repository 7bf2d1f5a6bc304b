#pragma once

#include <functional>
#include <string>

class QWidget;

// The application title, from the program file's name: no folder, cut at the first ".", and every
// character after the first in lower case ("ExportacaoTorvane" gives "Exportacaotorvane").
std::string TituloAplicacao();
std::string TituloAplicacao(const std::string& arquivoPrograma);

// The text of the default failure box: a "." is appended when the text is not empty and its last
// character has a higher code than ".".
std::string TextoFalhaPadrao(const std::string& mensagem);

// Shows a failure in the default failure box: its text, the application title, the stop icon.
void MostrarFalhaPadrao(QWidget* dono, const std::string& mensagem);

// Every event handler runs through here: a failure that escapes it is shown in the default failure box
// and the program goes on. No exception ever reaches Qt's event loop.
void ExecutarTratando(QWidget* dono, const std::function<void()>& acao);
