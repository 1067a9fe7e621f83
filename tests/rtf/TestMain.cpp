#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

// The viewer and the documents need a QApplication; the offscreen platform needs no screen. Line
// counts depend on the font, so it is pinned.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
