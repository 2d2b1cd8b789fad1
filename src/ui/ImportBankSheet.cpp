#include "ui/ImportBankSheet.h"

#include "app/ImportFromAppController.h"
#include "app/Workspace.h"
#include "ui/CsvMappingSheet.h"
#include "ui/ImportFileFilter.h"
#include "ui/SheetLabels.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vantrel::ui {

namespace {

using app::ImportFromBankController;

QLabel* headingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

// The order items show the stored code, with the order spelled out on hover.
void addDateOrderItem(QComboBox* box, const QString& text, const std::optional<import::DateOrder>& order) {
    box->addItem(text, order ? order->text() : QString());
    if (order) {
        box->setItemData(box->count() - 1,
                         app::DateFormatSheet::itemTitle(app::DateFormatSheet::itemFor(*order)),
                         Qt::ToolTipRole);
    }
}

std::optional<import::DateOrder> selectedOrder(const QComboBox* box) {
    return import::DateOrder::fromText(box->currentData().toString());
}

} // namespace

ImportBankSheet::ImportBankSheet(app::Workspace& workspace, model::Account account, QWidget* parent)
    : QDialog(parent)
    , m_controller(workspace, account) {
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);
    // Each page is built before its default button is looked at.
    QWidget* main = buildMainPage();
    addPage(View::Main, main, m_importButton);
    QWidget* statements = buildStatementPage();
    addPage(View::AccountSelection, statements, m_statementContinue);
    QWidget* dateOrder = buildDateOrderPage();
    addPage(View::DateOrderPrompt, dateOrder, m_dateOrderContinue);
    QWidget* summary = buildSummaryPage();
    addPage(View::Summary, summary, m_doneButton);
    QWidget* settings = buildSettingsPage();
    addPage(View::ImportSettings, settings, m_saveSettings);
    setMinimumWidth(460);
    showView();
}

ImportBankSheet::~ImportBankSheet() = default;

QString ImportBankSheet::fileDialogFilter() {
    return ImportFileFilter::nameFilter(tr("Bank Files"), ImportFromBankController::fileExtensions());
}

void ImportBankSheet::addPage(View view, QWidget* page, QPushButton* defaultButton) {
    m_pages->addWidget(page);
    m_pageOfView[view] = {page, defaultButton};
}

// ---- Pages ---------------------------------------------------------------------------------------

QWidget* ImportBankSheet::buildMainPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(headingLabel(tr("Import activity into %1").arg(m_controller.account().name()), page));

    auto* form = new QFormLayout();
    auto* fileRow = new QHBoxLayout();
    m_fileLabel = new QLabel(page);
    m_fileLabel->setObjectName(QStringLiteral("fileName"));
    m_fileLabel->setTextFormat(Qt::PlainText);
    m_fileLabel->setMinimumWidth(220);
    auto* choose = new QPushButton(tr("Choose File..."), page);
    choose->setObjectName(QStringLiteral("chooseFile"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &ImportBankSheet::chooseFile);
    fileRow->addWidget(m_fileLabel, 1);
    fileRow->addWidget(choose);
    auto* fileCaption = new QLabel(tr("&File:"), page);
    fileCaption->setBuddy(choose);
    form->addRow(fileCaption, fileRow);
    layout->addLayout(form);

    m_downloadHint = wrappingLabel(page, QStringLiteral("downloadHint"));
    layout->addWidget(m_downloadHint);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    m_settingsButton = buttons->addButton(tr("Settings..."), QDialogButtonBox::ResetRole);
    m_settingsButton->setObjectName(QStringLiteral("settings"));
    connect(m_settingsButton, &QPushButton::clicked, this, &ImportBankSheet::openSettings);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportBankSheet::reject);
    m_importButton = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_importButton->setObjectName(QStringLiteral("import"));
    connect(m_importButton, &QPushButton::clicked, this, &ImportBankSheet::importChosenFile);
    layout->addWidget(buttons);
    setTabOrder(choose, m_settingsButton);
    return page;
}

