#include "ui/ImportProgressSheet.h"

#include "app/ImportFromAppController.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantrel::ui {

ImportProgressSheet::ImportProgressSheet(app::ImportFromAppController& controller, QWidget* parent)
    : QDialog(parent)
    , m_controller(controller) {
    setWindowTitle(tr("Importing"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    layout->addWidget(m_status);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setTextVisible(false);
    layout->addWidget(m_bar);
    auto* buttons = new QDialogButtonBox(this);
    m_abort = buttons->addButton(tr("Abort"), QDialogButtonBox::RejectRole);
    m_abort->setObjectName(QStringLiteral("abort"));
    connect(m_abort, &QPushButton::clicked, this, &ImportProgressSheet::abortRun);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    connect(&m_controller, &app::ImportFromAppController::progressChanged, this,
            &ImportProgressSheet::showProgress);
    connect(&m_controller, &app::ImportFromAppController::sheetChanged, this,
            &ImportProgressSheet::followSheet);
    showProgress();
}

void ImportProgressSheet::showProgress() {
    const vantrel::import::ImportProgress& progress = m_controller.progress();
    m_status->setText(progress.label);
    if (progress.indeterminate) {
        // No range: the bar only shows that the run is busy.
        m_bar->setRange(0, 0);
    } else {
        m_bar->setRange(0, progress.maximum);
        m_bar->setValue(progress.value);
    }
}

void ImportProgressSheet::followSheet() {
    if (m_controller.sheet() != app::ImportFromAppController::Sheet::Progress && isVisible()) {
        done(QDialog::Accepted);
    }
}

void ImportProgressSheet::abortRun() {
    m_controller.abort();
    // The run stops before its next transaction; one press is enough.
    m_abort->setEnabled(false);
}

void ImportProgressSheet::reject() {
    if (m_abort->isEnabled()) {
        abortRun();
    }
}

} // namespace vantrel::ui
