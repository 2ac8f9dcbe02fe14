#pragma once

#include <QTemporaryDir>

#include "io/designfile.h"
#include "tests/ui/window_fixture.h"
#include "ui/workbench.h"

namespace kelvora::ui::testing {

class WorkbenchTest : public WindowTest {
  protected:
    Workbench& bench() { return window().workbench(); }
    QString path(const char* name) { return dir_.filePath(QString::fromLatin1(name)); }
    // A file holding the window as it is, then retyped by the user.
    QString savedAndRetyped() {
        const QString p = path("a.kelvora");
        io::DesignFile f;
        f.window.texts[indexOf(Control::txtTraits)] = "600";
        f.window.barlow = false;
        EXPECT_EQ(io::writeDesignFile(p.toStdString(), f), "");
        EXPECT_TRUE(bench().openFile(p));
        QTest::keyClicks(field("txtDiametre"), "5");
        return p;
    }
    QTemporaryDir dir_;
};

}  // namespace kelvora::ui::testing