QWidget* ImportBankSheet::buildStatementPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* caption = new QLabel(tr("The file holds several statements. Choose the one that belongs to %1:")
                                   .arg(m_controller.account().name()),
                               page);
    caption->setWordWrap(true);
    layout->addWidget(caption);
    m_statements = new QListWidget(page);
    m_statements->setObjectName(QStringLiteral("statements"));
    m_statements->setMinimumHeight(100);
    caption->setBuddy(m_statements);
    connect(m_statements, &QListWidget::itemDoubleClicked, this, &ImportBankSheet::continueWithStatement);
    layout->addWidget(m_statements, 1);

    auto* buttons = new QDialogButtonBox(page);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportBankSheet::reject);
    m_statementContinue = buttons->addButton(tr("Continue"), QDialogButtonBox::AcceptRole);
    m_statementContinue->setObjectName(QStringLiteral("continueWithStatement"));
    connect(m_statementContinue, &QPushButton::clicked, this, &ImportBankSheet::continueWithStatement);
    layout->addWidget(buttons);
    return page;
}

QWidget* ImportBankSheet::buildDateOrderPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_dateOrderExplanation = wrappingLabel(page, QStringLiteral("dateOrderExplanation"));
    layout->addWidget(m_dateOrderExplanation);

    auto* form = new QFormLayout();
    m_sampleDate = new QLabel(page);
    m_sampleDate->setObjectName(QStringLiteral("sampleDate"));
    m_sampleDate->setTextFormat(Qt::PlainText);
    m_sampleDate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("Date in the file:"), m_sampleDate);
    m_dateOrder = new QComboBox(page);
    m_dateOrder->setObjectName(QStringLiteral("dateOrder"));
    for (const import::DateOrder& order : ImportFromBankController::dateOrderChoices()) {
        addDateOrderItem(m_dateOrder, order.text(), order);
    }
    auto* orderCaption = new QLabel(tr("&Date format:"), page);
    orderCaption->setBuddy(m_dateOrder);
    form->addRow(orderCaption, m_dateOrder);
    layout->addLayout(form);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportBankSheet::reject);
    m_dateOrderContinue = buttons->addButton(tr("Continue"), QDialogButtonBox::AcceptRole);
    m_dateOrderContinue->setObjectName(QStringLiteral("continueWithDateOrder"));
    connect(m_dateOrderContinue, &QPushButton::clicked, this, &ImportBankSheet::continueWithDateOrder);
    layout->addWidget(buttons);
    return page;
}

QWidget* ImportBankSheet::buildSummaryPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_summaryTitle = headingLabel(QString(), page);
    m_summaryTitle->setObjectName(QStringLiteral("summaryTitle"));
    layout->addWidget(m_summaryTitle);
    m_summaryMatched = wrappingLabel(page, QStringLiteral("summaryMatched"));
    m_summaryNew = wrappingLabel(page, QStringLiteral("summaryNew"));
    m_summaryDuplicates = wrappingLabel(page, QStringLiteral("summaryDuplicates"));
    for (QLabel* line : {m_summaryMatched, m_summaryNew, m_summaryDuplicates}) {
        layout->addWidget(line);
    }
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    m_doneButton = buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
    m_doneButton->setObjectName(QStringLiteral("done"));
    connect(m_doneButton, &QPushButton::clicked, this, &ImportBankSheet::accept);
    layout->addWidget(buttons);
    return page;
}

QWidget* ImportBankSheet::buildSettingsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout();
    m_specialBank = new QComboBox(page);
    m_specialBank->setObjectName(QStringLiteral("specialBank"));
    for (const ImportFromBankController::SpecialBankChoice& choice :
         ImportFromBankController::specialBankChoices()) {
        m_specialBank->addItem(choice.label);
    }
    auto* bankCaption = new QLabel(tr("&Bank corrections:"), page);
    bankCaption->setBuddy(m_specialBank);
    form->addRow(bankCaption, m_specialBank);

    m_settingsDateOrder = new QComboBox(page);
    m_settingsDateOrder->setObjectName(QStringLiteral("settingsDateOrder"));
    addDateOrderItem(m_settingsDateOrder, tr("Automatic"), std::nullopt);
    for (const import::DateOrder& order : ImportFromBankController::dateOrderChoices()) {
        addDateOrderItem(m_settingsDateOrder, order.text(), order);
    }
    auto* orderCaption = new QLabel(tr("&Date format:"), page);
    orderCaption->setBuddy(m_settingsDateOrder);
    form->addRow(orderCaption, m_settingsDateOrder);
    layout->addLayout(form);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportBankSheet::reject);
    m_saveSettings = buttons->addButton(QDialogButtonBox::Save);
    m_saveSettings->setObjectName(QStringLiteral("saveSettings"));
    connect(m_saveSettings, &QPushButton::clicked, this, &ImportBankSheet::saveSettings);
    layout->addWidget(buttons);
    return page;
}

