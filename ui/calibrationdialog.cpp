#include "ui/calibrationdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "io/reportplot.h"
#include "model/design/keys.h"
#include "model/design/measured.h"
#include "model/design/shown.h"

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

namespace {

QLineEdit* observationField(QFormLayout* form, const char* name, const QString& label, double v,
                            const std::string& sep) {
    auto* field = new QLineEdit(qs(design::shownValue(v, sep)));
    field->setObjectName(QString::fromLatin1(name));
    form->addRow(label, field);
    return field;
}

// The gain, exposure and airmass used; « Recalculer » with the user's.
QWidget* observationRow(QDialog* dialog, const design::Calibration& c, const std::string& sep,
                        const CalibrationActions& actions) {
    auto* box = new QWidget(dialog);
    auto* row = new QHBoxLayout(box);
    auto* form = new QFormLayout;
    QLineEdit* gain =
        observationField(form, "gain_e_adu", QStringLiteral("&Gain (e⁻/ADU)"), c.gain_e_adu, sep);
    QLineEdit* pose =
        observationField(form, "pose_s", QStringLiteral("&Pose (s)"), c.exptime_s, sep);
    QLineEdit* airmass =
        observationField(form, "masse_air", QStringLiteral("&Masse d'air"), c.airmass, sep);
    row->addLayout(form);
    auto* again = new QPushButton(QStringLiteral("&Recalculer"), box);
    again->setObjectName(QStringLiteral("recalculer"));
    row->addWidget(again, 0, Qt::AlignBottom);
    row->addStretch(1);
    QObject::connect(again, &QPushButton::clicked, dialog, [=] {
        const auto number = [&](QLineEdit* f) {
            return design::strictNumber(design::periodText(f->text().toStdString(), sep))
                .value_or(0);
        };
        const design::CalibrationOverrides user{number(gain), number(pose), number(airmass)};
        dialog->reject();
        actions.recalculate(user);
    });
    return box;
}

}  // namespace

QDialog* calibrationDialog(QWidget* parent, const design::Calibration& c,
                           const std::vector<design::MeasuredRatio>& earlier,
                           const std::string& sep, CalibrationActions actions) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("etalonnage"));
    dialog->setWindowTitle(QStringLiteral("Étalonner sur un spectre — Kelvora"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(dialog);
    auto* summary = new QLabel(qs(design::calibrationSummary(c, sep)), dialog);
    summary->setObjectName(QStringLiteral("resumeEtalonnage"));
    summary->setWordWrap(true);
    column->addWidget(summary);
    column->addWidget(observationRow(dialog, c, sep, actions));
    auto* plots = new QHBoxLayout;
    for (const design::PlotDescription& p : design::calibrationPlots(c))
        plots->addWidget(pictureOf(p, sep, dialog));
    std::vector<design::MeasuredRatio> all = earlier;
    all.push_back(c.ratio);
    if (const auto history = design::calibrationHistory(all); history.curves[0].second.size() > 1)
        plots->addWidget(pictureOf(history, sep, dialog));
    column->addLayout(plots);
    column->addWidget(tableOf(design::calibrationTable(c, sep), dialog), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
    QPushButton* take =
        buttons->addButton(QStringLiteral("&Utiliser ce rendement"), QDialogButtonBox::AcceptRole);
    take->setObjectName(QStringLiteral("utiliserRendement"));
    const design::MeasuredRatio measured = c.ratio;
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog, measured, actions] {
        actions.use(measured);
        dialog->accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    column->addWidget(buttons);
    dialog->resize(earlier.empty() ? 980 : 1400, 760);
    return dialog;
}

}  // namespace kelvora::ui
