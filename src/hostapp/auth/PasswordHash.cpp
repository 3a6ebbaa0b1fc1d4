#include "PasswordHash.h"

#include "runtime/exceptions.h"

#include <sodium.h>

using namespace Qt::StringLiterals;

namespace PasswordHash {

namespace {

void initialize()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw Rt::Exception(u"无法初始化密码库 libsodium。"_s);
}

} // namespace

QString make(const QString &password)
{
    initialize();
    const QByteArray clear = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, clear.constData(), quint64(clear.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0) {
        throw Rt::Exception(u"内存不足，无法计算密码的散列值。请关闭其他程序后再试。"_s);
    }
    return QString::fromLatin1(hash);
}

bool matches(const QString &hash, const QString &password)
{
    initialize();
    const QByteArray stored = hash.toLatin1();
    if (!stored.startsWith("$argon2id$"))
        return false;
    const QByteArray clear = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), clear.constData(), quint64(clear.size()))
           == 0;
}

} // namespace PasswordHash
