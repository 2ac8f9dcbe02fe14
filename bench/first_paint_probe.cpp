// Linked into a program to time its start: when the first top-level window
// has been painted, prints the monotonic clock in nanoseconds and leaves at
// once, so that peak memory is read at the same point for every program.
#include <unistd.h>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

class FirstPaint : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!seen_ && e->type() == QEvent::Paint && o->isWidgetType() &&
            static_cast<QWidget*>(o)->isWindow()) {
            seen_ = true;
            // After the whole paint pass, children included.
            QTimer::singleShot(0, [] {
                timespec ts{};
                clock_gettime(CLOCK_MONOTONIC, &ts);
                std::printf("%lld\n",
                            static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

  private:
    bool seen_ = false;
};

void installProbe() {
    qApp->installEventFilter(new FirstPaint(qApp));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
