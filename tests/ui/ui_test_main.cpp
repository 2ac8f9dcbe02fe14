// GUI tests run on Qt's offscreen platform: no display needed.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/plots/designplots.h"
#include "ui/plotsloader.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    kelvora::ui::usePlotsFactory(kelvora::ui::createDesignPlots);
    return RUN_ALL_TESTS();
}
