// Analyses again when the circuit, the circles or the phases change; the figure and
// the limit only redraw.
#include "screens/mismatch/mismatch_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "screens/mismatch/smith_chart.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

constexpr const char* kFigureNames[] = {"Output power", "Efficiency", "Peak drain voltage", "Peak switch current",
                                        "Turn-on voltage"};
constexpr const char* kWorstColumns[] = {"Worst case", "VSWR", "Phase (°)", "Load (ohm)", "Pout (W)",
                                         "Efficiency (%)", "Vpeak (V)", "Ipeak (A)", "Turn-on (%)"};
constexpr const char* kWorstCases[] = {"Highest Vpeak", "Highest Ipeak", "Lowest Pout", "Worst turn-on"};
constexpr const char* kDefaultVswrs = "2, 3";
constexpr int kMaxPhases = 360;

QString Number(double value, int digits = 4) { return QString::number(value, 'g', digits); }

QString LoadText(Impedance z)
{
    return Number(z.real()) + (z.imag() < 0 ? QStringLiteral(" − j") : QStringLiteral(" + j")) +
           Number(std::fabs(z.imag()));
}

}  // namespace

std::optional<std::vector<double>> ReadVswrList(const QString& text)
{
    std::vector<double> vswrs;
    const QLocale user;
    // With a decimal comma the comma reads as a decimal, and semicolons or spaces part.
    const bool decimalComma = user.decimalPoint() == QLatin1String(",");
    const QRegularExpression apart(decimalComma ? QStringLiteral("[;\\s]+") : QStringLiteral("[,;\\s]+"));
    for (const QString& word : text.split(apart, Qt::SkipEmptyParts)) {
        bool ok = false;
        double value = QLocale::c().toDouble(word, &ok);
        if (!ok) value = user.toDouble(word, &ok);
        if (!ok || !(value > 1) || !std::isfinite(value)) return std::nullopt;
        vswrs.push_back(value);
    }
    if (vswrs.empty()) return std::nullopt;
    return vswrs;
}

MismatchWindow::MismatchWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool), figure_(new QComboBox(this)), vswrs_(new QLineEdit(QString::fromLatin1(kDefaultVswrs), this)),
      phases_(new QSpinBox(this)), vpeakLimit_(new QDoubleSpinBox(this)), status_(new QLabel(this)),
      chart_(new SmithChart(this)), worst_(new QTableWidget(4, static_cast<int>(std::size(kWorstColumns)), this))
{
    setObjectName(QLatin1String(kMismatchWindowName));
    setWindowTitle(tr("Load mismatch"));
    figure_->setObjectName(QLatin1String(kMismatchFigureName));
    for (const char* name : kFigureNames) figure_->addItem(tr(name));
    figure_->setCurrentIndex(static_cast<int>(MismatchFigure::Vpeak));
    vswrs_->setObjectName(QLatin1String(kMismatchVswrName));
    vswrs_->setToolTip(tr("VSWR circles, each above 1, apart by commas"));
    phases_->setObjectName(QLatin1String(kMismatchPhasesName));
    phases_->setRange(1, kMaxPhases);
    phases_->setValue(MismatchSettings{}.phases);
    vpeakLimit_->setObjectName(QLatin1String(kMismatchVpeakLimitName));
    vpeakLimit_->setRange(0, 1e6);
    vpeakLimit_->setDecimals(1);
    vpeakLimit_->setSuffix(QStringLiteral(" V"));
    vpeakLimit_->setSpecialValueText(tr("none"));
    vpeakLimit_->setToolTip(tr("Loads whose peak drain voltage is above this are drawn red"));
    status_->setWordWrap(true);
    QPalette red = status_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    status_->setPalette(red);

    worst_->setObjectName(QLatin1String(kMismatchWorstTableName));
    QStringList headers;
    for (const char* column : kWorstColumns) headers << tr(column);
    worst_->setHorizontalHeaderLabels(headers);
    worst_->verticalHeader()->hide();
    worst_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    worst_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    worst_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    worst_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* controls = new QHBoxLayout;
    auto* left = new QFormLayout;
    left->addRow(tr("&Colour by"), figure_);
    left->addRow(tr("&VSWR"), vswrs_);
    auto* right = new QFormLayout;
    right->addRow(tr("&Phases"), phases_);
    right->addRow(tr("Vpeak &limit"), vpeakLimit_);
    controls->addLayout(left);
    controls->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(status_);
    layout->addWidget(chart_, 1);
    layout->addWidget(worst_);

    connect(figure_, &QComboBox::currentIndexChanged, this, [this] { Draw(); });
    connect(vpeakLimit_, &QDoubleSpinBox::valueChanged, this, [this] { Draw(); });
    connect(phases_, &QSpinBox::valueChanged, this, [this] { Analyse(); });
    connect(vswrs_, &QLineEdit::textChanged, this, [this] { Analyse(); });
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

void MismatchWindow::Follow(const Circuit& shown)
{
    circuit_ = shown;
    Analyse();
}

void MismatchWindow::Analyse()
{
    result_ = MismatchResult{};
    status_->clear();
    if (!circuit_) return Draw();
    const std::optional<std::vector<double>> vswrs = ReadVswrList(vswrs_->text());
    if (!vswrs) {
        status_->setText(tr("Type one or more VSWRs above 1, apart by commas."));
        return Draw();
    }
    if (!AllUsable(*circuit_)) {
        status_->setText(tr("The design on screen has results that are not valid: no circuit to put into other loads."));
        return Draw();
    }
    MismatchSettings settings;
    settings.vswrs = *vswrs;
    settings.phases = phases_->value();
    result_ = AnalyseMismatch(*circuit_, settings);
    if (!result_.problem.empty())
        status_->setText(QString::fromStdString(result_.problem));
    else if (!result_.nominal.valid)
        status_->setText(tr("The circuit as built has no steady state: %1").arg(QString::fromStdString(result_.nominal.reason)));
    Draw();
}

void MismatchWindow::Draw()
{
    const std::optional<double> limit =
        vpeakLimit_->value() > 0 ? std::optional<double>(vpeakLimit_->value()) : std::nullopt;
    const bool any = !result_.points.empty();
    chart_->Show({any ? &result_ : nullptr, static_cast<MismatchFigure>(figure_->currentIndex()), limit});

    const std::optional<std::size_t> cases[] = {result_.worst.highestVpeak, result_.worst.highestIpeak,
                                                result_.worst.lowestPout, result_.worst.worstTurnOn};
    for (int row = 0; row < 4; ++row) {
        worst_->setItem(row, 0, new QTableWidgetItem(tr(kWorstCases[row])));
        const std::optional<std::size_t> at = cases[row];
        QStringList cells;
        bool beyond = false;
        if (at) {
            const MismatchPoint& p = result_.points[*at];
            beyond = limit && p.vpeak > *limit;
            cells << Number(p.vswr, 3) << Number(p.phaseDegrees) << LoadText(p.load) << Number(p.pout)
                  << Number(100 * p.efficiency) << Number(p.vpeak) << Number(p.ipeak) << Number(p.turnOnVoltage, 3);
        }
        for (int column = 1; column < worst_->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(column - 1 < cells.size() ? cells[column - 1] : QString());
            if (beyond) item->setForeground(Qt::red);
            worst_->setItem(row, column, item);
        }
        if (beyond) worst_->item(row, 0)->setForeground(Qt::red);
    }
}

}  // namespace voltra
