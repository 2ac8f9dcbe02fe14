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
#include <memory>

#include "ui/mainwindow.h"

namespace kelvora::ui::testing {

// Watches for modal boxes: an expected one is read and dismissed; an
// unexpected one fails the test and is closed, so a test never hangs.
class ModalWatchdog {
  public:
    ModalWatchdog() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { check(); });
        timer_.start();
    }
    void expectBox() { expected_ = true; }
    int boxesSeen() const { return seen_; }
    const QString& lastTitle() const { return title_; }
    const QString& lastText() const { return text_; }

  private:
    void check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!expected_) ADD_FAILURE() << "unexpected modal window";
        if (box) {
            title_ = box->windowTitle();
            text_ = box->text();
        }
        ++seen_;
        expected_ = false;
        modal->close();
    }
    QTimer timer_;
    bool expected_ = false;
    int seen_ = 0;
    QString title_, text_;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<MainWindow>();
        window_->Form_Load();
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void TearDown() override { EXPECT_EQ(watchdog_.boxesSeen(), boxesExpected_); }

    MainWindow& window() { return *window_; }
    template <typename T = QWidget>
    T* get(const char* name) {
        T* w = window_->findChild<T*>(QString::fromUtf8(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QLineEdit* field(const char* name) { return get<QLineEdit>(name); }
    QString text(const char* name) { return field(name)->text(); }
    void type(const char* name, const QString& t) { field(name)->setText(t); }
    void click(const char* name) { QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton); }
    // Clicks "Calcul" while a fault box is expected to open.
    void calculExpectingBox() {
        watchdog_.expectBox();
        ++boxesExpected_;
        click("cmdCalcul");
    }

    ModalWatchdog watchdog_;
    int boxesExpected_ = 0;

  private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace kelvora::ui::testing
