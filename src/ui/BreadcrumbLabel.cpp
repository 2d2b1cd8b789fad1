#include "ui/BreadcrumbLabel.h"

#include "text/MarkupParser.h"

#include <QMouseEvent>

namespace vantrel::ui {

BreadcrumbLabel::BreadcrumbLabel(QWidget* parent)
    : QLabel(parent) {
    setObjectName(QStringLiteral("breadcrumb"));
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

QString BreadcrumbLabel::htmlFromMarkup(const QString& markup) {
    QString html;
    for (const text::StyledRun& run : text::MarkupParser::parse(markup)) {
        QString piece = run.text.toHtmlEscaped();
        if (run.italic) {
            piece = QStringLiteral("<i>%1</i>").arg(piece);
        }
        if (run.bold) {
            piece = QStringLiteral("<b>%1</b>").arg(piece);
        }
        html += piece;
    }
    return html;
}

void BreadcrumbLabel::setBreadcrumb(const QString& side, const QString& markup, bool clickable) {
    m_clickable = clickable;
    const QString separator = QStringLiteral("&nbsp;&nbsp;\u203A&nbsp;&nbsp;");
    const QString sideHtml = clickable
                                 ? QStringLiteral("<span style=\"color:%1\">%2</span>")
                                       .arg(palette().color(QPalette::Link).name(), side.toHtmlEscaped())
                                 : side.toHtmlEscaped();
    setText(sideHtml + separator + htmlFromMarkup(markup));
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setToolTip(clickable ? QStringLiteral("Back to all categories") : QString());
}

void BreadcrumbLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (m_clickable && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace vantrel::ui
