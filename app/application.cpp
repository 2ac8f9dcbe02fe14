#include "app/application.h"

#include <QApplication>

#include "ui/mainwindow.h"

namespace kelvora {

int runKelvora(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral(KELVORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVORA_APP_ID));
    ui::MainWindow window;
    window.Form_Load();
    window.show();
    return app.exec();
}

}  // namespace kelvora
