#include "ui/calibrationdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "io/reportplot.h"

namespace kelvora::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QTableWidget* tableOf(const design::PlotTable& t, QWidget* parent) {
    auto* table = new QTableWidget(static_cast<int>(t.rows.size()),
                                   static_cast<int>(t.headers.size()), parent);
    table->setObjectName(QStringLiteral("tableEtalonnage"));
    table->setAccessibleName(QStringLiteral("Étalonnage par tranche de longueur d'onde"));
    QStringList headers;
    for (const std::string& h : t.headers) headers << qs(h);
    table->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < t.rows.size(); ++r)
        for (std::size_t c = 0; c < t.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(qs(t.rows[r][c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

// The plot as a picture, drawn as the printed report draws it.
QLabel* pictureOf(const design::PlotDescription& plot, const std::string& sep, QWidget* parent) {
    const qreal scale = parent->devicePixelRatioF();
    QImage image(QSize(460, 260) * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont f = parent->font();
    painter.setFont(f);
    io::paintPlot(painter, QRectF(8, 8, 444, 244), plot, sep, 1.2);
    painter.end();
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(plot.id));
    label->setPixmap(QPixmap::fromImage(image));
    label->setAccessibleName(qs(plot.title));
    return label;
}

}  // namespace

QDialog* calibrationDialog(QWidget* parent, const design::Calibration& c, const std::string& sep,
                           std::function<void(const design::MeasuredEfficiency&)> use) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("etalonnage"));
    dialog->setWindowTitle(QStringLiteral("Étalonner sur un spectre — Kelvora"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(dialog);
    auto* summary = new QLabel(qs(design::calibrationSummary(c, sep)), dialog);
    summary->setObjectName(QStringLiteral("resumeEtalonnage"));
    summary->setWordWrap(true);
    column->addWidget(summary);
    auto* plots = new QHBoxLayout;
    for (const design::PlotDescription& p : design::calibrationPlots(c))
        plots->addWidget(pictureOf(p, sep, dialog));
    column->addLayout(plots);
    column->addWidget(tableOf(design::calibrationTable(c, sep), dialog), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
    QPushButton* take =
        buttons->addButton(QStringLiteral("&Utiliser ce rendement"), QDialogButtonBox::AcceptRole);
    take->setObjectName(QStringLiteral("utiliserRendement"));
    const design::MeasuredEfficiency measured = c.efficiency;
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog, measured, use] {
        use(measured);
        dialog->accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    column->addWidget(buttons);
    dialog->resize(980, 720);
    return dialog;
}

}  // namespace kelvora::ui
