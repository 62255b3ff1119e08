#include <QApplication>
#include <gtest/gtest.h>

// Every Qt test program runs offscreen, also when started by hand outside ctest.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the cases (ctest's discovery at build time) needs no toolkit.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
