#include "ui/CategoryField.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFont>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QStringListModel>
#include <QToolButton>

namespace vantrel::ui {

namespace {

QString menuText(const app::CategoryMenuEntry& entry) {
    // Menus have no indentation of their own; a group's categories are set in by spaces.
    const QString indent(entry.indentation * 4, QLatin1Char(' '));
    const QString title =
        entry.emoji.isEmpty() ? entry.title : entry.emoji + QStringLiteral("  ") + entry.title;
    return indent + title;
}

} // namespace

CategoryField::CategoryField(app::Workspace& workspace, QWidget* parent)
    : QWidget(parent)
    , m_model(workspace) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("categoryEdit"));
    m_edit->setPlaceholderText(tr("Category"));
    m_edit->setAccessibleName(tr("Category"));
    layout->addWidget(m_edit, 1);

    m_completions = new QStringListModel(this);
    m_completer = new QCompleter(m_completions, this);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_edit->setCompleter(m_completer);

    m_menu = new QMenu(this);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("categoryMenuButton"));
    m_button->setArrowType(Qt::DownArrow);
    m_button->setToolTip(tr("Choose a category"));
    m_button->setMenu(m_menu);
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_button);

    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textEdited, this, &CategoryField::offerCompletions);
    connect(m_edit, &QLineEdit::editingFinished, this, [this] {
        if (!isCompleting()) {
            commit();
        }
    });
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& text) {
                m_edit->setText(text);
                commit();
                // The line edit puts the completion's spelling in after this; the chosen name
                // follows it.
                QMetaObject::invokeMethod(this, &CategoryField::showChosen, Qt::QueuedConnection);
            });
    connect(m_menu, &QMenu::aboutToShow, this, &CategoryField::fillMenu);
}

void CategoryField::setCategory(objectstore::ManagedObject* category) {
    m_model.setCategory(category);
    showChosen();
}

bool CategoryField::isCompleting() const {
    return m_completer->popup() != nullptr && m_completer->popup()->isVisible();
}

void CategoryField::commit() {
    const QString typed = m_edit->text();
    if (typed == m_model.text()) {
        return;
    }
    // An unknown name asks whether to create it; "Cancel" keeps the previous choice.
    m_model.commitText(typed);
    showChosen();
    emit categoryChosen(m_model.category());
}

void CategoryField::offerCompletions(const QString& typed) {
    m_completions->setStringList(typed.isEmpty() ? QStringList() : m_model.completions(typed));
}

void CategoryField::fillMenu() {
    m_menu->clear();
    for (const app::CategoryMenuEntry& entry : m_model.menuEntries()) {
        using Kind = app::CategoryMenuEntry::Kind;
        if (entry.kind == Kind::Separator) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(menuText(entry));
        action->setEnabled(entry.enabled);
        switch (entry.kind) {
        case Kind::None:
            connect(action, &QAction::triggered, this, [this] { choose(nullptr); });
            break;
        case Kind::Group: {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            break;
        }
        case Kind::Category: {
            objectstore::ManagedObject* category = entry.object;
            action->setCheckable(true);
            action->setChecked(category == m_model.category());
            connect(action, &QAction::triggered, this, [this, category] { choose(category); });
            break;
        }
        case Kind::EditCategories:
            connect(action, &QAction::triggered, this, &CategoryField::editCategoriesRequested);
            break;
        case Kind::Separator:
            break;
        }
    }
}

void CategoryField::choose(objectstore::ManagedObject* category) {
    m_model.setCategory(category);
    showChosen();
    emit categoryChosen(category);
}

void CategoryField::showChosen() {
    m_edit->setText(m_model.text());
}

} // namespace vantrel::ui
