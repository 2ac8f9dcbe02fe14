#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "ui/mainwindow.h"

namespace kelvora::ui::testing {

// A French test asked for French settings (LC_ALL=fr_FR…) fails when the
// machine lacks the locale, rather than skipping: a skip there went
// unnoticed for months. Run under other settings, it is skipped.
#define KELVORA_REQUIRE_FRENCH()                                                         \
    do {                                                                                 \
        if (QLocale::system().decimalPoint() == QLatin1Char(',')) break;                 \
        const char* lcAll = std::getenv("LC_ALL");                                       \
        if (lcAll && std::string_view(lcAll).starts_with("fr_FR"))                       \
            FAIL() << "LC_ALL=" << lcAll << " but no French locale: run ./dev.sh setup"; \
        GTEST_SKIP() << "not French";                                                    \
    } while (false)

// Watches for modal boxes: an expected one is read and dismissed; an
// unexpected one fails the test and is closed, so a test never hangs. Told
// by the box's own showing, not by polling: a busy machine changes nothing.
class ModalWatchdog : public QObject {
  public:
    ModalWatchdog() { qApp->installEventFilter(this); }
    ~ModalWatchdog() override { qApp->removeEventFilter(this); }
    void expectBox() { ++expected_; }
    // The next box is answered with this button instead of being closed.
    void expectBox(QMessageBox::StandardButton answer) {
        ++expected_;
        answer_ = answer;
    }
    int pending() const { return expected_; }
    QString lastTitle, lastText;

  protected:
    // Answered once the box's own event loop runs, not inside its show().
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && w && w->isWindow() && w->isModal())
            QTimer::singleShot(0, w, [this, w] { answer(w); });
        return false;
    }

  private:
    void answer(QWidget* modal) {
        if (!modal->isVisible()) return;
        if (expected_-- == 0) ADD_FAILURE() << "unexpected modal window";
        expected_ = std::max(expected_, 0);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            lastTitle = box->windowTitle();
            lastText = box->text();
            if (answer_ != QMessageBox::NoButton && box->button(answer_)) {
                box->button(answer_)->click();
                answer_ = QMessageBox::NoButton;
                return;
            }
        }
        modal->close();
    }
    int expected_ = 0;
    QMessageBox::StandardButton answer_ = QMessageBox::NoButton;
};

// A loaded, shown and active window, addressed by control names.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<MainWindow>();
        window_->Form_Load();
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void TearDown() override {
        EXPECT_EQ(watchdog_.pending(), 0) << "an expected box never opened";
    }

    MainWindow& window() { return *window_; }
    template <typename T = QWidget>
    T* get(const QString& name) {
        T* w = window_->findChild<T*>(name);
        EXPECT_TRUE(w) << name.toStdString();
        return w;
    }
    static QString name(Control c) { return QString::fromUtf8(controlName(c).data()); }
    QLineEdit* field(const QString& n) { return get<QLineEdit>(n); }
    QString text(const QString& n) { return field(n)->text(); }
    void type(const QString& n, const QString& t) { field(n)->setText(t); }
    void click(const QString& n) { QTest::mouseClick(get<QAbstractButton>(n), Qt::LeftButton); }
    std::vector<QString> inputs() {
        std::vector<QString> texts;
        for (std::size_t i = 0; i < kInputCount; ++i) texts.push_back(text(name(inputAt(i))));
        return texts;
    }
    // Clicks "Calcul" while a fault box is expected to open.
    void calculExpectingBox() {
        watchdog_.expectBox();
        click("cmdCalcul");
    }

    ModalWatchdog watchdog_;

  private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace kelvora::ui::testing
