// SPDX-License-Identifier: GPL-3.0-or-later
// Signing a PDF report digitally (PAdES B-B) with a PKCS#12 key, and checking such a signature.
#include "export/pdfsignature.h"

#include "export/exportfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/ess.h>
#include <openssl/evp.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <podofo/podofo.h>

#include <limits>

void SigningKey::KeyFree::operator()(evp_pkey_st *key) const
{
    EVP_PKEY_free(key);
}

void SigningKey::CertificateFree::operator()(x509_st *certificate) const
{
    X509_free(certificate);
}

void SigningKey::ChainFree::operator()(stack_st_X509 *chain) const
{
    sk_X509_pop_free(chain, X509_free);
}

namespace
{

struct BioFree {
    void operator()(BIO *bio) const { BIO_free(bio); }
};
struct Pkcs12Free {
    void operator()(PKCS12 *p12) const { PKCS12_free(p12); }
};
struct CmsFree {
    void operator()(CMS_ContentInfo *cms) const { CMS_ContentInfo_free(cms); }
};
struct StoreFree {
    void operator()(X509_STORE *store) const { X509_STORE_free(store); }
};
struct StoreContextFree {
    void operator()(X509_STORE_CTX *context) const { X509_STORE_CTX_free(context); }
};
struct ChainFree {
    void operator()(STACK_OF(X509) * chain) const { sk_X509_pop_free(chain, X509_free); }
};
struct SigningCertificateFree {
    void operator()(ESS_SIGNING_CERT_V2 *attribute) const { ESS_SIGNING_CERT_V2_free(attribute); }
};

using Bio = std::unique_ptr<BIO, BioFree>;
using Cms = std::unique_ptr<CMS_ContentInfo, CmsFree>;

bool failWith(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// OpenSSL's reason for the latest failure, emptying its queue.
QString opensslReason()
{
    const unsigned long code = ERR_peek_last_error();
    ERR_clear_error();
    if (code == 0)
        return QStringLiteral("unknown failure");
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return QString::fromLatin1(text);
}

QString podofoReason(const PoDoFo::PdfError &e)
{
    const char *message = PoDoFo::PdfError::ErrorMessage(e.GetError());
    if (message && *message)
        return QString::fromLatin1(message);
    return QString::fromLatin1(PoDoFo::PdfError::ErrorName(e.GetError()));
}

Bio memoryBio(const QByteArray &bytes)
{
    return Bio(BIO_new_mem_buf(bytes.constData(), bytes.size()));
}

QString commonName(X509 *certificate)
{
    X509_NAME *subject = X509_get_subject_name(certificate);
    const int at = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (at < 0) {
        char text[512];
        X509_NAME_oneline(subject, text, sizeof text);
        return QString::fromUtf8(text);
    }
    unsigned char *utf8 = nullptr;
    const int length =
        ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at)));
    if (length < 0)
        return QString();
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(utf8), length);
    OPENSSL_free(utf8);
    return name;
}

// Whether `password` opens `p12`, with the password to decrypt it in `pass`.
// An empty password may have been given to the tool that wrote the file as no
// password at all, which PKCS#12 tells apart.
bool opens(PKCS12 *p12, const QByteArray &password, const char **pass)
{
    *pass = password.constData();
    if (!PKCS12_mac_present(p12) || PKCS12_verify_mac(p12, password.constData(), password.size()))
        return true;
    *pass = nullptr;
    return password.isEmpty() && PKCS12_verify_mac(p12, nullptr, 0);
}

