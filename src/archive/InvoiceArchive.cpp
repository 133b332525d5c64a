#include "archive/InvoiceArchive.h"

#include "archive/ArchiveGateway.h"
#include "import/ImportDriver.h"
#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "model/DisplayModel.h"
#include "model/Payment.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace invorator {

extern const char *const ArchiveSchema;

namespace {

// A value that cannot be stored as its column asks: the step fails.
struct BadValue
{
};

// A text as shown; an empty one is stored as the empty string, not as Null.
QString shown(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString numberOf(const DisplayModel &model)
{
    return shown(model[Rd::InvoiceNumber].text());
}

// An empty text is stored as the empty string, not as Null.
QString trimmed(const QString &text)
{
    const QString t = NzFormat(text, QString());
    return t.isNull() ? QStringLiteral("") : t;
}

QVariant trimmedOrNull(const QString &text)
{
    const QString t = trimmed(text);
    return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t);
}

// A shown date as "dd.MM.yyyy"; a text that is no date stays as it is.
QString date(const QString &text)
{
    const QString t = trimmed(text);
    for (const char *format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(t, QString::fromLatin1(format));
        if (d.isValid())
            return d.toString(QStringLiteral("dd.MM.yyyy"));
    }
    return t;
}

// Amounts of the field groups and lvTable are shown the German way ("1.234,50", a trailing
// blank after UBL amounts); lvAbzuege shows them as the XML wrote them ("1234.50").
Decimal shownDecimal(const QString &text)
{
    const auto d = ParseGermanNumber(text);
    if (!d)
        throw BadValue{};
    return *d;
}

QString decimal(const QString &text)
{
    return shownDecimal(text).toText();
}

QString decimalOrZero(const QString &text)
{
    return trimmed(text).isEmpty() ? QStringLiteral("0") : decimal(text);
}

QString xmlDecimal(const QString &text, bool emptyIsZero)
{
    if (trimmed(text).isEmpty()) {
        if (emptyIsZero)
            return QStringLiteral("0");
        throw BadValue{};
    }
    const auto d = XmlAmountToDecimal(text);
    if (!d)
        throw BadValue{};
    return d->toText();
}

// The seller as the invoice's identity with its number: the VAT identifier, else the tax
// number, else the name, as shown.
QString sellerKeyOf(const DisplayModel &m)
{
    for (FieldId id : {Seller.VatId, Seller.TaxNumber, Seller.Name})
        if (const QString key = trimmed(m[id].text()); !key.isEmpty())
            return key;
    return QStringLiteral("");
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// A shown date as yyyy-MM-dd, which sorts as dates do; Null when there is none.
QVariant isoDateOrNull(const QString &text)
{
    const QString t = trimmed(text);
    for (const char *format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(t, QString::fromLatin1(format));
        if (d.isValid())
            return d.toString(Qt::ISODate);
    }
    return textOrNull(t);
}

QString sumsCheckOf(const ImportResult &imported)
{
    if (imported.sumFindings.empty())
        return QStringLiteral("agree");
    return AnyFatal(imported.sumFindings) ? QStringLiteral("wrong") : QStringLiteral("warnings");
}

QVariant validationOf(const ImportResult &imported)
{
    if (!imported.validated)
        return textOrNull({});
    if (!imported.validation.valid())
        return QStringLiteral("invalid");
    for (const ValidationFinding &f : imported.validation.findings)
        if (f.flag == FindingFlag::Warning)
            return QStringLiteral("warnings");
    return QStringLiteral("valid");
}

// An exact decimal of the XML, Null when the invoice has none.
QVariant xmlAmountOrNull(const QString &text)
{
    return textOrNull(text);
}

HeaderValues headerValues(const DisplayModel &m, const ImportResult &imported, const QString &sha256)
{
    const auto text = [&](FieldId id) {
        return m[id].text();
    };
    const QString issued = text(Rd::IssueDate);
    HeaderValues v{shown(text(Rd::SpecificationId)),
                   numberOf(m),
                   shown(text(Rd::Subject)),
                   date(issued),
                   trimmed(text(Rd::DueDate)).isEmpty() ? date(issued) : date(text(Rd::DueDate)),
                   trimmed(text(Rd::DocumentType)),
                   trimmed(text(Rd::Note)),          // PaymentMethod holds the note
                   trimmed(text(Rd::PaymentTerms))}; // Remarks holds the payment terms
    for (const PartyFields &p : {Seller, Buyer})
        for (FieldId id : {p.Name, p.TaxNumber, p.Email, p.Street, p.Country, p.PostCode, p.City, p.Contact,
                           p.ContactEmail, p.ContactPhone})
            v.emplace_back(trimmed(text(id)));
    v.emplace_back(decimalOrZero(text(So::LineTotal)));
    for (FieldId id : {So::NetTotal, So::GrossTotal, So::Allowances, So::Charges, So::Prepaid, So::Rounding,
                       So::DuePayable})
        v.emplace_back(decimal(text(id)));
    for (FieldId id : {So::EndpointId, So::ProfileId, So::AccountingCost, Rd::TaxCurrency})
        v.push_back(trimmedOrNull(text(id)));
    // What a bookkeeper looks the invoice up by.
    QString iban;
    for (int r = 0; r < m.lvZahlung.rowCount() && iban.isEmpty(); ++r)
        iban = trimmed(m.lvZahlung.cell(r, PaymentColumn::Iban));
    v.insert(v.end(), {sellerKeyOf(m), xmlAmountOrNull(imported.totals.vatTotal),
                       xmlAmountOrNull(imported.totals.amountDue), textOrNull(imported.totals.currency),
                       trimmedOrNull(text(Seller.VatId)), trimmedOrNull(text(Buyer.VatId)), textOrNull(iban),
                       isoDateOrNull(text(Rd::DueDate)), trimmedOrNull(m[Rd::DocumentType].value()),
                       sumsCheckOf(imported), validationOf(imported), sha256});
    return v;
}

// A line's numbers as the archive takes them: exact decimals as text, or, where the archive
// keeps doubles, the double of exactly that value; a value no double holds fails the line.
QVariant lineNumber(const Decimal &value, bool decimals)
{
    // Trailing zeros a product adds are dropped; the shown decimals stay.
    if (decimals)
        return value.toText(std::min(value.scale(), 2), true);
    const auto exact = value.exactDouble();
    if (!exact)
        throw BadValue{};
    return *exact;
}

std::vector<ItemRow> itemRows(const DisplayModel &model, bool decimals)
{
    const ListView &lines = model.lvTable;
    const Decimal hundred(100);
    std::vector<ItemRow> rows;
    rows.reserve(static_cast<std::size_t>(lines.rowCount()));
    const QVariant none{QMetaType(QMetaType::QString)};
    for (int r = 0; r < lines.rowCount(); ++r) {
        using namespace LineColumn;
        const Decimal quantity = shownDecimal(lines.cell(r, Quantity));
        const Decimal net = shownDecimal(lines.cell(r, Price));
        const auto n = [&](const Decimal &value) {
            return lineNumber(value, decimals);
        };
        ItemRow row{r + 1,
                    shown(lines.cell(r, Position)),
                    shown(lines.cell(r, Article)),
                    shown(lines.cell(r, Description)),
                    {}};
        // A line without a VAT rate (category O, subtotals of old ZUGFeRD) has no gross amounts.
        if (trimmed(lines.cell(r, VatRate)).isEmpty()) {
            row.numbers = {n(quantity), n(net), none, none, none, n(net * quantity)};
        } else {
            const Decimal rate = shownDecimal(lines.cell(r, VatRate));
            const Decimal gross =
                *Decimal::divided(net * (hundred + rate), hundred, net.scale() + rate.scale() + 2);
            row.numbers = {n(quantity), n(net), n(gross), n(rate), n(gross * quantity), n(net * quantity)};
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<DeductionRow> deductionRows(const DisplayModel &model)
{
    std::vector<DeductionRow> rows;
    for (int r = 0; r < model.lvAbzuege.rowCount(); ++r) {
        using namespace AllowanceColumn;
        const ListView &l = model.lvAbzuege;
        const QString factor = trimmed(l.cell(r, Percent));
        rows.push_back({trimmed(l.cell(r, Reason)), trimmed(l.cell(r, ReasonCode)),
                        factor.isEmpty() ? QStringLiteral("0") : factor, xmlDecimal(l.cell(r, Amount), false),
                        xmlDecimal(l.cell(r, Basis), true)});
    }
    return rows;
}

// The save stops for a minute where INVORATOR_TEST_PAUSE_SAVE names, holding its
// transaction and its lock, so that a test can kill it there or write beside it.
void pauseForTests(const char *where)
{
    if (qEnvironmentVariable("INVORATOR_TEST_PAUSE_SAVE") != QLatin1String(where))
        return;
    std::fputs("paused\n", stderr);
    std::fflush(stderr);
    QThread::sleep(60);
}

// The archive's tables where missing (from data/sql/Invoices.sql, in the engine's words
// for its types), then the upgrade of an archive of an earlier schema, in one transaction.
DbResult createOrUpgrade(Database &archive, bool createTables)
{
    const bool sqlite = archive.connection().driverName() == QLatin1String("QSQLITE");
    QString schema = QString::fromUtf8(ArchiveSchema);
    if (!sqlite) {
        schema.replace(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
                       QStringLiteral("BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY"));
        schema.replace(QStringLiteral(" DATETIME"), QStringLiteral(" TIMESTAMP"));
        schema.replace(QStringLiteral(" DECIMAL_TEXT"), QStringLiteral(" NUMERIC"));
        schema.replace(QStringLiteral(" REAL"), QStringLiteral(" DOUBLE PRECISION"));
        schema.replace(QStringLiteral(" BLOB"), QStringLiteral(" BYTEA"));
        schema.replace(QStringLiteral(" INTEGER,"), QStringLiteral(" BIGINT,"));
    }
    ArchiveGateway gateway(archive);
    Transaction t(archive);
    DbResult result = t.begun();
    if (result && !sqlite)
        // Two programs upgrading one archive at once: the second waits, then finds it done.
        result = gateway.lockInvoice(QStringLiteral("schema"), QString());
    if (result && (createTables || gateway.schemaVersion() < ArchiveGateway::SchemaVersion))
        result = gateway.createTables(schema);
    if (result && gateway.schemaVersion() < ArchiveGateway::SchemaVersion)
        result = gateway.upgrade();
    if (result)
        result = t.commit();
    return result;
}

} // namespace

// An archive of an earlier schema is upgraded when it is first opened; one of this schema
// is only asked for its version.
DbResult UpgradeArchive(Database &archive)
{
    if (ArchiveGateway(archive).schemaVersion() >= ArchiveGateway::SchemaVersion)
        return {true, {}};
    return createOrUpgrade(archive, false);
}

std::optional<ArchiveLocation> ArchiveLocation::parse(const QString &setting, const QString &programFolder,
                                                      Problem *problem)
{
    ArchiveLocation where;
    const QString s = setting.trimmed();
    if (s.isEmpty()) {
        where.config = DbConfig::sqliteFile(programFolder + QStringLiteral("/DB/Invoices.mdb"));
        return where;
    }
    if (!s.startsWith(QLatin1String("postgresql://")) && !s.startsWith(QLatin1String("postgres://"))) {
        where.config = DbConfig::sqliteFile(s);
        return where;
    }
    const QUrl url(s, QUrl::StrictMode);
    const QString name = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || name.isEmpty() || !url.password().isEmpty()) {
        if (problem)
            *problem = url.password().isEmpty() ? Problem::NotAnAddress : Problem::HoldsPassword;
        return std::nullopt;
    }
    where.config.engine = DbConfig::Engine::PostgreSQL;
    where.config.host = url.host();
    where.config.port = url.port(5432);
    where.config.name = name;
    where.config.user = url.userName();
    return where;
}

QString ArchiveAddressText(const SharedState &state, ArchiveLocation::Problem problem, const QString &setting)
{
    return problem == ArchiveLocation::Problem::HoldsPassword
               ? GetMeldung(state, PasswordInAddressText)
               : GetMeldung(state, NotPostgresAddressText).arg(setting.trimmed());
}

ArchiveLocation ArchiveOf(const SharedState &state)
{
    if (auto where = ArchiveLocation::parse(state.ArchiveSetting, state.programFolder()))
        return *where;
    ArchiveLocation fallback;
    fallback.config = DbConfig::sqliteFile(state.archivePath());
    return fallback;
}

bool ArchiveAvailable(const ArchiveLocation &where)
{
    return !where.isFile() || QFileInfo(where.config.path).isFile();
}

ArchiveSave::ArchiveSave(const SharedState &state) : m_state(state)
{
    const auto failed = [&](const QString &description) {
        m_report.failure = description;
        m_report.messages.push_back(
            MakeMessage(0, MsgIcon::None, QString(), QStringLiteral("Fehler: ") + description));
    };
    ArchiveLocation::Problem problem{};
    const auto where = ArchiveLocation::parse(state.ArchiveSetting, state.programFolder(), &problem);
    if (!where) {
        failed(ArchiveAddressText(state, problem, state.ArchiveSetting));
        return;
    }
    if (!ArchiveAvailable(*where)) {
        m_report.outcome = SaveOutcome::NoArchive;
        m_report.messages.push_back(
            MakeMessage(49, MsgIcon::Information, BrellwerkTitle, TextsGateway(state).message(49)));
        return;
    }
    auto archive = std::make_unique<Database>(QStringLiteral("archive"));
    if (const DbResult opened = archive->open(where->config); !opened) {
        failed(DbResultText(state, opened));
        return;
    }
    // Only an archive is upgraded: a file without its tables stays as it is.
    if (const DbResult usable = ArchiveGateway(*archive).checkUsable(); !usable) {
        failed(usable.message);
        return;
    }
    if (const DbResult upgraded = UpgradeArchive(*archive); !upgraded) {
        failed(upgraded.message);
        return;
    }
    m_archive = std::move(archive);
}

bool ArchiveSave::holds(const DisplayModel &model) const
{
    if (!m_archive)
        return false;
    ArchiveGateway gateway(*m_archive);
    const auto latest = gateway.findLatest(sellerKeyOf(model), numberOf(model));
    // When the archive cannot say, the user is asked as if it held the invoice.
    return !latest || latest->has_value();
}

ArchiveSave::~ArchiveSave() = default;

Message ArchiveSave::question() const
{
    return MakeMessage(42, MsgIcon::Question, BrellwerkTitle, TextsGateway(m_state).message(42));
}

SaveReport ArchiveSave::save(const DisplayModel &model, const ImportResult &imported)
{
    if (!m_archive)
        return m_report;
    SaveReport report;
    // The path as the archive names the file: absolute, whatever the caller was given.
    report.documentPath =
        imported.path.isEmpty() ? imported.path : QFileInfo(imported.path).absoluteFilePath();
    const TextsGateway texts(m_state);
    const QString number = numberOf(model);
    // The whole invoice goes in one transaction: a step that fails leaves nothing of it.
    const auto failed = [&](SaveStep step, int message, const QString &description = {}) {
        report.outcome = message == 0 ? SaveOutcome::Failed : SaveOutcome::NotSaved;
        report.failedStep = step;
        report.failure = description;
        report.messages.push_back(
            message == 0 ? MakeMessage(0, MsgIcon::None, QString(),
                                       QStringLiteral("Fehler: ") + description.simplified())
                         : MakeMessage(message, MsgIcon::Exclamation, BrellwerkTitle,
                                       texts.message(message) + QStringLiteral("\r\n") + texts.message(48)));
        return report;
    };
    const QString sellerKey = sellerKeyOf(model);
    const QString sha256 =
        QString::fromLatin1(QCryptographicHash::hash(imported.bytes, QCryptographicHash::Sha256).toHex());
    const QDateTime now = QDateTime::currentDateTime();
    Transaction t(*m_archive);
    ArchiveGateway gateway(*m_archive);
    if (!t.begun())
        return failed(SaveStep::Header, 0, t.begun().message);
    if (const DbResult locked = gateway.lockInvoice(sellerKey, number); !locked)
        return failed(SaveStep::Header, 0, locked.message);
    // The values first: one that is no number, or that the archive cannot hold exactly,
    // fails its step like a database error, before anything is written.
    HeaderValues header;
    std::vector<ItemRow> items;
    std::vector<DeductionRow> deductions;
    SaveStep step = SaveStep::Header;
    try {
        header = headerValues(model, imported, sha256);
        step = SaveStep::Items;
        const auto decimals = gateway.itemsKeepDecimals();
        if (!decimals)
            return failed(step, 45);
        items = itemRows(model, *decimals);
        step = SaveStep::Deductions;
        deductions = deductionRows(model);
    } catch (const BadValue &) {
        return failed(step, step == SaveStep::Header ? 44 : step == SaveStep::Items ? 45 : 47);
    }
    // The file once per content; a new version points at it, the one it replaces stays
    // as it was, marked as replaced.
    const auto document = gateway.storeDocument(QStringLiteral("IN"), number, imported.bytes, sha256,
                                                report.documentPath, report.documentPath.right(3), now);
    if (!document)
        return failed(SaveStep::Document, 0, gateway.lastError());
    const auto latest = gateway.findLatest(sellerKey, number);
    if (!latest)
        return failed(SaveStep::Header, 44, gateway.lastError());
    report.replaced = latest->has_value();
    if (report.replaced && !gateway.markReplaced(**latest, now, m_state.UserName))
        return failed(SaveStep::Header, 44, gateway.lastError());
    const auto id = gateway.insertHeader(now, m_state.UserName, header, *document, *latest);
    if (!id)
        return failed(SaveStep::Header, 44, gateway.lastError());
    pauseForTests("items");
    if (!gateway.insertItems(*id, number, items))
        return failed(SaveStep::Items, 45, gateway.lastError());
    if (!gateway.insertDeductions(*id, number, deductions))
        return failed(SaveStep::Deductions, 47, gateway.lastError());
    if (const DbResult committed = t.commit(); !committed)
        return failed(SaveStep::Commit, 0, committed.message);
    QString text = texts.message(43) + texts.message(DocumentSavedText).arg(report.documentPath) +
                   QStringLiteral("\r\n");
    if (model.lvAbzuege.rowCount() > 0)
        text += texts.message(46);
    report.messages.push_back(MakeMessage(43, MsgIcon::Information, BrellwerkTitle, text));
    report.outcome = SaveOutcome::Saved;
    return report;
}

SaveReport SaveToArchive(const SharedState &state, const DisplayModel &model, const ImportResult &imported)
{
    ArchiveSave archive(state);
    return archive.ready() ? archive.save(model, imported) : archive.report();
}

DbResult InitArchive(const ArchiveLocation &where, const QString &)
{
    bool created = false;
    if (where.isFile() && !QFileInfo::exists(where.config.path)) {
        // A new archive file: SQLite takes an empty file as an empty database.
        QFile file(where.config.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return {false, QStringLiteral("%1: %2").arg(where.config.path, file.errorString())};
        created = true;
    }
    DbResult result;
    {
        Database archive(QStringLiteral("archive"));
        result = archive.open(where.config);
        if (result)
            result = createOrUpgrade(archive, true);
    }
    // A file made here that did not become an archive would look like one.
    if (!result && created)
        QFile::remove(where.config.path);
    return result;
}

} // namespace invorator
