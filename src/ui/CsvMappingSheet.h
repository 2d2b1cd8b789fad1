#pragma once

#include "app/CsvMappingModel.h"
#include "import/CsvRows.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace vantrel::ui {

class CsvPreviewTableModel;

// "CSV Import Settings": the file's rows in a table whose column headers the user clicks to say
// which field each column holds, the boxes for a header row and the amount layout, and Import.
// Everything it shows and allows comes from CsvMappingModel; a mapping that does not read keeps
// the sheet open with the model's problem message.
class CsvMappingSheet : public QDialog {
    Q_OBJECT

public:
    // `importFromBank` false is the import from another application: payee optional, more fields,
    // nothing remembered.
    CsvMappingSheet(bool importFromBank, import::CsvRows rows, QWidget* parent = nullptr);
    ~CsvMappingSheet() override;

    const app::CsvMappingModel& mapping() const { return m_mapping; }
    // The bank import offers to forget the account's remembered columns while it has some.
    void setForgetOffered(bool offered);

    QTableView* table() const { return m_table; }
    CsvPreviewTableModel* previewModel() const { return m_preview; }
    QLabel* instructionLabel() const { return m_instruction; }
    QLabel* problemLabel() const { return m_problem; }
    QLabel* explanationLabel() const { return m_explanation; }
    QCheckBox* hasHeaderBox() const { return m_hasHeader; }
    QCheckBox* separateSignBox() const { return m_separateSign; }
    QCheckBox* depositWithdrawalBox() const { return m_depositWithdrawal; }
    QCheckBox* rememberBox() const { return m_remember; }
    QPushButton* importButton() const { return m_import; }
    QPushButton* forgetButton() const { return m_forget; }

    // Pops up the field menu of a column header, as clicking the header does.
    QMenu* popUpMenuForColumn(int column);

    void reject() override;

signals:
    void mappingFinished(const vantrel::app::CsvMappingModel::Finished& finished);
    void mappingCancelled();
    void forgetSettingsRequested();

private:
    void buildLayout();
    void fitColumns();
    void chooseItem(const app::CsvMappingModel::MenuItem& item, int column);
    void boxChanged(QCheckBox* box, bool ticked);
    void refresh();
    void showProblem(const QString& message, const QString& explanation);
    void importRows();

    app::CsvMappingModel m_mapping;
    CsvPreviewTableModel* m_preview = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_instruction = nullptr;
    QLabel* m_problem = nullptr;
    QLabel* m_explanation = nullptr;
    QCheckBox* m_hasHeader = nullptr;
    QCheckBox* m_separateSign = nullptr;
    QCheckBox* m_depositWithdrawal = nullptr;
    QCheckBox* m_remember = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_forget = nullptr;
};

} // namespace vantrel::ui
