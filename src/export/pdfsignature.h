// SPDX-License-Identifier: GPL-3.0-or-later
// Signing a PDF report digitally (PAdES B-B) with a PKCS#12 key, and checking such a signature.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>

struct evp_pkey_st;
struct x509_st;
struct stack_st_X509;

// A private key with its certificate and the chain certificates that came
// with it, as a PKCS#12 file holds them. Movable, not copyable.
struct SigningKey {
    struct KeyFree {
        void operator()(evp_pkey_st *key) const;
    };
    struct CertificateFree {
        void operator()(x509_st *certificate) const;
    };
    struct ChainFree {
        void operator()(stack_st_X509 *chain) const;
    };

    std::unique_ptr<evp_pkey_st, KeyFree> key;
    std::unique_ptr<x509_st, CertificateFree> certificate;
    // May be null: a .p12 with no chain certificates.
    std::unique_ptr<stack_st_X509, ChainFree> chain;
    // The certificate subject's common name (or the whole subject when it has none).
    QString signer;

    bool isNull() const { return !key || !certificate; }
};

// Reads the key, certificate and chain of the PKCS#12 file at `path`. False,
// with the reason in `error` when given, when the file cannot be read, the
// password is wrong or it holds no key with its certificate.
bool loadPkcs12(const QString &path, const QByteArray &password, SigningKey *key,
                QString *error = nullptr);

// Appends to the PDF `in` an incremental update with an invisible signature
// field on the first page and its signature dictionary (/Adobe.PPKLite,
// /ETSI.CAdES.detached, /M), whose /Contents is a detached CMS SignedData over
// the /ByteRange: SHA-256, the signer's certificate and chain, and the
// signing-certificate-v2 attribute. The whole file `in` stays the first bytes
// of `out`. `out` may be `in`; it replaces an earlier file only once it is
// complete. False, with the reason in `error` when given, leaving `out` as it
// was, when `in` is no PDF that can be updated or `out` cannot be written.
bool signPdf(const QString &in, const QString &out, const SigningKey &key,
             QString *error = nullptr);

// What a PDF's digital signature says, as checkPdfSignature() finds it.
struct PdfSignatureCheck {
    // The file carries a signature dictionary.
    bool signedPdf = false;
    // The CMS signature verifies over the bytes of its byte range.
    bool intact = false;
    // The byte range reaches the end of the file: nothing was appended after signing.
    bool coversWholeFile = false;
    // The signer certificate's common name.
    QString signer;
    // The signature dictionary's /M, invalid when it has none.
    QDateTime signedAt;
    // The signer certificate chains to a certificate of the CA file given.
    bool chainsToCa = false;
    // What is wrong, in words: empty for an intact signature over the whole
    // file (that chains, when a CA file was given), and for an unsigned file.
    QString problem;
};

// Checks the newest signature of the PDF at `path`; with `caFile`, a file of
// PEM certificates, also whether the signer's certificate chains to one of
// them (the chain certificates the signature carries may be the steps between).
PdfSignatureCheck checkPdfSignature(const QString &path, const QString &caFile = QString());
