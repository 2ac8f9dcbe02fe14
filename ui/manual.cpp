#include "ui/manual.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

namespace kelvora::ui {

void showUserManual(QWidget* parent) {
    // One manual window at a time: asking again brings it forward.
    if (auto* open = parent->findChild<QWidget*>(QStringLiteral("manuel"))) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("manuel"));
    window->setWindowTitle(QStringLiteral("Manuel — Kelvora"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("texteManuel"));
    browser->setAccessibleName(QStringLiteral("Manuel de Kelvora"));
    browser->setOpenExternalLinks(true);
    QFile f(QStringLiteral(":/kelvora/manuel.md"));
    if (f.open(QIODevice::ReadOnly)) browser->setMarkdown(QString::fromUtf8(f.readAll()));
    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(browser);
    window->resize(760, 640);
    window->show();
}

}  // namespace kelvora::ui
