#pragma once

#include <QString>
#include <cstddef>

struct evp_md_ctx_st;

// SHA-256 through OpenSSL's libcrypto, which uses the processor's SHA instructions where it has
// them: the file check hashes every approved document, and Qt's own hash runs at half that speed.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Reset();
    void Add(const void* bytes, std::size_t size);
    // The digest of what was added since the reset, in lower-case hexadecimal.
    QString Hex();
    // The checksum of a file read whole; empty when it cannot be read.
    static QString OfFile(const QString& path);

private:
    evp_md_ctx_st* m_context;
};
