#include "ui/ImportAppSheet.h"

#include "ui/CsvMappingSheet.h"
#include "ui/ImportFileFilter.h"
#include "ui/ImportProgressSheet.h"
#include "ui/SheetLabels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrel::ui {

namespace {

using app::DateFormatItem;
using app::DateFormatSheet;

} // namespace

ImportAppSheet::ImportAppSheet(app::ImportFromAppController& controller, QWidget* parent)
    : QDialog(parent)
    , m_controller(controller) {
    setWindowTitle(tr("Import from Another Application"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);
    m_mainPage = buildMainPage();
    m_accountPage = buildAccountPage();
    m_dateFormatPage = buildDateFormatPage();
    for (QWidget* page : {m_mainPage, m_accountPage, m_dateFormatPage}) {
        m_pages->addWidget(page);
    }
    setMinimumWidth(460);
    connect(&m_controller, &app::ImportFromAppController::sheetChanged, this, &ImportAppSheet::followSheet);
}

QString ImportAppSheet::fileDialogFilter() {
    return ImportFileFilter::nameFilter(tr("Exported Files"),
                                        app::ImportFromAppController::allowedFileExtensions());
}

// ---- Pages ---------------------------------------------------------------------------------------

QWidget* ImportAppSheet::buildMainPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* intro = new QLabel(tr("Choose a QIF or CSV file that another personal-finance program exported. "
                                "A QIF file with its own account list creates those accounts."),
                             page);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout();
    auto* fileRow = new QHBoxLayout();
    m_fileLabel = new QLabel(page);
    m_fileLabel->setObjectName(QStringLiteral("fileName"));
    m_fileLabel->setTextFormat(Qt::PlainText);
    m_fileLabel->setMinimumWidth(220);
    auto* choose = new QPushButton(tr("Choose File..."), page);
    choose->setObjectName(QStringLiteral("chooseFile"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &ImportAppSheet::chooseFile);
    fileRow->addWidget(m_fileLabel, 1);
    fileRow->addWidget(choose);
    auto* fileCaption = new QLabel(tr("&File:"), page);
    fileCaption->setBuddy(choose);
    form->addRow(fileCaption, fileRow);
    layout->addLayout(form);

    m_askForDateFormat = new QCheckBox(tr("Let me confirm the date format before importing"), page);
    m_askForDateFormat->setObjectName(QStringLiteral("askForDateFormat"));
    connect(m_askForDateFormat, &QCheckBox::toggled, this,
            [this](bool ticked) { m_controller.setShouldAskForDateFormat(ticked); });
    layout->addWidget(m_askForDateFormat);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportAppSheet::reject);
    m_importButton = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_importButton->setObjectName(QStringLiteral("import"));
    m_importButton->setDefault(true);
    connect(m_importButton, &QPushButton::clicked, this, [this] { m_controller.import(); });
    layout->addWidget(buttons);
    return page;
}

QWidget* ImportAppSheet::buildAccountPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* intro = new QLabel(tr("The file holds the transactions of one account. Choose the account to add "
                                "them to."),
                             page);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout();
    m_accountBox = new QComboBox(page);
    m_accountBox->setObjectName(QStringLiteral("account"));
    auto* caption = new QLabel(tr("&Account:"), page);
    caption->setBuddy(m_accountBox);
    form->addRow(caption, m_accountBox);
    layout->addLayout(form);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportAppSheet::reject);
    m_accountContinue = buttons->addButton(tr("Continue"), QDialogButtonBox::AcceptRole);
    m_accountContinue->setObjectName(QStringLiteral("continueWithAccount"));
    connect(m_accountContinue, &QPushButton::clicked, this, &ImportAppSheet::continueWithAccount);
    layout->addWidget(buttons);
    return page;
}

