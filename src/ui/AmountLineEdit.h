#pragma once

#include "model/Amount.h"
#include "model/AmountFieldModel.h"
#include "model/IcuBridge.h"

#include <QLineEdit>

#include <optional>

namespace vantrel::ui {

// The amount entry field of the editors: a line edit over model::AmountFieldModel. Focusing an empty
// field that assumes the sign pre-fills a minus sign, so amounts are expenses unless the user deletes
// it; leaving the field shows the amount formatted.
class AmountLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit AmountLineEdit(QWidget* parent = nullptr,
                            const QString& localeId = model::IcuBridge::systemLocaleId());

    model::AmountFieldModel& fieldModel() { return m_field; }

    // The amount shown, rounded as it is interpreted; nothing while the field is empty, holds only a
    // minus sign or is not an amount.
    std::optional<model::Amount> value() const;
    // Whether the text reads as an amount (empty text does).
    bool isValid() const;
    // Shows `value` formatted; nothing empties the field.
    void setValue(const std::optional<model::Amount>& value);

signals:
    // The user changed the text and it reads as an amount (or is empty).
    void valueEdited(const std::optional<vantrel::model::Amount>& value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showFieldText();
    void textWasEdited(const QString& text);
    void showValidity();

    model::AmountFieldModel m_field;
};

} // namespace vantrel::ui
