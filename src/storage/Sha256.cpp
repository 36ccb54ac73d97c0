#include "storage/Sha256.h"

#include <QFile>
#include <openssl/evp.h>
#include <vector>

Sha256::Sha256() : m_context(EVP_MD_CTX_new())
{
    Reset();
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(m_context);
}

void Sha256::Reset()
{
    EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr);
}

void Sha256::Add(const void* bytes, std::size_t size)
{
    EVP_DigestUpdate(m_context, bytes, size);
}

QString Sha256::Hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(m_context, digest, &size);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), int(size)).toHex());
}

QString Sha256::OfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    Sha256 hash;
    std::vector<char> buffer(256 * 1024);
    for (qint64 got; (got = file.read(buffer.data(), qint64(buffer.size()))) != 0;) {
        if (got < 0)
            return QString();
        hash.Add(buffer.data(), std::size_t(got));
    }
    return hash.Hex();
}
