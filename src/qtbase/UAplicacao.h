#pragma once

class QApplication;

// What the program sets up once, before its first window: Qt's own texts (standard buttons, the folder
// picker, the calendar) in Brazilian Portuguese, what a screen reader is told of the controls, and fonts with the
// metrics of those the windows name where these are missing, as on Linux, which has no Arial, MS Sans Serif or Tahoma.
void PrepararAplicacao(QApplication& aplicacao);
