#include "qtbase/UAplicacao.h"

#include <QApplication>

#include <gtest/gtest.h>

// The windows need one application object for the whole run; they are drawn off screen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    PrepararAplicacao(aplicacao);
    // Only the start-up test runs the event loop; a window closed elsewhere must not end it beforehand.
    aplicacao.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
