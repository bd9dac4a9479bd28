// Fills the tables from the circuit model's loss budget and stress list and from the
// windings of its inductors; each winding's row holds its core choice.
#include "screens/parts/parts_window.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "print/loss_texts.h"
#include "print/winding_texts.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

constexpr const char* kNoCores = "No core table holds a toroid core, so every inductor is wound on air";

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
      impulse_(new QLabel(this)), windings_(MakeTable(this, kWindingTableName, kWindingColumns)),
      coreTableNote_(new QLabel(this))
{
    coreNames_ << QString::fromLatin1(kAirCore);
    coreTableNote_->setObjectName(QLatin1String(kCoreTableNoteName));
    coreTableNote_->setWordWrap(true);
    coreTableNote_->hide();
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
    layout->addWidget(new QLabel(tr("How each inductor can be wound"), this));
    layout->addWidget(windings_);
    layout->addWidget(coreTableNote_);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

void PartsWindow::Follow(const Circuit& shown, const std::vector<InductorWinding>& windings)
{
    const bool analysed = !shown.losses.empty();
    status_->setText(analysed ? QString::fromStdString(LossSummaryLine(shown)) : tr(kNotAnalysed));
    Fill(*losses_, analysed ? LossRows(shown) : std::vector<TableRow>{});
    Fill(*stresses_, StressRows(shown));
    impulse_->setText(QString::fromStdString(ImpulseLine(shown)));
    FollowWindings(windings);
}

void PartsWindow::FollowWindings(const std::vector<InductorWinding>& windings)
{
    Fill(*windings_, WindingRows(windings));
    windingRoles_.clear();
    for (int r = 0; r < static_cast<int>(windings.size()); ++r) {
        const InductorWinding& w = windings[static_cast<std::size_t>(r)];
        windingRoles_.push_back(w.role);
        // A row keeps its box from cycle to cycle, so a keystroke on the design screen
        // neither rebuilds it nor closes its list while it is open.
        auto* box = qobject_cast<QComboBox*>(windings_->cellWidget(r, static_cast<int>(kWindingCoreColumn)));
        if (!box) {
            box = new QComboBox(windings_);
            box->addItems(coreNames_);
            connect(box, &QComboBox::activated, this, [this, r](int index) {
                if (r >= static_cast<int>(windingRoles_.size())) return;
                const PartRole role = windingRoles_[static_cast<std::size_t>(r)];
                if (index <= 0) emit CoreChosen(role, std::nullopt);
                else emit CoreChosen(role, coreNames_[index].toStdString());
            });
            windings_->setCellWidget(r, static_cast<int>(kWindingCoreColumn), box);
        }
        box->setCurrentIndex(std::max(0, static_cast<int>(coreNames_.indexOf(QString::fromStdString(w.core)))));
        box->setEnabled(w.computed && coreNames_.size() > 1);
    }
}

void PartsWindow::OfferCores(const CoreTable& table)
{
    coreNames_ = QStringList{QString::fromLatin1(kAirCore)};
    for (const ToroidCore& core : table.cores) coreNames_ << QString::fromStdString(core.name);
    // The next Follow builds every row's box anew with these names.
    windings_->setRowCount(0);
    // With no core to offer, the choices stand disabled: the note says why, and where
    // the builder's own cores go.
    std::string note = table.error;
    if (table.cores.empty()) {
        const std::string own = UserCoreTable().string();
        note += std::string(note.empty() ? "" : "\n") + kNoCores +
                (own.empty() ? std::string(".") : ": add them to " + own + ".");
    }
    coreTableNote_->setText(QString::fromStdString(note));
    coreTableNote_->setVisible(!note.empty());
}

}  // namespace voltra
