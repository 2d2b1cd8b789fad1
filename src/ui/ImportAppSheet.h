#pragma once

#include "app/ImportFromAppController.h"
#include "model/Account.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace vantrel::ui {

class CsvMappingSheet;
class ImportProgressSheet;

// "Import from another application": choose a QIF or CSV file another program exported, pick the
// account for a file of one account's transactions, map CSV columns, watch the background run and
// answer the date-format sheet when the dates do not settle. ImportFromAppController decides every
// step; this sheet follows its sheet() and opens the CSV mapping and the progress sheets in front.
class ImportAppSheet : public QDialog {
    Q_OBJECT

public:
    // The controller outlives the sheet (it owns the run's thread).
    explicit ImportAppSheet(app::ImportFromAppController& controller, QWidget* parent = nullptr);

    // "Exported Files (*.qif ... *.csv ...)".
    static QString fileDialogFilter();

    // Opens the sheet with nothing chosen.
    void start();
    // Opens the sheet with `path` chosen, as the file chooser would leave it; Import starts it.
    void startWithFile(const QString& path);
    // The file chooser, in front of the sheet.
    void chooseFile();

    // Main.
    QLabel* fileLabel() const { return m_fileLabel; }
    QCheckBox* askForDateFormatBox() const { return m_askForDateFormat; }
    QPushButton* importButton() const { return m_importButton; }
    // Account selection.
    QComboBox* accountBox() const { return m_accountBox; }
    QPushButton* accountContinueButton() const { return m_accountContinue; }
    // Date-format sheet.
    QLabel* dateFormatTitleLabel() const { return m_dateFormatTitle; }
    QLabel* dateFormatMessageLabel() const { return m_dateFormatMessage; }
    QLabel* sampleDateLabel() const { return m_sampleDate; }
    QComboBox* dateFormatBox() const { return m_dateFormat; }
    QPushButton* dateFormatOkButton() const { return m_dateFormatOk; }
    // The sheets in front while they are open.
    CsvMappingSheet* csvSheet() const;
    ImportProgressSheet* progressSheet() const;

    // Escape: from the account choice and the date-format sheet back to the main sheet; from the
    // main sheet closes.
    void reject() override;

signals:
    // A run finished and its data is in the main context and saved: the window reloads its views
    // and the sidebar. Announced after the controller has finished the run.
    void importFinished();

private:
    using Sheet = app::ImportFromAppController::Sheet;

    QWidget* buildMainPage();
    QWidget* buildAccountPage();
    QWidget* buildDateFormatPage();

    void followSheet();
    void fillMainPage();
    void fillAccountPage();
    void fillDateFormatPage();
    void openCsvSheet();
    void openProgressSheet();
    void closeSheetsInFront(Sheet keeping);
    void continueWithAccount();
    void confirmDateFormat();

    app::ImportFromAppController& m_controller;
    std::vector<model::Account> m_accounts;
    bool m_cancelling = false;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_mainPage = nullptr;
    QWidget* m_accountPage = nullptr;
    QWidget* m_dateFormatPage = nullptr;
    QPointer<CsvMappingSheet> m_csvSheet;
    QPointer<ImportProgressSheet> m_progressSheet;

    QLabel* m_fileLabel = nullptr;
    QCheckBox* m_askForDateFormat = nullptr;
    QPushButton* m_importButton = nullptr;
    QComboBox* m_accountBox = nullptr;
    QPushButton* m_accountContinue = nullptr;
    QLabel* m_dateFormatTitle = nullptr;
    QLabel* m_dateFormatMessage = nullptr;
    QLabel* m_sampleDate = nullptr;
    QComboBox* m_dateFormat = nullptr;
    QPushButton* m_dateFormatOk = nullptr;
};

} // namespace vantrel::ui
