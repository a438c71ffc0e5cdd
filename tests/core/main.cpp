#include <QCoreApplication>
#include <gtest/gtest.h>

// The waiting helper and the HTTP facility behave differently on the thread
// that owns the application object, so the tests run with one.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
