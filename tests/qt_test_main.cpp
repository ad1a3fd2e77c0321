// The entry of the test programs that need a Qt application: offscreen, so
// that windows and dialogs are made and painted without a display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Offscreen, perhaps with a screen of a given size ("offscreen:configfile=...").
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
