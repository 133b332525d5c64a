#include "cli/ArchiveCommands.h"

#include "archive/InvoiceArchive.h"
#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "services/SharedState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace invorator {

namespace {

QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonObject toJson(const ArchiveEntry &e)
{
    return {{"id", e.id},
            {"seller", e.seller},
            {"number", e.number},
            {"issueDate", textOrNull(e.issueDate)},
            {"amountDue", textOrNull(e.amountDue)},
            {"currency", textOrNull(e.currency)},
            {"state", textOrNull(e.state)},
            {"replaced", textOrNull(e.replacedDate)},
            {"sha256", textOrNull(e.sha256)}};
}

// One line per entry, tab-separated so that scripts can cut it.
QString line(const SharedState &state, const ArchiveEntry &e)
{
    QStringList fields{QString::number(e.id),
                       e.issueDate,
                       e.seller,
                       e.number,
                       (e.amountDue + QLatin1Char(' ') + e.currency).trimmed(),
                       e.state};
    if (!e.latest())
        fields << GetMeldung(state, ReplacedInListText).arg(e.replacedDate, e.replacedUser);
    return fields.join(QLatin1Char('\t'));
}

// A query of the archive failed: its reason, and the exit status of a database failure.
int listingFailed(const ArchiveListing &listing, QTextStream &err)
{
    err << "Fehler: " << listing.lastError() << '\n';
    return 3;
}

int list(const SharedState &state, ArchiveListing &listing, const ArchiveRequest &r, QTextStream &out,
         QTextStream &err)
{
    const auto entries = listing.entries(r.all);
    if (!entries) {
        return listingFailed(listing, err);
    }
    const std::vector<ArchiveEntry> shown = Filtered(*entries, r.filter);
    if (r.json) {
        QJsonArray array;
        for (const ArchiveEntry &e : shown)
            array.append(toJson(e));
        out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    } else {
        for (const ArchiveEntry &e : shown)
            out << line(state, e) << '\n';
    }
    return 0;
}

int show(const SharedState &state, ArchiveListing &listing, const ArchiveRequest &r, QTextStream &out,
         QTextStream &err)
{
    const auto versions = listing.versions(r.id);
    if (!versions) {
        return listingFailed(listing, err);
    }
    const auto entry =
        std::find_if(versions->begin(), versions->end(), [&](const ArchiveEntry &e) { return e.id == r.id; });
    if (entry == versions->end()) {
        err << "invorator-cli: " << GetMeldung(state, NoArchivedInvoiceText).arg(r.id) << '\n';
        return 3;
    }
    // The state in words as the archive window gives it; list keeps the values --state takes.
    const QString stateText = entry->state.isEmpty()
                                  ? QString()
                                  : GetMeldung(state, entry->state == QLatin1String("valid") ? 92 : 93);
    out << GetMeldung(state, ShownEntryText)
               .arg(QString::number(entry->id), entry->seller, entry->sellerKey, entry->number,
                    entry->issueDate, (entry->amountDue + QLatin1Char(' ') + entry->currency).trimmed(),
                    stateText, entry->createDate)
        << '\n';
    if (!entry->latest())
        out << GetMeldung(state, ShownReplacedText).arg(entry->replacedDate, entry->replacedUser) << '\n';
    if (const auto document = listing.document(r.id))
        out << GetMeldung(state, ShownDocumentText)
                   .arg(document->fileName, QString::number(document->fileSize), document->sha256,
                        document->importDate)
            << '\n';
    out << GetMeldung(state, ShownVersionsText) << '\n';
    for (const ArchiveEntry &v : *versions)
        out << "  " << line(state, v) << '\n';
    return 0;
}

int exportDocument(const SharedState &state, ArchiveListing &listing, const ArchiveRequest &r,
                   QTextStream &err)
{
    const auto document = listing.document(r.id);
    if (!document) {
        err << "invorator-cli: " << GetMeldung(state, NoStoredDocumentText).arg(r.id) << '\n';
        return 3;
    }
    if (const auto refused = RefusedWriteTarget(r.out)) {
        err << "invorator-cli: " << r.out << ": " << WriteRefusalText(state, *refused) << '\n';
        return 3;
    }
    QSaveFile file(r.out);
    if (!file.open(QIODevice::WriteOnly) || file.write(document->bytes) != document->bytes.size() ||
        !file.commit()) {
        err << "invorator-cli: " << r.out << ": " << file.errorString() << '\n';
        return 3;
    }
    return 0;
}

int verify(const SharedState &state, ArchiveListing &listing, QTextStream &out, QTextStream &err)
{
    const auto mismatches = listing.verify();
    if (!mismatches) {
        return listingFailed(listing, err);
    }
    for (const DocumentMismatch &m : *mismatches)
        out << GetMeldung(state, DocumentMismatchText)
                   .arg(QString::number(m.id), m.fileName,
                        m.recorded.isEmpty() ? GetMeldung(state, NoChecksumText) : m.recorded, m.actual)
            << '\n';
    return mismatches->empty() ? 0 : 6;
}

} // namespace

QString ParseArchiveRequest(const QStringList &positional, ArchiveRequest &r)
{
    static const QStringList actions{QStringLiteral("list"), QStringLiteral("show"), QStringLiteral("export"),
                                     QStringLiteral("verify")};
    if (positional.isEmpty())
        return QStringLiteral("archive needs list, show, export or verify");
    r.action = positional.first();
    const qsizetype wanted = r.action == QLatin1String("show")     ? 2
                             : r.action == QLatin1String("export") ? 3
                                                                   : 1;
    if (!actions.contains(r.action))
        return QStringLiteral("unknown archive command '%1'").arg(r.action);
    if (positional.size() != wanted)
        return wanted == 1 ? QStringLiteral("archive %1 takes no file").arg(r.action)
               : wanted == 2
                   ? QStringLiteral("archive show needs the ID of an entry")
                   : QStringLiteral("archive export needs the ID of an entry and the file to write");
    if (wanted > 1) {
        bool ok = false;
        r.id = positional[1].toLongLong(&ok);
        if (!ok || r.id <= 0)
            return QStringLiteral("not an archive ID: '%1'").arg(positional[1]);
    }
    if (wanted == 3)
        r.out = positional[2];
    return {};
}

int RunArchiveRequest(const ArchiveRequest &r, const SharedState &state, QTextStream &out, QTextStream &err)
{
    ArchiveLocation::Problem problem{};
    const auto where = ArchiveLocation::parse(state.ArchiveSetting, state.programFolder(), &problem);
    if (!where) {
        err << "invorator-cli: " << ArchiveAddressText(state, problem, state.ArchiveSetting) << '\n';
        return 2;
    }
    Database archive(QStringLiteral("archive"));
    // An archive of an earlier version is brought up to date on its first open.
    DbResult opened = archive.open(where->config);
    if (opened)
        opened = UpgradeArchive(archive);
    if (!opened) {
        err << "Fehler: " << DbResultText(state, opened) << '\n';
        return 3;
    }
    ArchiveListing listing(archive);
    if (r.action == QLatin1String("list"))
        return list(state, listing, r, out, err);
    if (r.action == QLatin1String("show"))
        return show(state, listing, r, out, err);
    if (r.action == QLatin1String("export"))
        return exportDocument(state, listing, r, err);
    return verify(state, listing, out, err);
}

} // namespace invorator
