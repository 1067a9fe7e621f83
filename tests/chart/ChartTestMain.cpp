#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

// Texts are measured with fonts, which need an application (offscreen). The fonts are pinned so
// that the layouts do not depend on the machine's.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