// The DER of the signing-certificate-v2 attribute naming `certificate` by its
// SHA-256, which ties the signature to the certificate (PAdES B-B).
QByteArray signingCertificateV2(X509 *certificate)
{
    const std::unique_ptr<ESS_SIGNING_CERT_V2, SigningCertificateFree> attribute(
        OSSL_ESS_signing_cert_v2_new_init(EVP_sha256(), certificate, nullptr, 0));
    if (!attribute)
        return QByteArray();
    const int length = i2d_ESS_SIGNING_CERT_V2(attribute.get(), nullptr);
    if (length <= 0)
        return QByteArray();
    QByteArray der(length, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(der.data());
    i2d_ESS_SIGNING_CERT_V2(attribute.get(), &out);
    return der;
}

// The detached CMS SignedData over `content`, DER encoded; empty on failure.
QByteArray cmsSignature(const QByteArray &content, const SigningKey &key, QString *error)
{
    const unsigned int flags = CMS_DETACHED | CMS_BINARY | CMS_NOSMIMECAP | CMS_PARTIAL;
    const Cms cms(CMS_sign(nullptr, nullptr, key.chain.get(), nullptr, flags));
    CMS_SignerInfo *signer =
        cms ? CMS_add1_signer(cms.get(), key.certificate.get(), key.key.get(), EVP_sha256(), flags)
            : nullptr;
    const QByteArray essCertificate = signingCertificateV2(key.certificate.get());
    const Bio data = memoryBio(content);
    if (!signer || essCertificate.isEmpty() ||
        !CMS_signed_add1_attr_by_NID(signer, NID_id_smime_aa_signingCertificateV2, V_ASN1_SEQUENCE,
                                     essCertificate.constData(), essCertificate.size()) ||
        !CMS_final(cms.get(), data.get(), nullptr, flags)) {
        failWith(error, QStringLiteral("cannot sign: %1").arg(opensslReason()));
        return QByteArray();
    }
    const int length = i2d_CMS_ContentInfo(cms.get(), nullptr);
    QByteArray der(qMax(length, 0), Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(der.data());
    if (length <= 0 || i2d_CMS_ContentInfo(cms.get(), &out) != length) {
        failWith(error, QStringLiteral("cannot sign: %1").arg(opensslReason()));
        return QByteArray();
    }
    return der;
}

int derSize(X509 *certificate)
{
    return qMax(i2d_X509(certificate, nullptr), 0);
}

// Room for the CMS in /Contents: the certificates it carries, the signature
// value and the attributes, with a margin for their ASN.1 framing.
size_t signatureRoom(const SigningKey &key)
{
    int bytes = derSize(key.certificate.get()) + EVP_PKEY_get_size(key.key.get()) + 2048;
    for (int i = 0; i < sk_X509_num(key.chain.get()); ++i)
        bytes += derSize(sk_X509_value(key.chain.get(), i));
    return size_t(bytes);
}

// A field name no field of the form has yet.
PoDoFo::PdfString freeFieldName(PoDoFo::PdfAcroForm *form)
{
    QStringList taken;
    const PoDoFo::PdfObject *fields = form->GetObject()->GetIndirectKey("Fields");
    if (fields && fields->IsArray())
        for (const PoDoFo::PdfObject &entry : fields->GetArray()) {
            const PoDoFo::PdfObject *field =
                entry.IsReference() ? form->GetObject()->GetOwner()->GetObject(entry.GetReference())
                                    : &entry;
            const PoDoFo::PdfObject *name =
                field && field->IsDictionary() ? field->GetDictionary().GetKey("T") : nullptr;
            if (name && name->IsString())
                taken << QString::fromUtf8(name->GetString().GetStringUtf8().c_str());
        }
    QString name = QStringLiteral("Signature1");
    for (int n = 2; taken.contains(name); ++n)
        name = QStringLiteral("Signature%1").arg(n);
    return PoDoFo::PdfString(name.toUtf8().constData());
}

// PoDoFo writes what it parses to standard output unless told not to.
void quietPodofo()
{
    PoDoFo::PdfError::EnableDebug(false);
    PoDoFo::PdfError::EnableLogging(false);
}

// The document information's /ModDate as the file `bytes` has it, null when
// it has none. A loaded document sets it to the time of loading, which would
// contradict the XMP metadata's modification date that PDF/A ties it to; the
// signature changes nothing the reader sees, so the date stays as it was.
std::unique_ptr<PoDoFo::PdfObject> originalModDate(const QByteArray &bytes)
{
    using namespace PoDoFo;
    PdfVecObjects objects;
    // The parser's objects are the vector's to free, which it does only when told.
    objects.SetAutoDelete(true);
    PdfParser parser(&objects, bytes.constData(), long(bytes.size()), true);
    const PdfObject *trailer = parser.GetTrailer();
    const PdfObject *reference = trailer ? trailer->GetDictionary().GetKey("Info") : nullptr;
    const PdfObject *info = reference && reference->IsReference()
                                ? objects.GetObject(reference->GetReference())
                                : reference;
    const PdfObject *date = info && info->IsDictionary() ? info->GetDictionary().GetKey("ModDate")
                                                         : nullptr;
    return date ? std::make_unique<PdfObject>(*date) : nullptr;
}

// The signed PDF as bytes: `original` whole, then the signature's update.
QByteArray signedBytes(const QByteArray &original, const SigningKey &key, QString *error)
{
    using namespace PoDoFo;
    const std::unique_ptr<PdfObject> modDate = originalModDate(original);
    PdfMemDocument document;
    document.LoadFromBuffer(original.constData(), long(original.size()), true);
    if (PdfInfo *info = document.GetInfo()) {
        PdfDictionary &entries = info->GetObject()->GetDictionary();
        if (modDate)
            entries.AddKey("ModDate", *modDate);
        else
            entries.RemoveKey("ModDate");
    }
    if (document.GetPageCount() < 1) {
        failWith(error, QStringLiteral("the PDF has no page"));
        return QByteArray();
    }
    PdfAcroForm *form = document.GetAcroForm(true, ePdfAcroFormDefaultAppearance_None);
    // Signatures exist, and the file is only ever appended to.
    form->GetObject()->GetDictionary().AddKey("SigFlags", PdfObject(pdf_int64(3)));
    // An invisible widget of no size, printed as PDF/A wants every annotation.
    PdfAnnotation *widget =
        document.GetPage(0)->CreateAnnotation(ePdfAnnotation_Widget, PdfRect(0, 0, 0, 0));
    widget->SetFlags(ePdfAnnotationFlags_Print);
    PdfSignatureField field(widget, form, &document);
    field.SetFieldName(freeFieldName(form));
    field.EnsureSignatureObject();
    field.SetSignatureDate(PdfDate());
    field.GetSignatureObject()->GetDictionary().AddKey("SubFilter", PdfName("ETSI.CAdES.detached"));

    PdfRefCountedBuffer buffer;
    PdfOutputDevice device(&buffer);
    PdfSignOutputDevice signing(&device);
    signing.SetSignatureSize(signatureRoom(key));
    field.SetSignature(*signing.GetSignatureBeacon());
    document.WriteUpdate(&signing, true);
    if (!signing.HasSignaturePosition()) {
        failWith(error, QStringLiteral("the signature's place was not written"));
        return QByteArray();
    }
    signing.AdjustByteRange();
    signing.Seek(0);
    QByteArray content;
    content.reserve(int(signing.GetLength()));
    char chunk[65536];
    for (size_t n; (n = signing.ReadForSignature(chunk, sizeof chunk)) > 0;)
        content.append(chunk, int(n));
    const QByteArray signature = cmsSignature(content, key, error);
    if (signature.isEmpty())
        return QByteArray();
    signing.SetSignature(PdfData(signature.constData(), size_t(signature.size())));
    signing.Flush();
    return QByteArray(buffer.GetBuffer(), int(device.GetLength()));
}

// The hex digits of /Contents as bytes; DER ignores the zeros that pad it.
QByteArray hexContents(const QByteArray &bytes, qint64 from, qint64 to)
{
    return QByteArray::fromHex(bytes.mid(int(from), int(to - from)));
}

QDateTime signatureTime(const PoDoFo::PdfObject *m)
{
    if (!m || !m->IsString())
        return QDateTime();
    const PoDoFo::PdfDate date(m->GetString());
    if (!date.IsValid())
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(qint64(date.GetTime()), Qt::UTC);
}

// The newest signature dictionary of the document: the one whose byte range
// reaches furthest. Null when it has none.
const PoDoFo::PdfObject *newestSignature(PoDoFo::PdfMemDocument &document)
{
    using namespace PoDoFo;
    const PdfObject *newest = nullptr;
    pdf_int64 newestEnd = -1;
    for (PdfObject *object : document.GetObjects()) {
        if (!object || !object->IsDictionary())
            continue;
        const PdfObject *type = object->GetDictionary().GetKey("FT");
        if (!type || !type->IsName() || type->GetName() != PdfName("Sig"))
            continue;
        const PdfObject *value = object->GetIndirectKey("V");
        if (!value || !value->IsDictionary())
            continue;
        const PdfObject *range = value->GetDictionary().GetKey("ByteRange");
        pdf_int64 end = 0;
        if (range && range->IsArray() && range->GetArray().size() == 4 &&
            range->GetArray()[2].IsNumber() && range->GetArray()[3].IsNumber())
            end = range->GetArray()[2].GetNumber() + range->GetArray()[3].GetNumber();
        if (end > newestEnd) {
            newest = value;
            newestEnd = end;
        }
    }
    return newest;
}

PdfSignatureCheck problem(PdfSignatureCheck check, const QString &why)
{
    check.problem = why;
    return check;
}

// Whether `signer` chains to a certificate of `caFile`, through the
// certificates `cms` carries; the reason when it does not.
QString chainProblem(CMS_ContentInfo *cms, X509 *signer, const QString &caFile)
{
    const std::unique_ptr<X509_STORE, StoreFree> store(X509_STORE_new());
    const QByteArray caPath = QFile::encodeName(caFile);
    if (!store || !X509_STORE_load_file(store.get(), caPath.constData())) {
        ERR_clear_error();
        return QStringLiteral("cannot read the CA certificates in %1")
            .arg(QDir::toNativeSeparators(caFile));
    }
    const std::unique_ptr<STACK_OF(X509), ChainFree> carried(CMS_get1_certs(cms));
    const std::unique_ptr<X509_STORE_CTX, StoreContextFree> context(X509_STORE_CTX_new());
    if (!context || !X509_STORE_CTX_init(context.get(), store.get(), signer, carried.get()))
        return QStringLiteral("cannot check the certificate chain: %1").arg(opensslReason());
    if (X509_verify_cert(context.get()) == 1)
        return QString();
    const int code = X509_STORE_CTX_get_error(context.get());
    ERR_clear_error();
    return QStringLiteral("the signer's certificate does not chain to %1: %2")
        .arg(QDir::toNativeSeparators(caFile),
             QString::fromLatin1(X509_verify_cert_error_string(code)));
}

} // namespace

bool loadPkcs12(const QString &path, const QByteArray &password, SigningKey *key, QString *error)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("cannot read %1").arg(name));
    const QByteArray bytes = file.readAll();
    const QString refused = QStringLiteral("wrong password for %1 or not a PKCS#12 file").arg(name);
    const Bio bio = memoryBio(bytes);
    const std::unique_ptr<PKCS12, Pkcs12Free> p12(d2i_PKCS12_bio(bio.get(), nullptr));
    if (!p12) {
        ERR_clear_error();
        return failWith(error, refused);
    }
    const char *pass = nullptr;
    if (!opens(p12.get(), password, &pass)) {
        ERR_clear_error();
        return failWith(error, refused);
    }
    EVP_PKEY *privateKey = nullptr;
    X509 *certificate = nullptr;
    STACK_OF(X509) *chain = nullptr;
    bool parsed = PKCS12_parse(p12.get(), pass, &privateKey, &certificate, &chain);
    // Files from older tools encrypt with RC2 or 3DES, which OpenSSL 3 keeps
    // in its legacy provider.
    if (!parsed && OSSL_PROVIDER_try_load(nullptr, "legacy", 1))
        parsed = PKCS12_parse(p12.get(), pass, &privateKey, &certificate, &chain);
    if (!parsed) {
        const QString reason = opensslReason();
        return failWith(error, QStringLiteral("cannot read %1: %2").arg(name, reason));
    }
    SigningKey loaded;
    loaded.key.reset(privateKey);
    loaded.certificate.reset(certificate);
    loaded.chain.reset(chain);
    if (loaded.isNull())
        return failWith(error,
                        QStringLiteral("%1 holds no private key with its certificate").arg(name));
    if (X509_check_private_key(loaded.certificate.get(), loaded.key.get()) != 1) {
        ERR_clear_error();
        return failWith(
            error,
            QStringLiteral("the private key in %1 does not belong to its certificate").arg(name));
    }
    loaded.signer = commonName(loaded.certificate.get());
    *key = std::move(loaded);
    return true;
}

