// The yardstick for start-up: a hand-written Qt form of Kelvora's size and
// control count (5 group boxes, 39 labels, 28 fields, 5 option buttons,
// 2 push buttons) below a menu bar of the same menus, with the same texts'
// length.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Formulaire"));
    auto* bar = new QMenuBar(&window);
    QMenu* file = bar->addMenu(QStringLiteral("&Fichier"));
    for (const char* item : {"&Nouveau", "&Ouvrir…", "&Enregistrer", "Enregistrer &sous…",
                             "E&xporter les résultats…", "&Quitter"})
        file->addAction(QString::fromUtf8(item), QKeySequence::New, [] {});
    bar->addMenu(QStringLiteral("O&utils"))->addAction(QStringLiteral("&Conception avancée…"));
    QMenu* help = bar->addMenu(QStringLiteral("&Aide"));
    help->addAction(QStringLiteral("&Manuel"));
    help->addAction(QStringLiteral("À &propos"));
    auto* form = new QWidget(&window);
    form->setFixedSize(894, 690);
    QGroupBox* boxes[5];
    for (int i = 0; i < 5; ++i) {
        boxes[i] = new QGroupBox(QStringLiteral("Groupe %1").arg(i), form);
        boxes[i]->setGeometry(10 + (i % 2) * 450, 10 + (i / 2) * 220, 430, 210);
    }
    for (int i = 0; i < 39; ++i)
        (new QLabel(QStringLiteral("Étiquette %1 :").arg(i), boxes[i % 5]))
            ->setGeometry(10, 20 + (i / 5) * 24, 150, 20);
    for (int i = 0; i < 28; ++i) {
        auto* edit = new QLineEdit(i < 17 ? QStringLiteral("1200") : QString(), boxes[i % 5]);
        edit->setGeometry(170, 20 + (i / 5) * 24, 60, 22);
        if (i >= 17) {
            QPalette p = edit->palette();
            p.setColor(QPalette::Base, QColor(255, 255, 192));
            edit->setPalette(p);
        }
    }
    for (int i = 0; i < 5; ++i)
        (new QRadioButton(QStringLiteral("Option %1").arg(i), boxes[1 + i / 3]))
            ->setGeometry(250, 20 + (i % 3) * 24, 150, 20);
    (new QPushButton(QStringLiteral("Calcul"), form))->setGeometry(600, 640, 150, 30);
    (new QPushButton(QStringLiteral("Annuler"), form))->setGeometry(760, 640, 120, 30);
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setMenuBar(bar);
    column->addWidget(form);
    window.show();
    return app.exec();
}
