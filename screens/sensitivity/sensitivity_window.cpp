// Fills the table and the guide from the engine's central differences; a circuit
// with no steady state leaves both empty with the reason.
#include "screens/sensitivity/sensitivity_window.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/sensitivity.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

constexpr const char* kColumns[] = {"Part", "Pout, %", "Efficiency, points", "Turn-on, points of the supply",
                                    "Vpeak, %"};
// Significant digits of a sensitivity: a central difference of ±1 % is good to a
// few parts in a thousand of the figure, no more.
constexpr int kDigits = 3;

QTableWidgetItem* Cell(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

SensitivityWindow::SensitivityWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool), status_(new QLabel(this)),
      table_(new QTableWidget(0, static_cast<int>(std::size(kColumns)), this)), guide_(new QListWidget(this))
{
    setObjectName(QLatin1String(kSensitivityWindowName));
    setWindowTitle(tr("Sensitivities"));
    status_->setWordWrap(true);
    table_->setObjectName(QLatin1String(kSensitivityTableName));
    QStringList headers;
    for (const char* column : kColumns) headers << tr(column);
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    guide_->setObjectName(QLatin1String(kBenchGuideListName));
    guide_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(new QLabel(tr("What +1 % of each part's value does"), this));
    layout->addWidget(table_);
    layout->addWidget(new QLabel(tr("On the bench"), this));
    layout->addWidget(guide_);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

void SensitivityWindow::Follow(const Circuit& shown)
{
    table_->setRowCount(0);
    guide_->clear();
    if (!AllUsable(shown)) {
        status_->setText(tr("The design on screen has values out of range: there is no circuit to analyse."));
        return;
    }
    const Sensitivities table = AnalyseSensitivities(shown);
    if (!table.nominal.valid) {
        status_->setText(
            tr("The circuit as built has no steady state: %1.").arg(QString::fromStdString(table.nominal.reason)));
        return;
    }
    status_->setText(tr("Each part at 1 % above and below its value, the rest held, in the circuit as built."));
    table_->setRowCount(static_cast<int>(table.parts.size()));
    for (int r = 0; r < static_cast<int>(table.parts.size()); ++r) {
        const PartSensitivity& s = table.parts[static_cast<std::size_t>(r)];
        table_->setItem(r, 0, Cell(QString::fromLatin1(s.part), false));
        const double figures[] = {s.pout, s.efficiency, s.turnOnVoltage, s.vpeak};
        for (int k = 0; k < 4; ++k)
            table_->setItem(r, k + 1,
                            s.valid ? Cell(QString::number(figures[k], 'g', kDigits), true)
                                    : Cell(tr("no steady state beside this circuit"), false));
    }
    for (const BenchAdvice& advice : BenchGuide(table)) guide_->addItem(QString::fromStdString(advice.text));
}

}  // namespace voltra
