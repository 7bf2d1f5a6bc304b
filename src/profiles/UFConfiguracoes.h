#pragma once

#include <QDialog>

// The profile configuration window: the user keeps the list of profiles and links product groups to them.
// Opened modally by the main window; it rewrites the profile file whole when it closes.
class TFConfiguracoes : public QDialog {
    Q_OBJECT
public:
    explicit TFConfiguracoes(QWidget* dono);
};
