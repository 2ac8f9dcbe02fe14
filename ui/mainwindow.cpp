#include "ui/mainwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ui/diagnostics.h"
#include "ui/kelvora.xpm"
#include "ui/regional.h"
#include "ui/scaling.h"
#include "ui/workbench.h"

namespace kelvora::ui {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QColor backgroundColour(Background b) {
    return b == Background::BrightYellow ? QColor(255, 255, 0) : QColor(255, 255, 192);
}

bool isResult(const char* name) {
    const auto c = controlByName(name);
    return c && !isInput(*c);
}

// A detector button shows its catalogue row's name.
QString optionCaption(const ControlSpec& entry, const QString& caption) {
    for (std::size_t i = 0; i < kDetectorButtons.size(); ++i)
        if (std::string_view(entry.name) == kDetectorButtons[i])
            return qs(builtInDetectors()[i].caption);
    return caption;
}

// The label's caption as a screen reader should say it: without " :".
QString spokenCaption(const QString& caption) {
    QString s = caption;
    if (s.endsWith(QStringLiteral(" :"))) s.chop(2);
    return s;
}

}  // namespace

MainWindow::MainWindow()
    : form_(new QWidget(this)), workbench_(std::make_unique<Workbench>(*this)) {
    setObjectName(QStringLiteral("Kelvora"));
    form_->setObjectName(QStringLiteral("form"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setWindowIcon(QIcon(QPixmap(kelvora_xpm)));
    setAccessibleDescription(QStringLiteral("Calcul des paramètres d'un spectrographe"));
    setAcceptDrops(true);
    createControls();
    placeControls();
    setTabOrder();
    connectHandlers();
    for (std::size_t i = 0; i < kInputCount; ++i) attachReadingNotes(field(inputAt(i)));
    watchEdits();
    field(Control::txtDiametre)->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    QLabel* leftLabel = nullptr;
    for (const ControlSpec& entry : windowLayout()) {
        QWidget* parent = *entry.parent ? findChild<QWidget*>(entry.parent) : form_;
        QWidget* control = createControl(entry, parent);
        if (const auto c = controlByName(entry.name)) runControls_[indexOf(*c)] = control;
        describeForScreenReaders(entry, control, leftLabel);
        leftLabel = entry.kind == Kind::Label ? static_cast<QLabel*>(control) : nullptr;
    }
}

QWidget* MainWindow::createControl(const ControlSpec& entry, QWidget* parent) {
    const QString caption = QString::fromUtf8(entry.caption);
    QWidget* w = nullptr;
    switch (entry.kind) {
        case Kind::GroupBox:
            w = new QGroupBox(caption, parent);
            break;
        case Kind::Label: {
            auto* label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            w = label;
            break;
        }
        case Kind::TextField: {
            auto* edit = new QLineEdit(parent);
            if (entry.background != Background::Default) {
                QPalette pal = edit->palette();
                pal.setColor(QPalette::Base, backgroundColour(entry.background));
                edit->setPalette(pal);
            }
            w = edit;
            break;
        }
        case Kind::Option:
            w = new QRadioButton(optionCaption(entry, caption), parent);
            break;
        case Kind::Button: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            w = button;
            break;
        }
    }
    w->setObjectName(QString::fromUtf8(entry.name));
    return w;
}

void MainWindow::describeForScreenReaders(const ControlSpec& entry, QWidget* control,
                                          QLabel* leftLabel) {
    if (entry.kind != Kind::TextField) return;
    if (leftLabel) {
        leftLabel->setBuddy(control);
        control->setAccessibleName(spokenCaption(leftLabel->text()));
    }
    if (isResult(entry.name)) control->setAccessibleDescription(QStringLiteral("Résultat calculé"));
}

void MainWindow::connectHandlers() {
    connect(findChild<QPushButton*>(QStringLiteral("cmdCalcul")), &QPushButton::clicked, this,
            [this] { cmdCalcul_Click(); });
    connect(findChild<QPushButton*>(QStringLiteral("cmdAnnuler")), &QPushButton::clicked, this,
            [this] { cmdAnnuler_Click(); });
    // A selection by mouse, keyboard or code all toggle the button on.
    connect(option("optBarlow"), &QRadioButton::toggled, this, [this](bool on) {
        if (on) optBarlow_Click();
    });
    connect(option("optFente"), &QRadioButton::toggled, this, [this](bool on) {
        if (on) optFente_Click();
    });
}

// The text a control must show whole: its caption, or for a text field the
// text the default instrument gives it.
QString MainWindow::textToFit(const ControlSpec& entry, const RunOutput& defaults) const {
    if (entry.kind == Kind::Option) return optionCaption(entry, QString::fromUtf8(entry.caption));
    if (entry.kind != Kind::TextField) return QString::fromUtf8(entry.caption);
    const Control c = *controlByName(entry.name);
    if (isInput(c)) return qs(defaultText(c));
    for (const ShownText& s : defaults.shown)
        if (s.control == c) return qs(s.text);
    return {};
}

void MainWindow::placeControls() {
    RunInput in;
    in.decimalSeparator = regionalDecimalSeparator();
    const RunOutput defaults = runCalculation(in);
    double f = 1.0 / kBaseTwipsPerPixel;
    for (const ControlSpec& entry : windowLayout()) {
        const QWidget* w = findChild<QWidget*>(entry.name);
        const QSize needed = requiredSize(*w, entry.kind, textToFit(entry, defaults));
        f = fittingFactor(f, needed, entry.width, entry.height);
    }
    scale_ = f;
    for (const ControlSpec& entry : windowLayout())
        findChild<QWidget*>(entry.name)->setGeometry(toPixels(entry, f));
    // The form keeps its size; the window grows by the menu bar's height.
    form_->setFixedSize(clientPixels(f));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setMenuBar(workbench_->menuBar());
    column->addWidget(form_, 0, Qt::AlignLeft | Qt::AlignTop);
    resize(form_->width(), form_->height() + workbench_->menuBar()->sizeHint().height());
}

void MainWindow::setTabOrder() {
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& entry : windowLayout())
        if (entry.kind != Kind::Label && entry.kind != Kind::GroupBox) order.push_back(&entry);
    std::sort(order.begin(), order.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(findChild<QWidget*>(order[i - 1]->name),
                             findChild<QWidget*>(order[i]->name));
}

QLineEdit* MainWindow::field(Control c) const {
    return static_cast<QLineEdit*>(runControls_[indexOf(c)]);
}

QLabel* MainWindow::wavelengthNote() const {
    return static_cast<QLabel*>(runControls_[indexOf(Control::lblLambda)]);
}

QRadioButton* MainWindow::option(const char* name) const {
    return findChild<QRadioButton*>(QString::fromUtf8(name));
}

void MainWindow::Form_Load() {
    for (std::size_t i = 0; i < kInputCount; ++i)
        field(inputAt(i))->setText(qs(defaultText(inputAt(i))));
    wavelengthNote()->clear();
    option(kDetectorButtons[0])->setChecked(true);
    option("optBarlow")->setChecked(true);
}

DetectorModel MainWindow::selectedDetector() const {
    for (std::size_t i = 0; i < kDetectorButtons.size(); ++i)
        if (option(kDetectorButtons[i])->isChecked()) return builtInDetectors()[i];
    return {};
}

RunInput MainWindow::readWindow() const {
    RunInput in;
    for (std::size_t i = 0; i < kInputCount; ++i)
        in.texts[i] = field(inputAt(i))->text().toStdString();
    in.detector = selectedDetector();
    in.barlowSelected = option("optBarlow")->isChecked();
    in.decimalSeparator = regionalDecimalSeparator();
    return in;
}

void MainWindow::showText(Control c, const QString& text) {
    if (c == Control::lblLambda) {
        wavelengthNote()->setText(text);
        return;
    }
    QLineEdit* edit = field(c);
    edit->setText(text);
    edit->setCursorPosition(0);  // show the text from its first character
}

void MainWindow::cmdCalcul_Click() {
    const RunOutput out = runCalculation(readWindow());
    for (const ShownText& s : out.shown) showText(s.control, qs(s.text));
    if (out.fault) reportFault(out);
}

// The program goes on after a fault: results the run did not reach are
// emptied so that no stale result stands beside fresh ones.
void MainWindow::reportFault(const RunOutput& out) {
    for (std::size_t i = out.shown.size(); i < kShownCount; ++i) showText(shownAt(i), QString());
    QMessageBox::critical(this, QString::fromUtf8(kWindowCaption), qs(faultMessage(*out.fault)));
}

void MainWindow::cmdAnnuler_Click() {
    if (workbench_->mayClose()) QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!workbench_->mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);  // the design window, if open, goes too
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (Workbench::droppedFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (const auto path = Workbench::droppedFile(event->mimeData())) {
        event->acceptProposedAction();
        workbench_->openFile(*path);
    }
}

// Typing into an input or choosing a button changes what a saved file holds.
void MainWindow::watchEdits() {
    for (std::size_t i = 0; i < kInputCount; ++i)
        connect(field(inputAt(i)), &QLineEdit::textEdited, this,
                [this] { workbench_->markModified(); });
    for (QRadioButton* r : form_->findChildren<QRadioButton*>())
        connect(r, &QRadioButton::clicked, this, [this] { workbench_->markModified(); });
}

io::WindowState MainWindow::windowState() const {
    io::WindowState state;
    const RunInput in = readWindow();
    state.texts = in.texts;
    state.detector.reset();
    if (!in.detector.caption.empty()) state.detector = in.detector.caption;
    state.barlow = in.barlowSelected;
    return state;
}

std::string MainWindow::restoreWindowState(const io::WindowState& state) {
    QRadioButton* detector = nullptr;
    if (state.detector) {
        for (std::size_t i = 0; i < kDetectorButtons.size(); ++i)
            if (builtInDetectors()[i].caption == *state.detector)
                detector = option(kDetectorButtons[i]);
        if (!detector)
            return "le détecteur « " + *state.detector +
                   " » n'a pas de bouton dans la fenêtre (Outils › Conception avancée le connaît)";
    }
    for (std::size_t i = 0; i < kInputCount; ++i) field(inputAt(i))->setText(qs(state.texts[i]));
    if (detector) {
        detector->setChecked(true);
    } else {  // no button selected, as a saved window may have had
        for (const char* name : kDetectorButtons) {
            option(name)->setAutoExclusive(false);
            option(name)->setChecked(false);
            option(name)->setAutoExclusive(true);
        }
    }
    option(state.barlow ? "optBarlow" : "optFente")->setChecked(true);
    clearResults();
    return {};
}

void MainWindow::clearResults() {
    for (std::size_t i = 0; i < kShownCount; ++i) showText(shownAt(i), QString());
}

void MainWindow::optBarlow_Click() {
    field(Control::txtSlitWide)->setEnabled(false);
}

void MainWindow::optFente_Click() {
    field(Control::txtSlitWide)->setEnabled(true);
}

}  // namespace kelvora::ui
