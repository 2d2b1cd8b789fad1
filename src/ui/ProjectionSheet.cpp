#include "ui/ProjectionSheet.h"

#include "ui/ProjectionTableModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vantrel::ui {

ProjectionSheet::ProjectionSheet(app::Workspace& workspace, std::optional<model::Account> account,
                                 QWidget* parent, const QString& localeId)
    : QDialog(parent)
    , m_projection(workspace, account, localeId) {
    setObjectName(QStringLiteral("projectionSheet"));
    setWindowTitle(m_projection.sheetTitle());
    setWindowModality(Qt::WindowModal);

    auto* heading = new QLabel(m_projection.sheetTitle(), this);
    heading->setTextFormat(Qt::PlainText);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    heading->setFont(headingFont);

    m_start = new QLabel(tr("Current balance: %1").arg(m_projection.startBalanceText()), this);
    m_start->setObjectName(QStringLiteral("projectionStart"));
    m_start->setForegroundRole(QPalette::PlaceholderText);

    m_model = new ProjectionTableModel(m_projection, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("projectionTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(ProjectionTableModel::Payee, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(ProjectionTableModel::Date,
                                                      QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(ProjectionTableModel::Amount,
                                                      QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(ProjectionTableModel::Balance,
                                                      QHeaderView::ResizeToContents);
    m_table->setMinimumSize(560, 360);
    connect(m_table, &QTableView::doubleClicked, this, &ProjectionSheet::rowActivated);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProjectionSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_start);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
}

ProjectionSheet::~ProjectionSheet() = default;

void ProjectionSheet::rowActivated(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const objectstore::ObjectID item = m_projection.rows()[static_cast<std::size_t>(index.row())].item;
    emit showItemRequested(item);
    accept();
}

} // namespace vantrel::ui
