#include "support/SupportMail.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSysInfo>
#include <QUrl>
#include <QUuid>

#include <curl/curl.h>

#include <memory>

namespace invorator {

namespace {

struct EasyDeleter
{
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct MimeDeleter
{
    void operator()(curl_mime *m) const { curl_mime_free(m); }
};
struct ListDeleter
{
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};
using List = std::unique_ptr<curl_slist, ListDeleter>;

void append(List &list, const QByteArray &line)
{
    curl_slist *grown = curl_slist_append(list.get(), line.constData());
    if (grown) {
        (void)list.release();
        list.reset(grown);
    }
}

bool isAscii(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

// An address that goes between angle brackets as it is: printable ASCII without spaces,
// brackets or a second "@", a local part and a domain.
bool isPlainAddress(const QString &address)
{
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return isAscii(address) && at > 0 && at < address.size() - 1 && address.count(QLatin1Char('@')) == 1 &&
           !address.contains(QLatin1Char(' ')) && !address.contains(QLatin1Char('<')) &&
           !address.contains(QLatin1Char('>'));
}

// A header text as mail readers expect it: plain when it is printable ASCII, else
// encoded words of UTF-8 in base64, each short enough for a header line.
QByteArray headerText(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    QByteArray out;
    QString chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += ' ';
        out += "=?UTF-8?B?" + chunk.toUtf8().toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character is never split across two words.
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, n);
        if ((chunk + c).toUtf8().size() > 45)
            flush();
        chunk += c;
        i += n - 1;
    }
    flush();
    return out;
}

// An attachment's name in its Content-Disposition: quoted ASCII, or UTF-8 by RFC 2231.
QByteArray disposition(const QString &fileName)
{
    QString ascii = fileName;
    ascii.replace(QLatin1Char('"'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (isAscii(fileName))
        return "Content-Disposition: attachment; filename=\"" + ascii.toLatin1() + '"';
    return "Content-Disposition: attachment; filename*=UTF-8''" +
           fileName.toUtf8().toPercentEncoding("", "!#$&+^`|~-._") + "; filename=\"" + headerText(fileName) +
           '"';
}

int progress(void *cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto *flag = static_cast<const std::atomic<bool> *>(cancel);
    return flag && flag->load() ? 1 : 0;
}

MailResult failed(MailResult::Problem problem, const QString &detail)
{
    return {problem, detail};
}

} // namespace

void InitialiseMail()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

MailResult SendSupportMail(const SupportConfig &config, const SupportRequest &request,
                           const std::atomic<bool> *cancel)
{
    if (MailResult attachment = CheckAttachment(request.attachmentPath); !attachment)
        return attachment;
    InitialiseMail();
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl)
        return failed(MailResult::Problem::Transfer, QStringLiteral("the mail library could not be started"));
    CURL *c = curl.get();
    const QByteArray url = "smtps://" + QUrl::toAce(config.server) + ':' + QByteArray::number(config.port);
    const QByteArray user = config.user.toUtf8();
    const QByteArray password = config.password.toUtf8();
    const QByteArray from = '<' + config.from.toUtf8() + '>';
    const QByteArray caFile = QFile::encodeName(config.caFile);
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    List recipients;
    append(recipients, '<' + config.to.toUtf8() + '>');
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!config.caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, static_cast<long>(config.timeoutSeconds));
    // A server that stops answering ends the sending too, not only one that cannot be reached.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(config.timeoutSeconds));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool> *>(cancel));
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);

    const QString host = QSysInfo::machineHostName();
    List headers;
    append(headers, "From: " + from);
    append(headers, "To: <" + config.to.toUtf8() + '>');
    // Support answers the client directly; an address that could break the header is left out.
    if (isPlainAddress(request.replyTo))
        append(headers, "Reply-To: <" + request.replyTo.toUtf8() + '>');
    append(headers, "Subject: " + headerText(QStringLiteral("Support-Anfrage von: ") + request.installation));
    append(headers, "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
    append(headers, "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' +
                        QUrl::toAce(host.isEmpty() ? QStringLiteral("localhost") : host) + '>');
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    std::unique_ptr<curl_mime, MimeDeleter> mime(curl_mime_init(c));
    const QByteArray body = SupportBody(request).toUtf8();
    curl_mimepart *text = curl_mime_addpart(mime.get());
    curl_mime_data(text, body.constData(), static_cast<size_t>(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    // Base64 carries the line breaks and the end of the message exactly as written.
    curl_mime_encoder(text, "base64");
    List partHeaders;
    const QByteArray path = QFile::encodeName(request.attachmentPath);
    if (!request.attachmentPath.isEmpty()) {
        curl_mimepart *file = curl_mime_addpart(mime.get());
        curl_mime_filedata(file, path.constData());
        // The file's own name goes into our Content-Disposition, not the library's.
        curl_mime_filename(file, nullptr);
        const QByteArray type = QMimeDatabase().mimeTypeForFile(request.attachmentPath).name().toLatin1();
        curl_mime_type(file, type.isEmpty() ? "application/octet-stream" : type.constData());
        curl_mime_encoder(file, "base64");
        append(partHeaders, disposition(QFileInfo(request.attachmentPath).fileName()));
        curl_mime_headers(file, partHeaders.get(), 0);
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    const CURLcode sent = curl_easy_perform(c);
    if (sent == CURLE_OK)
        return {};
    if (sent == CURLE_ABORTED_BY_CALLBACK)
        return failed(MailResult::Problem::Cancelled, {});
    const QString why = QString::fromUtf8(*error ? error : curl_easy_strerror(sent));
    return failed(MailResult::Problem::Transfer, why);
}

} // namespace invorator
