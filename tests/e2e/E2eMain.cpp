// Entry point of the end-to-end tests: QSerialPort needs a QCoreApplication
// to exist, so it is made here once for every test of the folder.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
