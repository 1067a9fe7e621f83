#include "Application.h"

#include "Boxes.h"
#include "ToolkitError.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ToolkitError& e) {
        Boxes::error(e.message());
    } catch (const std::bad_alloc&) {
        Boxes::error(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        Boxes::error(QString::fromLocal8Bit(e.what()));
    }
    return true;
}
