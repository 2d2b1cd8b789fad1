#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QListView;

namespace vantrel::app {
class TrendsViewModel;
class Workspace;
} // namespace vantrel::app

namespace vantrel::ui {

class LineChart;
class TrendsLegendModel;

// Monthly trends over the whole history: the legend of series with check boxes on the left, the
// line chart of the checked ones beside it.
class TrendsView : public QWidget {
    Q_OBJECT

public:
    TrendsView(app::Workspace& workspace, QWidget* parent = nullptr);
    ~TrendsView() override;

    // Recomputes every checked series. Done by itself each time the view is shown and when all
    // views are refreshed while it is visible.
    void reload();

    app::TrendsViewModel& viewModel() const { return *m_model; }
    QListView* legend() const { return m_legend; }
    TrendsLegendModel* legendModel() const { return m_legendModel; }
    LineChart* chart() const { return m_chart; }
    QLabel* hint() const { return m_hint; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showChart();
    void showRefusal();

    std::unique_ptr<app::TrendsViewModel> m_model;
    QListView* m_legend = nullptr;
    TrendsLegendModel* m_legendModel = nullptr;
    LineChart* m_chart = nullptr;
    QLabel* m_hint = nullptr;
};

} // namespace vantrel::ui
