#include "archive/InvoiceArchive.h"

#include "archive/ArchiveGateway.h"
#include "import/ImportDriver.h"
#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

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

HeaderValues headerValues(const DisplayModel &m)
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

bool storeHeader(const DisplayModel &model, ArchiveGateway &gateway, const QString &user, bool &replaced)
{
    const HeaderValues values = headerValues(model);
    const auto found = gateway.findInvoice(numberOf(model));
    if (!found)
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    replaced = found->has_value();
    return bool(*found ? gateway.updateHeader(**found, now, user, values)
                       : gateway.insertHeader(now, user, values));
}

bool storeItems(const DisplayModel &model, ArchiveGateway &gateway)
{
    const QString number = numberOf(model);
    const auto decimals = gateway.itemsKeepDecimals();
    if (!decimals || !gateway.deleteItems(number))
        return false;
    const ListView &lines = model.lvTable;
    const Decimal hundred(100);
    for (int r = 0; r < lines.rowCount(); ++r) {
        using namespace LineColumn;
        const Decimal quantity = shownDecimal(lines.cell(r, Quantity));
        const Decimal net = shownDecimal(lines.cell(r, Price));
        // The rate is read for the gross price first: an empty rate fails the line.
        const Decimal rate = shownDecimal(lines.cell(r, VatRate));
        const Decimal gross =
            *Decimal::divided(net * (hundred + rate), hundred, net.scale() + rate.scale() + 2);
        const auto n = [&](const Decimal &value) {
            return lineNumber(value, *decimals);
        };
        if (!gateway.insertItem(
                number, r + 1, shown(lines.cell(r, Position)), shown(lines.cell(r, Article)),
                shown(lines.cell(r, Description)),
                {n(quantity), n(net), n(gross), n(rate), n(gross * quantity), n(net * quantity)}))
            return false;
    }
    return true;
}

bool storeDeductions(const DisplayModel &model, ArchiveGateway &gateway)
{
    const QString number = numberOf(model);
    const ListView &rows = model.lvAbzuege;
    if (!gateway.deleteDeductions(number))
        return false;
    for (int r = 0; r < rows.rowCount(); ++r) {
        using namespace AllowanceColumn;
        const QString factor = trimmed(rows.cell(r, Percent));
        if (!gateway.insertDeduction(number, trimmed(rows.cell(r, Reason)), trimmed(rows.cell(r, ReasonCode)),
                                     factor.isEmpty() ? QStringLiteral("0") : factor,
                                     xmlDecimal(rows.cell(r, Amount), false),
                                     xmlDecimal(rows.cell(r, Basis), true)))
            return false;
    }
    return true;
}

} // namespace

std::optional<ArchiveLocation> ArchiveLocation::parse(const QString &setting, const QString &programFolder,
                                                      QString *problem)
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
            *problem = url.password().isEmpty()
                           ? QStringLiteral("not a PostgreSQL address: %1").arg(s)
                           : QStringLiteral("the archive address must not hold a password; use PGPASSWORD or "
                                            "the PostgreSQL password file");
        return std::nullopt;
    }
    where.config.engine = DbConfig::Engine::PostgreSQL;
    where.config.host = url.host();
    where.config.port = url.port(5432);
    where.config.name = name;
    where.config.user = url.userName();
    return where;
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
    QString problem;
    const auto where = ArchiveLocation::parse(state.ArchiveSetting, state.programFolder(), &problem);
    if (!where) {
        failed(problem);
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
        failed(opened.message);
        return;
    }
    if (const DbResult usable = ArchiveGateway(*archive).checkUsable(); !usable) {
        failed(usable.message);
        return;
    }
    m_archive = std::move(archive);
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
            message == 0 ? MakeMessage(0, MsgIcon::None, QString(), QStringLiteral("Fehler: ") + description)
                         : MakeMessage(message, MsgIcon::Exclamation, BrellwerkTitle,
                                       texts.message(message) + QStringLiteral("\r\n") + texts.message(48)));
        return report;
    };
    Transaction t(*m_archive);
    ArchiveGateway gateway(*m_archive);
    if (!t.begun())
        return failed(SaveStep::Header, 0, t.begun().message);
    if (const DbResult locked = gateway.lockNumber(number); !locked)
        return failed(SaveStep::Header, 0, locked.message);
    // Each step's message says what could not be stored; a value that is no number, or
    // that the archive cannot hold exactly, fails its step like a database error.
    const std::pair<SaveStep, int> steps[] = {
        {SaveStep::Header, 44}, {SaveStep::Items, 45}, {SaveStep::Deductions, 47}};
    for (const auto &[step, message] : steps) {
        bool stored = false;
        try {
            stored = step == SaveStep::Header ? storeHeader(model, gateway, m_state.UserName, report.replaced)
                     : step == SaveStep::Items ? storeItems(model, gateway)
                                               : storeDeductions(model, gateway);
        } catch (const BadValue &) {
            stored = false;
        }
        if (!stored)
            return failed(step, message);
    }
    if (const DbResult stored = gateway.insertDocument(QStringLiteral("IN"), number, imported.bytes,
                                                       report.documentPath, report.documentPath.right(3));
        !stored)
        return failed(SaveStep::Document, 0, stored.message);
    if (const DbResult committed = t.commit(); !committed)
        return failed(SaveStep::Commit, 0, committed.message);
    QString text = texts.message(43) + report.documentPath + QStringLiteral(" saved.\r\n");
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
        if (result) {
            QString schema = QString::fromUtf8(ArchiveSchema);
            if (!where.isFile()) {
                // The same tables in PostgreSQL's words for these types.
                schema.replace(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
                               QStringLiteral("BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY"));
                schema.replace(QStringLiteral(" DATETIME"), QStringLiteral(" TIMESTAMP"));
                schema.replace(QStringLiteral(" DECIMAL_TEXT"), QStringLiteral(" NUMERIC"));
                schema.replace(QStringLiteral(" REAL"), QStringLiteral(" DOUBLE PRECISION"));
                schema.replace(QStringLiteral(" BLOB"), QStringLiteral(" BYTEA"));
            }
            ArchiveGateway gateway(archive);
            Transaction t(archive);
            result = t.begun();
            if (result)
                result = gateway.createTables(schema);
            if (result)
                result = t.commit();
        }
    }
    // A file made here that did not become an archive would look like one.
    if (!result && created)
        QFile::remove(where.config.path);
    return result;
}

} // namespace invorator