bool signPdf(const QString &in, const QString &out, const SigningKey &key, QString *error)
{
    const QString inName = QDir::toNativeSeparators(in);
    if (key.isNull())
        return failWith(error, QStringLiteral("no signing key"));
    QFile file(in);
    if (!QFileInfo(in).isFile() || !file.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("cannot read %1").arg(inName));
    const QByteArray original = file.readAll();
    file.close();
    if (!original.startsWith("%PDF-"))
        return failWith(error, QStringLiteral("%1 is not a PDF file").arg(inName));
    if (original.size() > std::numeric_limits<int>::max() / 2)
        return failWith(error, QStringLiteral("%1 is too large to sign").arg(inName));
    QByteArray signedPdf;
    quietPodofo();
    try {
        QString why;
        signedPdf = signedBytes(original, key, &why);
        if (signedPdf.isEmpty())
            return failWith(error, QStringLiteral("cannot sign %1: %2").arg(inName, why));
    } catch (const PoDoFo::PdfError &e) {
        return failWith(error, QStringLiteral("cannot sign %1: %2").arg(inName, podofoReason(e)));
    }
    ExportFile target(out);
    if (!target.open() || !target.write(signedPdf) || !target.commit())
        return target.fail(error);
    return true;
}

PdfSignatureCheck checkPdfSignature(const QString &path, const QString &caFile)
{
    PdfSignatureCheck check;
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return problem(check, QStringLiteral("cannot read %1").arg(name));
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF-"))
        return problem(check, QStringLiteral("%1 is not a PDF file").arg(name));

    qint64 range[4] = {};
    QDateTime signedAt;
    quietPodofo();
    try {
        PoDoFo::PdfMemDocument document;
        document.LoadFromBuffer(bytes.constData(), long(bytes.size()));
        const PoDoFo::PdfObject *signature = newestSignature(document);
        if (!signature)
            return check;
        check.signedPdf = true;
        const PoDoFo::PdfObject *byteRange = signature->GetDictionary().GetKey("ByteRange");
        if (!byteRange || !byteRange->IsArray() || byteRange->GetArray().size() != 4)
            return problem(check, QStringLiteral("its signature has no byte range"));
        for (int i = 0; i < 4; ++i) {
            const PoDoFo::PdfObject &n = byteRange->GetArray()[size_t(i)];
            if (!n.IsNumber())
                return problem(check, QStringLiteral("its signature's byte range is no numbers"));
            range[i] = n.GetNumber();
        }
        signedAt = signatureTime(signature->GetDictionary().GetKey("M"));
    } catch (const PoDoFo::PdfError &e) {
        return problem(check,
                       QStringLiteral("%1 cannot be read as a PDF: %2").arg(name, podofoReason(e)));
    }
    check.signedAt = signedAt;
    // One gap, between the two signed pieces, holding exactly the hex string
    // of /Contents.
    const qint64 size = bytes.size();
    if (range[0] != 0 || range[1] <= 0 || range[2] <= range[1] + 1 || range[3] < 0 ||
        range[2] + range[3] > size || bytes.at(int(range[1])) != '<' ||
        bytes.at(int(range[2] - 1)) != '>')
        return problem(check, QStringLiteral("its signature's byte range [%1 %2 %3 %4] does not "
                                             "fit the file's %5 bytes around the signature")
                                  .arg(range[0])
                                  .arg(range[1])
                                  .arg(range[2])
                                  .arg(range[3])
                                  .arg(size));
    check.coversWholeFile = range[2] + range[3] == size;

    const QByteArray der = hexContents(bytes, range[1] + 1, range[2] - 1);
    const auto *derBytes = reinterpret_cast<const unsigned char *>(der.constData());
    const Cms cms(d2i_CMS_ContentInfo(nullptr, &derBytes, der.size()));
    if (!cms) {
        ERR_clear_error();
        return problem(check, QStringLiteral("its signature is no CMS signature"));
    }
    const QByteArray content = bytes.left(int(range[1])) + bytes.mid(int(range[2]), int(range[3]));
    const Bio data = memoryBio(content);
    if (CMS_verify(cms.get(), nullptr, nullptr, data.get(), nullptr,
                   CMS_BINARY | CMS_NO_SIGNER_CERT_VERIFY) != 1) {
        const QString reason = opensslReason();
        return problem(check,
                       QStringLiteral("its signature does not match its bytes (%1)").arg(reason));
    }
    check.intact = true;
    STACK_OF(X509) *signers = CMS_get0_signers(cms.get());
    X509 *signer = sk_X509_num(signers) > 0 ? sk_X509_value(signers, 0) : nullptr;
    if (signer)
        check.signer = commonName(signer);
    sk_X509_free(signers);
    if (!check.coversWholeFile)
        return problem(check, QStringLiteral("%1 bytes were appended after it was signed")
                                  .arg(size - range[2] - range[3]));
    if (!caFile.isEmpty()) {
        check.problem = signer ? chainProblem(cms.get(), signer, caFile)
                               : QStringLiteral("its signature names no signer certificate");
        check.chainsToCa = check.problem.isEmpty();
    }
    return check;
}
