#pragma once

class QApplication;

// The program's start: opens the shared connection, or tells why it cannot, offers to set it up and ends when
// the user gives up; otherwise shows the main window and runs the event loop until it closes. The result is
// the process's exit code, always 0.
int Iniciar(QApplication& aplicacao);
