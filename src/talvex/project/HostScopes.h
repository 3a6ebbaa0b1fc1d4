#pragma once

#include <QString>

// The host's paired operations as scope objects: whichever way a scope is left,
// by its end, a return or an exception, the second half of the pair runs.
namespace Host {

// The host's wait notice: removed when the scope ends. Removing without a notice
// shown is harmless, so a scope that never shows one still removes whatever a
// callee left up.
class WaitMessage
{
public:
    WaitMessage() = default;
    explicit WaitMessage(const QString &text) { show(text); }
    ~WaitMessage();

    WaitMessage(const WaitMessage &) = delete;
    WaitMessage &operator=(const WaitMessage &) = delete;

    void show(const QString &text) const;
};

// One host transaction, begun on construction and rolled back when the scope
// ends before commit().
class Transaction
{
public:
    Transaction();
    ~Transaction();

    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    bool m_open = true;
};

} // namespace Host
