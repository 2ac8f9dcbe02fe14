#pragma once

#include <QWidget>

#include "model/design/design.h"

class QChartView;

namespace kelvora::ui {

// The design window's three plots, one tab each: S/N against exposure
// (target line and solved exposure marked), S/N against magnitude (limiting
// magnitude marked), and the spectrum across the sensor. Each exports to
// PNG and SVG.
class DesignPlots : public QWidget {
  public:
    explicit DesignPlots(QWidget* parent);
    void update(const design::DesignInput& in, const design::DesignResult& r);
    // An impossible instrument: each plot says why, and cannot be exported.
    void showError(const QString& error);

    QChartView* exposureView() const { return views_[0]; }
    QChartView* magnitudeView() const { return views_[1]; }
    QChartView* spectrumView() const { return views_[2]; }
    // Writes a plot to a .png (kPngWidth pixels wide) or .svg file; false if it cannot.
    static bool exportTo(QChartView* view, const QString& path);
    static constexpr int kPngWidth = 1800;

  private:
    QWidget* page(int index, const QString& name);
    void setExportEnabled(bool enabled);
    QChartView* views_[3] = {};
    QList<QWidget*> exportButtons_;
};

}  // namespace kelvora::ui
