#pragma once

namespace vantrel::store {

// Whether the database is locked with a password. The password lock plugs in here; until it does,
// NoPasswordLock answers.
class PasswordLock {
public:
    virtual ~PasswordLock() = default;
    virtual bool hasPassword() const = 0;
};

class NoPasswordLock final : public PasswordLock {
public:
    bool hasPassword() const override { return false; }
};

} // namespace vantrel::store
