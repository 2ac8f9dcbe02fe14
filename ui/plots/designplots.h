#pragma once

#include <QList>
#include <QWidget>

#include "ui/plotset.h"

class QChartView;
class QTabWidget;
class QTextBrowser;

namespace kelvora::ui {

// The design window's three plots, one tab each, drawn with Qt Charts:
// S/N against exposure, S/N against magnitude, the spectrum across the
// sensor. Each exports to PNG and SVG.
class DesignPlots : public QWidget, public PlotsView {
  public:
    explicit DesignPlots(QWidget* parent);
    void show(const PlotSet& plots) override;
    void showError(const QString& error) override;
    void showNotes(const QString& html) override;
    void showSun(const design::SunFigures* sun) override;
    design::PlotArea plotArea() const override;

    QChartView* exposureView() const { return views_[0]; }
    QChartView* magnitudeView() const { return views_[1]; }
    QChartView* spectrumView() const { return views_[2]; }
    QChartView* efficiencyView() const { return views_[3]; }
    QChartView* wavelengthSnrView() const { return views_[4]; }
    QChartView* sunLineView() const { return sunLine_; }
    // Writes a plot to a .png (kPngWidth pixels wide) or .svg file; false if it cannot.
    static bool exportTo(QChartView* view, const QString& path);
    static constexpr int kPngWidth = 1800;

  private:
    QWidget* page(int index, const QString& name);
    QWidget* sunPage();
    void setExportEnabled(bool enabled);
    QChartView* views_[kPlotCount] = {};
    QList<QWidget*> exportButtons_;
    QTextBrowser* notes_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* sunTab_ = nullptr;
    int sunIndex_ = -1;
    QChartView* sunLine_ = nullptr;
    class SvgPicture* sunDrawing_ = nullptr;
};

// What the plots library gives the program that loads it.
QWidget* createDesignPlots(QWidget* parent, PlotsView** view);

}  // namespace kelvora::ui
