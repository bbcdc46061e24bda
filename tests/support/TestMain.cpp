#include <QCoreApplication>

#include <gtest/gtest.h>

// Every test binary gets a QCoreApplication so event loops, timers and processes work.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
