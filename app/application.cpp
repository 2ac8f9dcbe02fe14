#include "app/application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "ui/mainwindow.h"
#include "ui/translations.h"
#include "ui/workbench.h"

namespace kelvora {

namespace {

const char* const kHelp =
    "usage : kelvora [FICHIER.kelvora]\n\n"
    "Calcul des paramètres d'un spectrographe à réseau, dans une fenêtre (session\n"
    "graphique requise). FICHIER.kelvora : une conception à ouvrir.\n\n"
    "  -h, --help     affiche cette aide\n"
    "  --version      affiche la version\n\n"
    "Voir aussi kelvora-calc(1) pour le calcul en ligne de commande.\n";

// Answers --help and --version before any window system is needed.
// Returns an exit status, or -1 to go on.
int answerWithoutWindow(int argc, char** argv, QStringList& files) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser p;
    p.addOption({QStringList{"h", "help"}, {}});
    p.addOption({"version", {}});
    if (!p.parse(args)) {
        std::fprintf(stderr, "kelvora : option inconnue ; voir kelvora --help\n");
        return 2;
    }
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (p.isSet(QStringLiteral("version"))) {
        std::puts("Kelvora " KELVORA_VERSION);
        return 0;
    }
    files = p.positionalArguments();
    return -1;
}

// The X and Wayland platforms abort without a display; say it instead.
bool displayAvailable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

}  // namespace

int runKelvora(int argc, char** argv) {
    QStringList files;
    if (const int status = answerWithoutWindow(argc, argv, files); status >= 0) return status;
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "kelvora : pas d'affichage (ni DISPLAY ni WAYLAND_DISPLAY) : "
                     "la fenêtre demande une session graphique\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral(KELVORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVORA_APP_ID));
    ui::installQtTranslations(QLocale::system());
    ui::MainWindow window;
    window.Form_Load();
    window.show();
    if (!files.isEmpty()) {
        const QString file = files.first();
        QTimer::singleShot(0, &window, [&window, file] { window.workbench().openFile(file); });
    }
    return app.exec();
}

}  // namespace kelvora
