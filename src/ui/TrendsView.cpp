#include "ui/TrendsView.h"

#include "app/TrendsViewModel.h"
#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "ui/LineChart.h"
#include "ui/TrendsLegendModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace vantrel::ui {

namespace {

constexpr int kRefusalHighlightMs = 1500;

} // namespace

TrendsView::TrendsView(app::Workspace& workspace, QWidget* parent)
    : QWidget(parent)
    , m_model(std::make_unique<app::TrendsViewModel>(workspace)) {
    setObjectName(QStringLiteral("trendsView"));

    auto* title = new QLabel(tr("Trends"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    title->setFont(titleFont);

    m_legendModel = new TrendsLegendModel(*m_model, this);
    m_legend = new QListView(this);
    m_legend->setObjectName(QStringLiteral("trendsLegend"));
    m_legend->setModel(m_legendModel);
    m_legend->setIconSize(QSize(18, 14));
    m_legend->setSpacing(1);
    m_legend->setFrameShape(QFrame::NoFrame);
    m_legend->setMinimumWidth(200);
    m_legend->setMaximumWidth(280);
    connect(m_legendModel, &TrendsLegendModel::selectionChanged, this, &TrendsView::showChart);
    connect(m_legendModel, &TrendsLegendModel::checkRefused, this, &TrendsView::showRefusal);

    m_hint = new QLabel(m_model->legendHint(), this);
    m_hint->setObjectName(QStringLiteral("trendsHint"));
    m_hint->setWordWrap(true);
    m_hint->setForegroundRole(QPalette::PlaceholderText);

    m_chart = new LineChart(this);

    auto* side = new QVBoxLayout;
    side->addWidget(m_legend, 1);
    side->addWidget(m_hint);
    auto* body = new QHBoxLayout;
    body->setSpacing(16);
    body->addLayout(side);
    body->addWidget(m_chart, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addLayout(body, 1);

    workspace.notifications().observe(QString::fromLatin1(platform::kRefreshAllViews), this,
                                      [this](const platform::Notification&) {
                                          // A hidden view catches up when it is shown again.
                                          if (isVisible()) {
                                              reload();
                                          }
                                      });
}

TrendsView::~TrendsView() = default;

void TrendsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        reload();
    }
}

void TrendsView::reload() {
    m_model->reload();
    m_legendModel->refresh();
    showChart();
}

void TrendsView::showChart() {
    m_chart->setData(m_model->chartData());
}

void TrendsView::showRefusal() {
    // Draws the eye to the limit for a moment; the selection itself stays as it was.
    QFont bold = m_hint->font();
    bold.setBold(true);
    m_hint->setFont(bold);
    QTimer::singleShot(kRefusalHighlightMs, m_hint, [hint = m_hint] {
        QFont regular = hint->font();
        regular.setBold(false);
        hint->setFont(regular);
    });
}

} // namespace vantrel::ui
