#pragma once

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::model {

// Registers the validation rules of every entity on a context, so each save checks them.
class ModelValidation {
public:
    static void install(objectstore::Context& context);
};

} // namespace vantrel::model