QWidget* ImportAppSheet::buildDateFormatPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_dateFormatTitle = wrappingLabel(page, QStringLiteral("dateFormatTitle"));
    QFont bold = m_dateFormatTitle->font();
    bold.setBold(true);
    m_dateFormatTitle->setFont(bold);
    layout->addWidget(m_dateFormatTitle);
    m_dateFormatMessage = wrappingLabel(page, QStringLiteral("dateFormatMessage"));
    layout->addWidget(m_dateFormatMessage);

    auto* form = new QFormLayout();
    m_sampleDate = new QLabel(page);
    m_sampleDate->setObjectName(QStringLiteral("sampleDate"));
    m_sampleDate->setTextFormat(Qt::PlainText);
    m_sampleDate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(tr("Date in the file:"), m_sampleDate);
    m_dateFormat = new QComboBox(page);
    m_dateFormat->setObjectName(QStringLiteral("dateFormat"));
    auto* caption = new QLabel(tr("&Date format:"), page);
    caption->setBuddy(m_dateFormat);
    form->addRow(caption, m_dateFormat);
    layout->addLayout(form);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(page);
    connect(buttons->addButton(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ImportAppSheet::reject);
    m_dateFormatOk = buttons->addButton(QDialogButtonBox::Ok);
    m_dateFormatOk->setObjectName(QStringLiteral("confirmDateFormat"));
    connect(m_dateFormatOk, &QPushButton::clicked, this, &ImportAppSheet::confirmDateFormat);
    layout->addWidget(buttons);
    return page;
}

// ---- The sheets in front ----------------------------------------------------------------------

CsvMappingSheet* ImportAppSheet::csvSheet() const {
    return m_csvSheet;
}

ImportProgressSheet* ImportAppSheet::progressSheet() const {
    return m_progressSheet;
}

// ---- Steps ---------------------------------------------------------------------------------------

void ImportAppSheet::start() {
    m_cancelling = false;
    m_controller.openSheet();
    open();
}

void ImportAppSheet::startWithFile(const QString& path) {
    start();
    m_controller.chooseFile(path);
    fillMainPage();
}

void ImportAppSheet::chooseFile() {
    auto* dialog = new QFileDialog(this, tr("Choose an Exported File"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(fileDialogFilter());
    if (!m_controller.chosenFile().isEmpty()) {
        dialog->setDirectory(QFileInfo(m_controller.chosenFile()).absolutePath());
    }
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        m_controller.chooseFile(path);
        fillMainPage();
    });
    dialog->open();
}

void ImportAppSheet::continueWithAccount() {
    const int index = m_accountBox->currentIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < m_accounts.size()) {
        m_controller.chooseAccount(m_accounts[static_cast<std::size_t>(index)].object());
    }
}

void ImportAppSheet::confirmDateFormat() {
    m_controller.selectDateFormatItem(static_cast<DateFormatItem>(m_dateFormat->currentData().toInt()));
    m_controller.confirmDateFormat();
}

void ImportAppSheet::reject() {
    switch (m_controller.sheet()) {
    case Sheet::AccountSelection:
        m_controller.cancelAccountSelection();
        return;
    case Sheet::DateFormat:
        m_controller.cancelDateFormat();
        return;
    case Sheet::Main:
        m_cancelling = true;
        m_controller.closeSheet();
        return;
    case Sheet::Closed:
        QDialog::reject();
        return;
    case Sheet::CsvSettings:
    case Sheet::Progress:
        // Their own sheets in front answer Escape.
        return;
    }
}

// ---- Following the controller --------------------------------------------------------------------

void ImportAppSheet::followSheet() {
    const Sheet sheet = m_controller.sheet();
    closeSheetsInFront(sheet);
    switch (sheet) {
    case Sheet::Closed:
        if (m_cancelling) {
            QDialog::reject();
        } else {
            accept();
            // The controller merges, refreshes and saves after it has closed the sheet.
            QMetaObject::invokeMethod(this, &ImportAppSheet::importFinished, Qt::QueuedConnection);
        }
        m_cancelling = false;
        return;
    case Sheet::Main:
    case Sheet::CsvSettings:
    case Sheet::Progress:
        fillMainPage();
        m_pages->setCurrentWidget(m_mainPage);
        m_importButton->setDefault(true);
        break;
    case Sheet::AccountSelection:
        fillAccountPage();
        m_pages->setCurrentWidget(m_accountPage);
        m_accountContinue->setDefault(true);
        break;
    case Sheet::DateFormat:
        fillDateFormatPage();
        m_pages->setCurrentWidget(m_dateFormatPage);
        m_dateFormatOk->setDefault(true);
        break;
    }
    if (sheet == Sheet::CsvSettings) {
        openCsvSheet();
    } else if (sheet == Sheet::Progress) {
        openProgressSheet();
    }
}

