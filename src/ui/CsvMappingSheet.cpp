#include "ui/CsvMappingSheet.h"

#include "app/ImportFromBankController.h"
#include "import/ParseException.h"
#include "ui/CsvPreviewTableModel.h"
#include "ui/SheetLabels.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vantrel::ui {

CsvMappingSheet::CsvMappingSheet(bool importFromBank, import::CsvRows rows, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(app::ImportFromBankController::titleOf(app::ImportFromBankController::View::CsvSettings));
    setWindowModality(Qt::WindowModal);
    m_mapping.setImportFromBank(importFromBank);
    m_preview = new CsvPreviewTableModel(m_mapping, this);
    m_preview->setRows(std::move(rows));
    buildLayout();
    fitColumns();
    refresh();
}

CsvMappingSheet::~CsvMappingSheet() {
    // The mapping goes before the widgets do: the table must not read it while it is hidden.
    m_table->setModel(nullptr);
}

void CsvMappingSheet::buildLayout() {
    auto* layout = new QVBoxLayout(this);

    m_instruction = new QLabel(this);
    m_instruction->setObjectName(QStringLiteral("instruction"));
    m_instruction->setWordWrap(true);
    layout->addWidget(m_instruction);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("csvRows"));
    m_table->setModel(m_preview);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setMinimumSectionSize(40);
    m_table->setMinimumHeight(180);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { popUpMenuForColumn(column); });
    layout->addWidget(m_table, 1);

    m_hasHeader = new QCheckBox(tr("The first row holds column names"), this);
    m_hasHeader->setObjectName(QStringLiteral("hasHeader"));
    m_separateSign = new QCheckBox(tr("The amount sign stands in a column of its own"), this);
    m_separateSign->setObjectName(QStringLiteral("separateAmountSign"));
    m_depositWithdrawal = new QCheckBox(tr("Deposits and withdrawals come in separate columns"), this);
    m_depositWithdrawal->setObjectName(QStringLiteral("separateDepositWithdrawal"));
    m_remember = new QCheckBox(tr("Remember these columns for the next file of this account"), this);
    m_remember->setObjectName(QStringLiteral("remember"));
    for (QCheckBox* box : {m_hasHeader, m_separateSign, m_depositWithdrawal, m_remember}) {
        connect(box, &QCheckBox::toggled, this, [this, box](bool ticked) { boxChanged(box, ticked); });
        layout->addWidget(box);
    }

    m_problem = wrappingLabel(this, QStringLiteral("problem"));
    QFont bold = m_problem->font();
    bold.setBold(true);
    m_problem->setFont(bold);
    m_explanation = wrappingLabel(this, QStringLiteral("explanation"));
    layout->addWidget(m_problem);
    layout->addWidget(m_explanation);
    showProblem({}, {});

    auto* buttons = new QDialogButtonBox(this);
    m_forget = buttons->addButton(tr("Forget Remembered Columns"), QDialogButtonBox::ResetRole);
    m_forget->setObjectName(QStringLiteral("forget"));
    m_forget->setAutoDefault(false);
    m_forget->hide();
    connect(m_forget, &QPushButton::clicked, this, [this] {
        m_forget->hide();
        emit forgetSettingsRequested();
    });
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CsvMappingSheet::reject);
    m_import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("import"));
    m_import->setDefault(true);
    connect(m_import, &QPushButton::clicked, this, &CsvMappingSheet::importRows);
    layout->addWidget(buttons);

    setMinimumSize(560, 420);
    resize(720, 520);
}

void CsvMappingSheet::fitColumns() {
    // The model measures in points; the screen in pixels.
    const double pixelsPerPoint = logicalDpiX() / 72.0;
    for (int column = 0; column < m_mapping.columnCount(); ++column) {
        m_table->setColumnWidth(column, static_cast<int>(m_mapping.columnWidth(column) * pixelsPerPoint));
    }
}

void CsvMappingSheet::setForgetOffered(bool offered) {
    m_forget->setVisible(offered && m_mapping.isRememberBoxVisible());
}

QMenu* CsvMappingSheet::popUpMenuForColumn(int column) {
    if (column < 0 || column >= m_mapping.columnCount()) {
        return nullptr;
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("columnMenu"));
    for (const app::CsvMappingModel::MenuItem& item : m_mapping.menuItemsForColumn(column)) {
        QAction* action = menu->addAction(item.title);
        connect(action, &QAction::triggered, this, [this, item, column] { chooseItem(item, column); });
    }
    QHeaderView* header = m_table->horizontalHeader();
    const QPoint below(header->sectionViewportPosition(column), header->height());
    menu->popup(header->viewport()->mapToGlobal(below));
    return menu;
}

void CsvMappingSheet::chooseItem(const app::CsvMappingModel::MenuItem& item, int column) {
    m_mapping.menuItemSelectedForColumn(item, column);
    refresh();
}

void CsvMappingSheet::boxChanged(QCheckBox* box, bool ticked) {
    if (box == m_hasHeader) {
        m_mapping.hasHeaderChanged(ticked);
    } else if (box == m_separateSign) {
        m_mapping.separateAmountSignCheckboxChanged(ticked);
    } else if (box == m_depositWithdrawal) {
        m_mapping.separateDepositWithdrawalCheckboxChanged(ticked);
    } else {
        m_mapping.setRemember(ticked);
    }
    refresh();
}

void CsvMappingSheet::refresh() {
    const struct {
        QCheckBox* box;
        bool ticked;
        bool enabled;
    } states[] = {
        {m_hasHeader, m_mapping.hasHeader(), true},
        {m_separateSign, m_mapping.separateAmountSign(), m_mapping.isSeparateAmountSignEnabled()},
        {m_depositWithdrawal, m_mapping.separateDepositWithdrawal(),
         m_mapping.isSeparateDepositWithdrawalEnabled()},
        {m_remember, m_mapping.remember(), true},
    };
    for (const auto& state : states) {
        const QSignalBlocker quiet(state.box);
        state.box->setChecked(state.ticked);
        state.box->setEnabled(state.enabled);
    }
    m_remember->setVisible(m_mapping.isRememberBoxVisible());
    m_instruction->setText(m_mapping.instructionText());
    m_import->setEnabled(m_mapping.isImportEnabled());
    m_preview->mappingChanged();
    // A problem shown belongs to the mapping that was tried, not to this one.
    showProblem({}, {});
}

void CsvMappingSheet::showProblem(const QString& message, const QString& explanation) {
    m_problem->setText(message);
    m_problem->setVisible(!message.isEmpty());
    m_explanation->setText(explanation);
    m_explanation->setVisible(!explanation.isEmpty());
}

void CsvMappingSheet::importRows() {
    if (!m_mapping.isImportEnabled()) {
        return;
    }
    app::CsvMappingModel::ImportOutcome outcome;
    try {
        outcome = m_mapping.import();
    } catch (const import::ParseException& failure) {
        // Squared rows always hold every mapped column; this only guards against a reader fault.
        showProblem(failure.reason(), {});
        return;
    }
    if (const auto* problem = std::get_if<app::CsvMappingModel::Problem>(&outcome)) {
        showProblem(problem->message, problem->explanation);
        return;
    }
    // Closed first: the receiver may open the next sheet of the import in its place.
    QDialog::accept();
    emit mappingFinished(std::get<app::CsvMappingModel::Finished>(outcome));
}

void CsvMappingSheet::reject() {
    QDialog::reject();
    emit mappingCancelled();
}

} // namespace vantrel::ui
