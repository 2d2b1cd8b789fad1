#pragma once

#include "app/ImportFromBankController.h"
#include "model/Account.h"

#include <QDialog>
#include <QPointer>

#include <map>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class CsvMappingSheet;

// "Import From Bank" for one account: choose a bank's activity file, import it, and on the way pick
// a statement, map CSV columns, name the date order, or change the account's import settings; ends
// with the summary. One page per view of ImportFromBankController, which decides everything; this
// sheet shows the controller's view after each step. CSV columns are mapped in a CsvMappingSheet
// opened on top.
class ImportBankSheet : public QDialog {
    Q_OBJECT

public:
    ImportBankSheet(app::Workspace& workspace, model::Account account, QWidget* parent = nullptr);
    ~ImportBankSheet() override;

    // "Bank Files (*.ofx ... *.csv ...)".
    static QString fileDialogFilter();

    // Opens the sheet on its main view, nothing chosen yet.
    void start();
    // Opens the sheet with `path` chosen, as the file chooser would leave it (Import then reads
    // it). False, and nothing chosen, for a file that is not a bank file.
    bool startWithFile(const QString& path);
    // The file chooser, in front of the sheet.
    void chooseFile();

    const app::ImportFromBankController& controller() const { return m_controller; }

    // Main view.
    QLabel* fileLabel() const { return m_fileLabel; }
    QLabel* downloadHintLabel() const { return m_downloadHint; }
    QPushButton* importButton() const { return m_importButton; }
    QPushButton* settingsButton() const { return m_settingsButton; }
    // Account selection.
    QListWidget* statementList() const { return m_statements; }
    QPushButton* statementContinueButton() const { return m_statementContinue; }
    // Date-order prompt.
    QLabel* sampleDateLabel() const { return m_sampleDate; }
    QLabel* dateOrderExplanationLabel() const { return m_dateOrderExplanation; }
    QComboBox* dateOrderBox() const { return m_dateOrder; }
    QPushButton* dateOrderContinueButton() const { return m_dateOrderContinue; }
    // Summary.
    QLabel* summaryTitleLabel() const { return m_summaryTitle; }
    QLabel* summaryMatchedLabel() const { return m_summaryMatched; }
    QLabel* summaryNewLabel() const { return m_summaryNew; }
    QLabel* summaryDuplicatesLabel() const { return m_summaryDuplicates; }
    QPushButton* doneButton() const { return m_doneButton; }
    // Import settings.
    QComboBox* specialBankBox() const { return m_specialBank; }
    QComboBox* settingsDateOrderBox() const { return m_settingsDateOrder; }
    QPushButton* saveSettingsButton() const { return m_saveSettings; }
    // The CSV mapping sheet while it is open.
    CsvMappingSheet* csvSheet() const;

    // Escape: back to the main view from the others, closes the sheet from the main view and the
    // summary.
    void reject() override;

signals:
    // The file was merged and saved: the window reloads its views and the sidebar.
    void importFinished();

private:
    using View = app::ImportFromBankController::View;

    QWidget* buildMainPage();
    QWidget* buildStatementPage();
    QWidget* buildDateOrderPage();
    QWidget* buildSummaryPage();
    QWidget* buildSettingsPage();
    void addPage(View view, QWidget* page, QPushButton* defaultButton);

    void selectFile(const QString& path);
    void importChosenFile();
    void continueWithStatement();
    void continueWithDateOrder();
    void openSettings();
    void saveSettings();
    void openCsvSheet();
    void closeCsvSheet();
    // Shows the controller's view after each step; arriving at the summary announces the import.
    void showView();
    void fillMainPage();
    void fillStatementPage();
    void fillDateOrderPage();
    void fillSummaryPage();
    void fillSettingsPage();

    app::ImportFromBankController m_controller;
    QStackedWidget* m_pages = nullptr;
    std::map<View, std::pair<QWidget*, QPushButton*>> m_pageOfView;
    QPointer<CsvMappingSheet> m_csvSheet;

    QLabel* m_fileLabel = nullptr;
    QLabel* m_downloadHint = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_settingsButton = nullptr;
    QListWidget* m_statements = nullptr;
    QPushButton* m_statementContinue = nullptr;
    QLabel* m_sampleDate = nullptr;
    QLabel* m_dateOrderExplanation = nullptr;
    QComboBox* m_dateOrder = nullptr;
    QPushButton* m_dateOrderContinue = nullptr;
    QLabel* m_summaryTitle = nullptr;
    QLabel* m_summaryMatched = nullptr;
    QLabel* m_summaryNew = nullptr;
    QLabel* m_summaryDuplicates = nullptr;
    QPushButton* m_doneButton = nullptr;
    QComboBox* m_specialBank = nullptr;
    QComboBox* m_settingsDateOrder = nullptr;
    QPushButton* m_saveSettings = nullptr;
};

} // namespace vantrel::ui
