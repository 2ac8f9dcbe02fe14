// One start, "Calcul", "Annuler" cycle of the real window, for memcheck.
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "ui/mainwindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kelvora::ui::MainWindow window;
    window.Form_Load();
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        window.findChild<QPushButton*>(QStringLiteral("cmdCalcul"))->click();
        window.findChild<QPushButton*>(QStringLiteral("cmdAnnuler"))->click();
    });
    return app.exec();
}
