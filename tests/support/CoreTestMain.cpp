#include "support/SanitizerDefaults.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Tests of the core layers run inside a QCoreApplication, as the application does.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
