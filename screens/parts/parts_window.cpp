// Fills the two tables from the circuit model's loss budget and stress list.
#include "screens/parts/parts_window.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "print/loss_texts.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

constexpr const char* kNotAnalysed =
    "Losses and stresses come from the solved waveform: turn on Exact, standard parts or a part Q.";

template <std::size_t N>
QTableWidget* MakeTable(QWidget* parent, const char* name, const std::array<const char*, N>& columns)
{
    auto* table = new QTableWidget(0, static_cast<int>(N), parent);
    table->setObjectName(QLatin1String(name));
    QStringList headers;
    for (const char* column : columns) headers << QString::fromLatin1(column);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

void Fill(QTableWidget& table, const std::vector<TableRow>& rows)
{
    table.setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const TableRow& row = rows[static_cast<std::size_t>(r)];
        for (int k = 0; k < static_cast<int>(row.cells.size()); ++k) {
            auto* item = new QTableWidgetItem(QString::fromStdString(row.cells[static_cast<std::size_t>(k)]));
            if (row.red) item->setForeground(Qt::red);
            table.setItem(r, k, item);
        }
    }
}

}  // namespace

PartsWindow::PartsWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool), status_(new QLabel(this)),
      losses_(MakeTable(this, kLossTableName, kLossColumns)), stresses_(MakeTable(this, kStressTableName, kStressColumns)),
      impulse_(new QLabel(this))
{
    setObjectName(QLatin1String(kPartsWindowName));
    setWindowTitle(tr("Losses and part stresses"));
    status_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(new QLabel(tr("Where the power goes"), this));
    layout->addWidget(losses_);
    layout->addWidget(new QLabel(tr("What each part must stand"), this));
    layout->addWidget(stresses_);
    layout->addWidget(impulse_);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

void PartsWindow::Follow(const Circuit& shown)
{
    const bool analysed = !shown.losses.empty();
    status_->setText(analysed ? QString::fromStdString(LossSummaryLine(shown)) : tr(kNotAnalysed));
    Fill(*losses_, analysed ? LossRows(shown) : std::vector<TableRow>{});
    Fill(*stresses_, StressRows(shown));
    impulse_->setText(QString::fromStdString(ImpulseLine(shown)));
}

}  // namespace voltra