// ---- The sheets in front ----------------------------------------------------------------------

CsvMappingSheet* ImportBankSheet::csvSheet() const {
    return m_csvSheet;
}

// ---- Steps ---------------------------------------------------------------------------------------

void ImportBankSheet::start() {
    if (m_controller.view() != View::Main) {
        // Opened again after an import or a dialog left open: from the start.
        m_controller.cancelFromDialog();
    }
    showView();
    open();
}

bool ImportBankSheet::startWithFile(const QString& path) {
    if (!m_controller.chooseFile(path)) {
        return false;
    }
    start();
    return true;
}

void ImportBankSheet::chooseFile() {
    auto* dialog = new QFileDialog(this, tr("Choose a File Downloaded from Your Bank"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(fileDialogFilter());
    if (!m_controller.fileName().isEmpty()) {
        dialog->setDirectory(QFileInfo(m_controller.fileName()).absolutePath());
    }
    connect(dialog, &QFileDialog::fileSelected, this, &ImportBankSheet::selectFile);
    dialog->open();
}

void ImportBankSheet::selectFile(const QString& path) {
    // A file of another kind typed into the chooser leaves the choice as it was.
    m_controller.chooseFile(path);
    showView();
}

void ImportBankSheet::importChosenFile() {
    m_controller.import();
    showView();
}

void ImportBankSheet::continueWithStatement() {
    const int row = m_statements->currentRow();
    if (row < 0) {
        return;
    }
    m_controller.continueFromAccountSelector(static_cast<std::size_t>(row));
    showView();
}

void ImportBankSheet::continueWithDateOrder() {
    if (const std::optional<import::DateOrder> order = selectedOrder(m_dateOrder)) {
        m_controller.continueFromDateOrder(*order);
        showView();
    }
}

void ImportBankSheet::openSettings() {
    m_controller.showSettings();
    showView();
}

void ImportBankSheet::saveSettings() {
    const auto& choices = ImportFromBankController::specialBankChoices();
    const int bank = m_specialBank->currentIndex();
    app::ImportFromBankController::ImportSettings settings = m_controller.settings();
    // The third item stands for every other stored value: keep the account's own when it has one.
    if (ImportFromBankController::specialBankChoiceIndex(settings.specialBank) !=
        static_cast<std::size_t>(bank)) {
        settings.specialBank = choices.at(static_cast<std::size_t>(bank)).value;
    }
    settings.qifDateOrder = selectedOrder(m_settingsDateOrder);
    m_controller.saveSettings(settings);
    showView();
}

void ImportBankSheet::reject() {
    const View view = m_controller.view();
    if (view == View::Main || view == View::Summary) {
        closeCsvSheet();
        QDialog::reject();
        return;
    }
    m_controller.cancelFromDialog();
    showView();
}

// ---- CSV -----------------------------------------------------------------------------------------

void ImportBankSheet::openCsvSheet() {
    if (m_csvSheet) {
        return;
    }
    m_csvSheet = new CsvMappingSheet(true, m_controller.csvRows(), this);
    m_csvSheet->setAttribute(Qt::WA_DeleteOnClose);
    // Forgotten as soon as it closes, though deleted only later.
    connect(m_csvSheet, &QDialog::finished, this, [this] { m_csvSheet = nullptr; });
    m_csvSheet->setForgetOffered(!m_controller.account().csvImportSettings().isEmpty());
    connect(m_csvSheet, &CsvMappingSheet::mappingFinished, this,
            [this](const app::CsvMappingModel::Finished& finished) {
                m_controller.didFinishParsingCsvWithResult(
                    std::get<import::AccountDictionary>(finished.result), finished.settings);
                showView();
            });
    connect(m_csvSheet, &CsvMappingSheet::mappingCancelled, this, [this] {
        m_controller.userDidCancelCsvImport();
        showView();
    });
    connect(m_csvSheet, &CsvMappingSheet::forgetSettingsRequested, this,
            [this] { m_controller.forgetCsvImportSettings(); });
    m_csvSheet->open();
}

void ImportBankSheet::closeCsvSheet() {
    if (m_csvSheet && m_csvSheet->isVisible()) {
        // done() rather than reject(): the sheet is closed for the controller, not by the user.
        m_csvSheet->done(QDialog::Rejected);
    }
}

// ---- Showing the controller's view ---------------------------------------------------------------

void ImportBankSheet::showView() {
    const View view = m_controller.view();
    if (view != View::CsvSettings) {
        closeCsvSheet();
    }
    // The CSV sheet opens in front of the main view.
    const View shown = view == View::CsvSettings ? View::Main : view;
    setWindowTitle(ImportFromBankController::titleOf(view));
    switch (shown) {
    case View::Main:
    case View::CsvSettings:
        fillMainPage();
        break;
    case View::AccountSelection:
        fillStatementPage();
        break;
    case View::DateOrderPrompt:
        fillDateOrderPage();
        break;
    case View::Summary:
        fillSummaryPage();
        break;
    case View::ImportSettings:
        fillSettingsPage();
        break;
    }
    const auto& [page, defaultButton] = m_pageOfView.at(shown);
    const bool arrivedAtSummary = view == View::Summary && m_pages->currentWidget() != page;
    m_pages->setCurrentWidget(page);
    defaultButton->setDefault(true);
    if (view == View::CsvSettings) {
        openCsvSheet();
    }
    if (arrivedAtSummary) {
        emit importFinished();
    }
}

void ImportBankSheet::fillMainPage() {
    const QString& file = m_controller.fileName();
    m_fileLabel->setText(file.isEmpty() ? tr("No file chosen") : QFileInfo(file).fileName());
    m_fileLabel->setToolTip(file);
    const QString& hint = m_controller.downloadHint();
    m_downloadHint->setText(
        tr("Download the activity starting %1 from your bank's website, as an OFX, QFX, QIF or CSV file.")
            .arg(hint));
    m_downloadHint->setVisible(!hint.isEmpty());
    m_importButton->setEnabled(m_controller.canImport());
}

void ImportBankSheet::fillStatementPage() {
    m_statements->clear();
    for (const ImportFromBankController::StatementChoice& choice : m_controller.statementChoices()) {
        m_statements->addItem(choice.label);
    }
    m_statements->setCurrentRow(0);
    m_statementContinue->setEnabled(m_statements->count() > 0);
}

void ImportBankSheet::fillDateOrderPage() {
    const ImportFromBankController::DateOrderPrompt& prompt = m_controller.dateOrderPrompt();
    m_dateOrderExplanation->setText(prompt.explanation);
    m_sampleDate->setText(prompt.sampleText);
    m_dateOrder->setCurrentIndex(m_dateOrder->findData(prompt.selected.text()));
}

void ImportBankSheet::fillSummaryPage() {
    const ImportFromBankController::SummaryLines lines =
        ImportFromBankController::summaryLines(m_controller.summary());
    m_summaryTitle->setText(lines.title);
    m_summaryMatched->setText(lines.matched);
    m_summaryNew->setText(lines.newTransactions);
    m_summaryDuplicates->setText(lines.duplicates.value_or(QString()));
    m_summaryDuplicates->setVisible(lines.duplicates.has_value());
}

void ImportBankSheet::fillSettingsPage() {
    const ImportFromBankController::ImportSettings settings = m_controller.settings();
    m_specialBank->setCurrentIndex(
        static_cast<int>(ImportFromBankController::specialBankChoiceIndex(settings.specialBank)));
    m_settingsDateOrder->setCurrentIndex(
        m_settingsDateOrder->findData(settings.qifDateOrder ? settings.qifDateOrder->text() : QString()));
}

} // namespace vantrel::ui
