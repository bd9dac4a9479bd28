// Fills the two tables from the search and words its standing.
#include "screens/bestparts/best_parts_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "screens/object_names.h"
#include "units/format.h"

namespace voltra {
namespace {

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& columns)
{
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

void SetRow(QTableWidget& table, int row, const QStringList& cells, bool bold = false)
{
    for (int k = 0; k < cells.size(); ++k) {
        auto* item = new QTableWidgetItem(cells[k]);
        if (bold) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
        table.setItem(row, k, item);
    }
}

QString ValueText(double value, PartKind kind)
{
    return QString::fromStdString(kind == PartKind::Inductor ? FormatInductance(value) : FormatCapacitance(value));
}

QStringList OutcomeCells(const char* name, const CircuitOutcome& o)
{
    if (!o.valid) return {QString::fromLatin1(name), QObject::tr("no steady state: %1").arg(QString::fromStdString(o.reason))};
    return {QString::fromLatin1(name), QString::number(o.turnOnPercent, 'f', 2) + QStringLiteral(" %"),
            QString::fromStdString(FormatPrefixed(o.pout)) + QStringLiteral("W"),
            QString::fromStdString(FormatPercent(o.efficiency))};
}

}  // namespace

BestPartsWindow::BestPartsWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool), status_(new QLabel(this)),
      parts_(MakeTable(this, kBestPartsTableName, {tr("Part"), tr("Exact"), tr("Rounded alone"), tr("Chosen")})),
      figures_(MakeTable(this, kBestPartsFiguresName,
                         {tr("Circuit"), tr("Drain at turn-on"), tr("Pout"), tr("Efficiency")})),
      accept_(new QPushButton(tr("&Accept"), this))
{
    setObjectName(QLatin1String(kBestPartsWindowName));
    setWindowTitle(tr("Best standard parts"));
    status_->setObjectName(QLatin1String(kBestPartsStatusName));
    status_->setWordWrap(true);
    accept_->setObjectName(QLatin1String(kBestPartsAcceptName));
    accept_->setToolTip(tr("Build the schematic, the sheet, the export and the verification from the chosen values"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(parts_);
    layout->addWidget(figures_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(accept_);
    layout->addLayout(buttons);
    connect(accept_, &QPushButton::clicked, this, &BestPartsWindow::Accepted);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

void BestPartsWindow::Follow(const BestParts& found, Acceptance acceptance)
{
    const bool searched = found.problem.empty();
    parts_->setRowCount(searched ? static_cast<int>(found.parts.size()) : 0);
    figures_->setRowCount(searched ? 3 : 0);
    accept_->setEnabled(searched && found.improved && acceptance != Acceptance::InForce);
    if (!searched) {
        status_->setText(tr("No search: %1.").arg(QString::fromStdString(found.problem)));
        return;
    }
    for (int r = 0; r < static_cast<int>(found.parts.size()); ++r) {
        const PartSearch& p = found.parts[static_cast<std::size_t>(r)];
        SetRow(*parts_, r,
               {QString::fromLatin1(p.name), ValueText(p.exact, p.kind), ValueText(p.rounded, p.kind),
                QString::fromStdString(ChoiceText(p.chosen, p.kind))});
    }
    SetRow(*figures_, 0, OutcomeCells("Exact values", found.exact));
    SetRow(*figures_, 1, OutcomeCells("Rounded alone", found.rounded), acceptance != Acceptance::InForce);
    SetRow(*figures_, 2, OutcomeCells("Chosen", found.best), acceptance == Acceptance::InForce);

    QString text = tr("%1 circuits of %2 values analysed in %3 ms, nearest zero volts at turn-on first, then the "
                      "target power.")
                       .arg(found.combinations)
                       .arg(QString::fromLatin1(SeriesName(found.series)))
                       .arg(1000 * found.seconds, 0, 'f', 1);
    if (!found.improved)
        text += tr(" Rounding each part alone is already the best combination.");
    switch (acceptance) {
    case Acceptance::InForce: text += tr(" Accepted: the design screen's circuit uses the chosen values."); break;
    case Acceptance::Dropped:
        text += tr(" The values accepted before were for other targets or options: the circuit is back to each "
                   "part rounded alone.");
        break;
    case Acceptance::None:
        if (found.improved) text += tr(" The circuit uses each part rounded alone until you accept.");
        break;
    }
    status_->setText(text);
}

}  // namespace voltra
