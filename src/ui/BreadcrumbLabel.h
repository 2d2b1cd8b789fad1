#pragma once

#include <QLabel>

namespace vantrel::ui {

// The breakdown's breadcrumb: the side, then "All Categories" or the group drilled into, its
// bold and italic marks shown as such. While inside a group the whole label is a way back.
class BreadcrumbLabel : public QLabel {
    Q_OBJECT

public:
    explicit BreadcrumbLabel(QWidget* parent = nullptr);

    void setBreadcrumb(const QString& side, const QString& markup, bool clickable);
    bool isClickable() const { return m_clickable; }
    // Markup to HTML for a rich-text label; the text itself is escaped.
    static QString htmlFromMarkup(const QString& markup);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_clickable = false;
};

} // namespace vantrel::ui
