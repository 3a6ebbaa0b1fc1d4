#pragma once

#include <QString>

// Operators' passwords as they are kept: libsodium's Argon2id string
// ("$argon2id$v=19$m=...,t=...,p=1$SALT$HASH"), salted and at the library's
// interactive cost, so that a copied database file costs whoever guesses at it
// that much memory and time per guess. The clear password is never stored.
namespace PasswordHash {

// A new hash of the password, with a salt of its own. Raises Rt::Exception when
// the memory it needs cannot be had.
QString make(const QString &password);

// Whether password is the one hashed into hash; false for a hash that is no
// Argon2id string at all.
bool matches(const QString &hash, const QString &password);

} // namespace PasswordHash
