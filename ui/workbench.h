#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

#include "io/designfile.h"
#include "model/design/lines.h"
#include "ui/designwindow.h"
#include "ui/proposerwindow.h"

class QMenuBar;
class QMimeData;
class QWidget;

namespace kelvora::ui {

class MainWindow;

// What the menu bar adds to the form: design files, the results' export,
// the design window and help. The form itself stays as it is.
class Workbench {
  public:
    explicit Workbench(MainWindow& window);
    ~Workbench();

    QMenuBar* menuBar() const { return bar_; }

    bool openFile(const QString& path);  // false: a message said why
    bool save();
    bool saveAs();
    void newDesign();
    void exportResults();
    // The form's inputs and results as one CSV row; false if it cannot be written.
    bool exportResultsTo(const QString& path);
    void openDesignWindow();

    // True when the program may end: nothing unsaved (edits of the design,
    // or of the form of a held file), or the user answered the question.
    bool mayClose();
    void markModified();  // the form was edited
    bool modified() const { return formModified_ || designModified_; }
    // The design window's values changed: the design is now the user's own.
    void designEdited(const design::DesignInput& in);
    // « Reprendre les valeurs de la fenêtre »: the form's values into the design.
    void takeWindowValues();
    // The design as the design window shows it (the held one, or the form's).
    design::DesignInput currentDesign();
    // A proposed design into the design window, as an edit that can be undone.
    void loadCandidate(const design::DesignInput& in);
    void openProposer();
    ProposerWindow* proposer() const { return proposer_; }
    // Writes one design's keys and results (CSV, or JSON for .json); false if it cannot.
    bool exportDesign(const design::DesignInput& in, const QString& path);
    const QString& path() const { return path_; }
    io::DesignFile& design() { return design_; }
    // Built-ins and the user's own sensors, read when first needed.
    const DetectorCatalogue& catalogue();
    // Built-in reference lines and the user's own, read when first needed.
    const std::vector<design::Line>& lines();
    DesignWindow* designWindow() const { return designWindow_; }

    // A single .kelvora file among dropped data.
    static std::optional<QString> droppedFile(const QMimeData* data);

  private:
    void createMenus();
    bool writeTo(const QString& path);
    void holdFile(const QString& path);
    void refreshTitles();
    bool writeBytes(const QString& path, const std::string& bytes);
    design::DesignInput designToShow();
    void showManual();
    void showAbout();

    MainWindow& window_;
    QMenuBar* bar_;
    QString path_;  // the file opened or saved; empty: none
    bool formModified_ = false;
    bool designModified_ = false;
    io::DesignFile design_;
    std::optional<DetectorCatalogue> catalogue_;
    std::optional<std::vector<design::Line>> lines_;
    QPointer<DesignWindow> designWindow_;
    QPointer<ProposerWindow> proposer_;
};

}  // namespace kelvora::ui
