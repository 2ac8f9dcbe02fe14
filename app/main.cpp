#include <QApplication>

#include "ui/mainwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    kelvora::ui::MainWindow window;
    window.Form_Load();
    window.show();
    return app.exec();
}
