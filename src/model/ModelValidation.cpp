#include "model/ModelValidation.h"

#include "model/Account.h"
#include "model/CategoryLimit.h"
#include "model/CategoryVT.h"
#include "model/ScheduledItem.h"
#include "model/Split.h"
#include "model/Transaction.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

void ModelValidation::install(objectstore::Context& context) {
    context.setValidator(u"Account", &Account::validate);
    context.setValidator(u"Transaction", &Transaction::validate);
    context.setValidator(u"Split", &Split::validate);
    context.setValidator(u"Category", &CategoryVT::validate);
    context.setValidator(u"CategoryLimit", &CategoryLimit::validate);
    context.setValidator(u"ScheduledItem", &ScheduledItem::validate);
}

} // namespace vantrel::model
