#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

// Every test binary gets a QCoreApplication so event loops, timers and processes work.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // English is the source language; its plural forms ("1 reply", "2 replies") come from its catalogue.
    QTranslator english;
    if (english.load(QStringLiteral(":/i18n/tandrel-notch_en.qm")))
        QCoreApplication::installTranslator(&english);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
