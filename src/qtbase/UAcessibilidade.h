#pragma once

// What a screen reader is told about the program's controls beyond Qt's own: a drop-down list is named by
// its label, on every platform, and what it shows is its value. (Qt names one by its current item on Linux,
// so two lists of a window could share a name, and the label would be heard only through a relation.)
void PrepararAcessibilidade();
