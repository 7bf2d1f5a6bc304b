#include "UFConfiguracoes.h"

TFConfiguracoes::TFConfiguracoes(QWidget* dono) : QDialog(dono) {}
