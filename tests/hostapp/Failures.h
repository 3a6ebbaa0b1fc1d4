#pragma once

#include "hostapp/db/DbFailure.h"

#include <optional>

// What an action failed with: the data layer's message, or the kind of failure
// the operator is told about. Empty when the action did not fail.

template <typename Action> QString errorOf(Action action)
{
    try {
        action();
    } catch (const Rt::DatabaseError &e) {
        return e.message();
    }
    return QString();
}

template <typename Action> std::optional<DbFailure> failureOf(Action action)
{
    try {
        action();
    } catch (const DbError &e) {
        return e.failure();
    }
    return std::nullopt;
}
