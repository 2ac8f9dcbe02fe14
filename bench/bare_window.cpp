// The yardstick: a bare Qt 6 window of Kelvora's base size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt"));
    window.resize(643, 496);
    window.show();
    return app.exec();
}
