#include "app/CategoryFieldModel.h"

#include "app/CategoryTree.h"
#include "app/Workspace.h"
#include "model/CategoryVT.h"
#include "model/TextHelper.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

namespace {

Alert createQuestion(const QString& name) {
    return Alert{
        QStringLiteral("The category \"%1\" does not exist, do you want to create it?").arg(name),
        QStringLiteral("You can manage all of your categories in the application preferences panel."),
        {QStringLiteral("Create"), QStringLiteral("Cancel")}};
}

CategoryMenuEntry entryFor(const CategoryTreeRow& row) {
    if (row.isGroup) {
        return {CategoryMenuEntry::Kind::Group, row.name, QString(), row.depth, row.object, false};
    }
    const model::CategoryVT category(row.object);
    return {CategoryMenuEntry::Kind::Category,
            category.nameWithEmoji(),
            category.emoji(),
            row.depth,
            row.object,
            true};
}

CategoryMenuEntry separator() {
    return CategoryMenuEntry{};
}

CategoryMenuEntry titled(CategoryMenuEntry::Kind kind, const QString& title) {
    CategoryMenuEntry entry;
    entry.kind = kind;
    entry.title = title;
    return entry;
}

} // namespace

CategoryFieldModel::CategoryFieldModel(Workspace& workspace, objectstore::ManagedObject* category)
    : m_workspace(workspace) {
    setCategory(category);
}

objectstore::ManagedObject* CategoryFieldModel::category() const {
    return m_category ? m_workspace.context().object(*m_category) : nullptr;
}

void CategoryFieldModel::setCategory(objectstore::ManagedObject* category) {
    m_category = category != nullptr ? std::optional(category->id()) : std::nullopt;
}

QString CategoryFieldModel::text() const {
    objectstore::ManagedObject* chosen = category();
    return chosen != nullptr ? model::CategoryVT(chosen).name() : QString();
}

QStringList CategoryFieldModel::completions(const QString& typed) const {
    QStringList found;
    for (objectstore::ManagedObject* object : m_workspace.context().all(u"Category")) {
        const QString name = model::CategoryVT(object).name();
        if (!name.isNull() && name.startsWith(typed, Qt::CaseInsensitive)) {
            found.append(typed + name.mid(typed.size()));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

objectstore::ManagedObject* CategoryFieldModel::commitText(const QString& text) {
    if (model::TextHelper::isBlank_vt(text)) {
        setCategory(nullptr);
    } else if (const auto existing = model::CategoryVT::findByName(m_workspace.context(), text)) {
        setCategory(existing->object());
    } else if (m_workspace.alerts().present(createQuestion(text)) == 0) {
        setCategory(createCategory(text));
    }
    return category();
}

std::vector<CategoryMenuEntry> CategoryFieldModel::menuEntries() const {
    std::vector<CategoryMenuEntry> entries;
    entries.push_back(titled(CategoryMenuEntry::Kind::None, QStringLiteral("None")));
    entries.push_back(separator());
    for (const CategoryTreeRow& row : CategoryTree::rows(m_workspace.context())) {
        entries.push_back(entryFor(row));
    }
    entries.push_back(separator());
    entries.push_back(titled(CategoryMenuEntry::Kind::EditCategories, QStringLiteral("Edit Categories...")));
    return entries;
}

objectstore::ManagedObject* CategoryFieldModel::createCategory(const QString& name) {
    // Inserted with a zero limit in every budget; the editor the field belongs to saves it with the
    // rest of its changes.
    model::CategoryVT category = model::CategoryVT::insertInContext(m_workspace.context());
    category.setName(name);
    m_workspace.postCategoriesChanged();
    return category.object();
}

} // namespace vantrel::app
