#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(Application, ReportsItsNameAndVersionToQt) {
    EXPECT_EQ(QCoreApplication::applicationName(), "tolvane");
    EXPECT_EQ(QCoreApplication::applicationVersion(), "1.00");
}