void ImportAppSheet::closeSheetsInFront(Sheet keeping) {
    // done() rather than reject(): closed for the controller, not by the user.
    if (keeping != Sheet::CsvSettings && m_csvSheet && m_csvSheet->isVisible()) {
        m_csvSheet->done(QDialog::Rejected);
    }
    if (keeping != Sheet::Progress && m_progressSheet && m_progressSheet->isVisible()) {
        m_progressSheet->done(QDialog::Accepted);
    }
}

void ImportAppSheet::fillMainPage() {
    const QString& file = m_controller.chosenFile();
    m_fileLabel->setText(file.isEmpty() ? tr("No file chosen") : QFileInfo(file).fileName());
    m_fileLabel->setToolTip(file);
    const QSignalBlocker quiet(m_askForDateFormat);
    m_askForDateFormat->setChecked(m_controller.shouldAskForDateFormat());
    m_importButton->setEnabled(m_controller.isImportEnabled());
}

void ImportAppSheet::fillAccountPage() {
    m_accounts = m_controller.selectableAccounts();
    m_accountBox->clear();
    const objectstore::ManagedObject* preselected = m_controller.preselectedAccount();
    for (const model::Account& account : m_accounts) {
        m_accountBox->addItem(account.name());
        if (account.object() == preselected) {
            m_accountBox->setCurrentIndex(m_accountBox->count() - 1);
        }
    }
    m_accountContinue->setEnabled(!m_accounts.empty());
}

void ImportAppSheet::fillDateFormatPage() {
    const std::optional<DateFormatSheet>& shown = m_controller.dateFormatSheet();
    if (!shown) {
        return;
    }
    m_dateFormatTitle->setText(shown->title);
    m_dateFormatMessage->setText(shown->message);
    m_sampleDate->setText(shown->sampleText);
    m_dateFormat->clear();
    for (const DateFormatItem item : shown->visibleItems) {
        m_dateFormat->addItem(DateFormatSheet::itemTitle(item), static_cast<int>(item));
    }
    m_dateFormat->setCurrentIndex(m_dateFormat->findData(static_cast<int>(shown->selectedItem)));
}

void ImportAppSheet::openCsvSheet() {
    if (m_csvSheet || !m_controller.csvRows()) {
        return;
    }
    m_csvSheet = new CsvMappingSheet(false, *m_controller.csvRows(), this);
    m_csvSheet->setAttribute(Qt::WA_DeleteOnClose);
    // Forgotten as soon as it closes, though deleted only later.
    connect(m_csvSheet, &QDialog::finished, this, [this] { m_csvSheet = nullptr; });
    connect(m_csvSheet, &CsvMappingSheet::mappingFinished, this,
            [this](const app::CsvMappingModel::Finished& finished) {
                m_controller.csvMappingFinished(std::get<vantrel::import::ImportedAccount>(finished.result));
            });
    connect(m_csvSheet, &CsvMappingSheet::mappingCancelled, this,
            [this] { m_controller.csvMappingCancelled(); });
    m_csvSheet->open();
}

void ImportAppSheet::openProgressSheet() {
    if (m_progressSheet) {
        return;
    }
    m_progressSheet = new ImportProgressSheet(m_controller, this);
    m_progressSheet->setAttribute(Qt::WA_DeleteOnClose);
    // Forgotten as soon as it closes, though deleted only later.
    connect(m_progressSheet, &QDialog::finished, this, [this] { m_progressSheet = nullptr; });
    m_progressSheet->open();
}

} // namespace vantrel::ui
