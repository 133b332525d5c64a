// Validation against the official test sets and results: every file the official
// artefacts were run on must break exactly the fatal rules they report, the CEN unit tests'
// expectations must hold, and the rule tables must agree with the official rule ids.
#include "TestSupport.h"

#include "checks/Validation.h"
#include "checks/validation/RuleContext.h"
#include "output/ValidationTexts.h"
#include "services/SharedState.h"
#include "services/XmlDocument.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include <map>

using namespace invorator;

namespace {

const QString DataDir = QStringLiteral(VALIDATION_DATA);
const QString Folder = ValidationFolder(QStringLiteral(PROGRAM_FOLDER));

// The rows of a TSV file after its header.
std::vector<QStringList> rows(const QString &path)
{
    std::vector<QStringList> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    file.readLine();
    while (!file.atEnd()) {
        const QString line =
            QString::fromUtf8(file.readLine()).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        if (!line.isEmpty())
            out.push_back(line.split(QLatin1Char('\t')));
    }
    return out;
}

ValidationReport validate(const QString &path)
{
    XmlDocument doc;
    if (!doc.load(path))
        return {};
    return ValidateInvoice(doc, Folder);
}

QSet<QString> notBuilt()
{
    QSet<QString> ids;
    for (const QStringList &row : rows(DataDir + QStringLiteral("/validation/not-built.tsv")))
        ids.insert(row.at(0));
    return ids;
}

// Findings that belong to no official rule set.
bool ownFinding(const QString &rule)
{
    static const QSet<QString> own{QStringLiteral("XSD"),     QStringLiteral("XSD-MORE"),
                                   QStringLiteral("SETUP"),   QStringLiteral("ROOT"),
                                   QStringLiteral("PROFILE"), QStringLiteral("ZUGFERD1")};
    return own.contains(rule);
}

// "BR-16 fatal", "UBL-CR-001 warning", … for every official rule reported.
QSet<QString> ids(const ValidationReport &report, const QSet<QString> &skip)
{
    QSet<QString> out;
    for (const ValidationFinding &f : report.findings)
        if (!ownFinding(f.rule) && !skip.contains(f.rule))
            out.insert(f.rule + QLatin1Char(' ') + FlagName(f.flag));
    return out;
}

QString sorted(const QSet<QString> &set)
{
    QStringList list(set.begin(), set.end());
    list.sort();
    return list.join(QLatin1Char(' '));
}

} // namespace

// Every file of the official results, every rule built: the rule ids we report, with their
// flags, are exactly those the official artefacts report, and the XRechnung rules apply
// exactly where they were run.
TEST(Validation, RulesAgreeWithTheOfficialResults)
{
    const QSet<QString> skip = notBuilt();
    std::map<QString, QSet<QString>> expected;
    std::map<QString, bool> xrechnung;
    for (const QStringList &row : rows(DataDir + QStringLiteral("/validation/golden-files.tsv"))) {
        expected[row.at(0)];
        xrechnung[row.at(0)] = xrechnung[row.at(0)] || row.at(4) == QLatin1String("XRechnung");
    }
    for (const QStringList &row : rows(DataDir + QStringLiteral("/validation/golden.tsv")))
        if (!skip.contains(row.at(2)))
            expected[row.at(0)].insert(row.at(2) + QLatin1Char(' ') + row.at(3));
    ASSERT_GT(expected.size(), 1200u);

    std::map<QString, int> missed;
    std::map<QString, int> extra;
    QStringList examples;
    for (const auto &[file, official] : expected) {
        const ValidationReport report = validate(DataDir + QLatin1Char('/') + file);
        EXPECT_EQ(report.xrechnung, xrechnung[file]) << file.toStdString();
        const QSet<QString> ours = ids(report, skip);
        if (ours == official)
            continue;
        for (const QString &id : official - ours)
            ++missed[id];
        for (const QString &id : ours - official)
            ++extra[id];
        if (examples.size() < 20)
            examples << file + QStringLiteral(": missing {") + sorted(official - ours) +
                            QStringLiteral("} extra {") + sorted(ours - official) + QLatin1Char('}');
    }
    QString summary;
    for (const auto &[id, count] : missed)
        summary += QStringLiteral("%1 missed in %2 files\n").arg(id).arg(count);
    for (const auto &[id, count] : extra)
        summary += QStringLiteral("%1 reported wrongly in %2 files\n").arg(id).arg(count);
    EXPECT_TRUE(summary.isEmpty()) << summary.toStdString() << examples.join(QLatin1Char('\n')).toStdString();
}

// What each CEN unit test asserts: a rule that must pass is not reported; an error is a
// fatal finding of that rule, a warning a warning.
TEST(Validation, CenUnitTestsHold)
{
    const QSet<QString> skip = notBuilt();
    QStringList failures;
    int checked = 0;
    for (const QStringList &row : rows(DataDir + QStringLiteral("/validation/cen-unit/expectations.tsv"))) {
        const QString &rule = row.at(1);
        if (skip.contains(rule))
            continue;
        ++checked;
        const ValidationReport report =
            validate(DataDir + QStringLiteral("/validation/cen-unit/") + row.at(0));
        bool fatal = false;
        bool warning = false;
        for (const ValidationFinding &f : report.findings) {
            fatal = fatal || (f.rule == rule && f.flag == FindingFlag::Fatal);
            warning = warning || (f.rule == rule && f.flag == FindingFlag::Warning);
        }
        const QString &want = row.at(2);
        const bool holds = want == QLatin1String("success") ? !fatal && !warning
                           : want == QLatin1String("error") ? fatal
                                                            : warning;
        if (!holds)
            failures << row.join(QLatin1Char(' '));
    }
    EXPECT_GT(checked, 0);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
}

// The rule tables name official rules with their official flag and syntax, none twice;
// every official rule is built or listed as not built yet, never both; every rule built
// has its sentence in German, English and French.
TEST(Validation, RuleTablesMatchTheOfficialRules)
{
    std::map<std::pair<QString, unsigned>, QString> official; // (id, syntax) → flag
    QSet<QString> officialIds;
    for (const QStringList &row : rows(DataDir + QStringLiteral("/validation/rules.tsv"))) {
        const unsigned syntax = row.at(2) == QLatin1String("CII")   ? validation::Cii
                                : row.at(2) == QLatin1String("UBL") ? validation::Ubl
                                                                    : validation::Both;
        for (unsigned s : {validation::Cii, validation::Ubl})
            if (syntax & s)
                official[{row.at(0), s}] = row.at(1);
        officialIds.insert(row.at(0));
    }
    const QSet<QString> skip = notBuilt();
    QSet<QString> built;
    std::map<std::pair<QString, unsigned>, int> seen;
    for (auto family :
         {validation::CoreRules(), validation::CalculationRules(), validation::DecimalRules(),
          validation::VatCategoryRules(), validation::CodeListRules(), validation::CiiSyntaxRules(),
          validation::UblSyntaxRules(), validation::XRechnungRules()})
        for (const validation::Rule &rule : family) {
            const QString id = QString::fromLatin1(rule.id);
            built.insert(id);
            EXPECT_FALSE(skip.contains(id)) << rule.id << " is built and listed as not built";
            for (unsigned s : {validation::Cii, validation::Ubl}) {
                if (!(rule.syntaxes & s))
                    continue;
                const int times = ++seen[std::make_pair(id, s)];
                EXPECT_EQ(times, 1) << rule.id << " twice for one syntax";
                const auto it = official.find({id, s});
                ASSERT_NE(it, official.end()) << rule.id << " is no official rule of that syntax";
                EXPECT_EQ(FlagName(rule.flag), it->second) << rule.id;
            }
        }
    EXPECT_TRUE((officialIds - built - skip).isEmpty()) << sorted(officialIds - built - skip).toStdString();

    SharedState state{QStringLiteral(PROGRAM_FOLDER)};
    ASSERT_TRUE(state.OpenTextsDb());
    for (const char *language : {"DE", "EN", "FR"}) {
        state.LanguageCode = QString::fromLatin1(language);
        const ValidationTexts texts = ValidationTexts::read(state);
        QStringList missing;
        for (const QString &id : built + QSet<QString>{QStringLiteral("XSD"), QStringLiteral("XSD-MORE"),
                                                       QStringLiteral("SETUP"), QStringLiteral("ROOT"),
                                                       QStringLiteral("PROFILE"), QStringLiteral("ZUGFERD1")})
            if (!texts.has(id))
                missing << id;
        EXPECT_TRUE(missing.isEmpty()) << language << ": " << missing.join(QLatin1Char(' ')).toStdString();
    }
    // Each value goes into its own place of the sentence.
    state.LanguageCode = QStringLiteral("EN");
    EXPECT_EQ(ValidationTexts::read(state).message({QStringLiteral("BR-CL-23"),
                                                    FindingFlag::Fatal,
                                                    {},
                                                    0,
                                                    {QStringLiteral("PCS"), QStringLiteral("cbc:X")}}),
              QStringLiteral("The unit of measure \"PCS\" on cbc:X (BT-130, BT-150) is not a unit of UN/ECE "
                             "Recommendation 20 or 21."));
}

// Every code list, in small hand-made invoices: a code from the list passes and one from
// elsewhere fails, reported with the code. Guards against a wrong list (the neighbouring
// list's code is the wrong one where there is one), lost white space handling, the upper-
// casing of VATEX and the exact MIME compare, and SEPA taken for any party. The German
// document types and the decimals of an amount are told apart the same way.
TEST(Validation, EachCodeListTellsRightFromWrong)
{
    const QString cii = QStringLiteral(
        "<rsm:CrossIndustryInvoice "
        "xmlns:rsm=\"urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100\" "
        "xmlns:ram=\"urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100\">"
        "%1</rsm:CrossIndustryInvoice>");
    const QString ubl = QStringLiteral(
        "<%2 xmlns=\"urn:oasis:names:specification:ubl:schema:xsd:%2-2\" "
        "xmlns:cac=\"urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2\" "
        "xmlns:cbc=\"urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2\">%1</%2>");
    const char *invoice = "Invoice";
    struct Case
    {
        const char *rule, *root, *fragment, *right, *wrong;
    };
    // clang-format off
    const Case cases[] = {
        {"BR-CL-01", nullptr, "<rsm:ExchangedDocument><ram:TypeCode>%1</ram:TypeCode></rsm:ExchangedDocument>", "380", "999"},
        {"BR-CL-01", invoice, "<cbc:InvoiceTypeCode>%1</cbc:InvoiceTypeCode>", "380", "381"},
        {"BR-CL-01", "CreditNote", "<cbc:CreditNoteTypeCode>%1</cbc:CreditNoteTypeCode>", "381", "380"},
        {"BR-CL-03", invoice, "<cbc:PayableAmount currencyID=\"%1\">1</cbc:PayableAmount>", " EUR ", "EURO"},
        {"BR-CL-06", nullptr, "<ram:DueDateTypeCode>%1</ram:DueDateTypeCode>", "72", "3"},
        {"BR-CL-06", invoice, "<cac:InvoicePeriod><cbc:DescriptionCode>%1</cbc:DescriptionCode></cac:InvoicePeriod>", "3", "72"},
        {"BR-CL-07", invoice, "<cac:DocumentReference><cbc:ID schemeID=\"%1\">X</cbc:ID><cbc:DocumentTypeCode>130</cbc:DocumentTypeCode></cac:DocumentReference>", "AAA", "XXA"},
        {"BR-CL-08", nullptr, "<ram:IncludedNote><ram:SubjectCode>%1</ram:SubjectCode></ram:IncludedNote>", "AAA", "QQQ"},
        {"BR-CL-10", invoice, "<cac:AccountingSupplierParty><cac:Party><cac:PartyIdentification><cbc:ID schemeID=\"%1\">X</cbc:ID></cac:PartyIdentification></cac:Party></cac:AccountingSupplierParty>", "SEPA", "GLN"},
        {"BR-CL-10", invoice, "<cac:AccountingCustomerParty><cac:Party><cac:PartyIdentification><cbc:ID schemeID=\"%1\">X</cbc:ID></cac:PartyIdentification></cac:Party></cac:AccountingCustomerParty>", "0088", "SEPA"},
        {"BR-CL-13", nullptr, "<ram:ClassCode listID=\"%1\">1</ram:ClassCode>", "AA", "CPV"},
        {"BR-CL-14", nullptr, "<ram:CountryID>%1</ram:CountryID>", "AN", "SS"},
        {"BR-CL-14", invoice, "<cac:Country><cbc:IdentificationCode>%1</cbc:IdentificationCode></cac:Country>", "SS", "AN"},
        {"BR-CL-16", invoice, "<cac:PaymentMeans><cbc:PaymentMeansCode>%1</cbc:PaymentMeansCode></cac:PaymentMeans>", "58", "ZZ"},
        {"BR-CL-17", invoice, "<cac:TaxCategory><cbc:ID>%1</cbc:ID></cac:TaxCategory>", "AE", "AA"},
        {"BR-CL-19", invoice, "<cac:AllowanceCharge><cbc:ChargeIndicator>false</cbc:ChargeIndicator><cbc:AllowanceChargeReasonCode>%1</cbc:AllowanceChargeReasonCode></cac:AllowanceCharge>", "41", "AAA"},
        {"BR-CL-20", invoice, "<cac:AllowanceCharge><cbc:ChargeIndicator>true</cbc:ChargeIndicator><cbc:AllowanceChargeReasonCode>%1</cbc:AllowanceChargeReasonCode></cac:AllowanceCharge>", "AAA", "41"},
        {"BR-CL-22", nullptr, "<ram:ExemptionReasonCode>%1</ram:ExemptionReasonCode>", "vatex-eu-o", "VATEX EU O"},
        {"BR-CL-23", invoice, "<cbc:InvoicedQuantity unitCode=\"%1\">1</cbc:InvoicedQuantity>", "H87", "PCS"},
        {"BR-CL-24", invoice, "<cbc:EmbeddedDocumentBinaryObject mimeCode=\"%1\">AA==</cbc:EmbeddedDocumentBinaryObject>", "application/pdf", " application/pdf"},
        {"BR-CL-25", nullptr, "<ram:URIID schemeID=\"%1\">a@b.de</ram:URIID>", "EM", "GLN"},
        {"BR-DE-17", nullptr, "<rsm:ExchangedDocumentContext><ram:GuidelineSpecifiedDocumentContextParameter><ram:ID>urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0</ram:ID></ram:GuidelineSpecifiedDocumentContextParameter></rsm:ExchangedDocumentContext><rsm:ExchangedDocument><ram:TypeCode>%1</ram:TypeCode></rsm:ExchangedDocument>", "877", "383"},
        {"BR-DEC-16", nullptr, "<rsm:SupplyChainTradeTransaction><ram:ApplicableHeaderTradeSettlement><ram:SpecifiedTradeSettlementHeaderMonetarySummation><ram:TotalPrepaidAmount>%1</ram:TotalPrepaidAmount></ram:SpecifiedTradeSettlementHeaderMonetarySummation></ram:ApplicableHeaderTradeSettlement></rsm:SupplyChainTradeTransaction>", "1.50", "1.505"},
    };
    // clang-format on
    for (const Case &test : cases)
        for (const char *code : {test.right, test.wrong}) {
            const QString body = QString::fromUtf8(test.fragment).arg(QString::fromUtf8(code));
            XmlDocument doc;
            ASSERT_TRUE(doc.loadXml(
                (test.root ? ubl.arg(body, QString::fromLatin1(test.root)) : cii.arg(body)).toUtf8()));
            QStringList found;
            for (const ValidationFinding &f : ValidateInvoice(doc, Folder).findings)
                if (f.rule == QLatin1String(test.rule) && f.flag != FindingFlag::Information)
                    found << (f.values.contains(QString::fromUtf8(code)) ? QString::fromUtf8(code)
                                                                         : f.values.join(QLatin1Char(' ')));
            const QStringList expected =
                code == test.wrong ? QStringList{QString::fromUtf8(code)} : QStringList{};
            EXPECT_EQ(found, expected) << test.rule << " with " << code;
        }
}

namespace {

// The element at a path of names as written ("cac:Delivery/cac:DeliveryParty"); "[n]" picks
// the n-th of like-named siblings.
xmlNode *elementAt(xmlNode *from, const QString &path)
{
    for (const QString &step : path.split(QLatin1Char('/'))) {
        const qsizetype bracket = step.indexOf(QLatin1Char('['));
        const QString name = step.left(bracket);
        int wanted = bracket < 0 ? 1 : step.mid(bracket + 1).chopped(1).toInt();
        xmlNode *child = from ? from->children : nullptr;
        for (; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE && validation::NameOf(child) == name && --wanted == 0)
                break;
        from = child;
    }
    return from;
}

bool reports(const XmlDocument &doc, const QString &rule)
{
    for (const ValidationFinding &f : ValidateInvoice(doc, Folder).findings)
        if (f.rule == rule)
            return true;
    return false;
}

} // namespace

// Hand-made breaks of rules no official test file breaks: a valid invoice changed in one
// place (an element duplicated, one added) reports the rule, the unchanged one does not; a
// rule marked "-" must stay silent after the change. Guards against a rule on the wrong
// element, one that never fires, and one counted over the whole document where it holds
// per element.
TEST(Validation, OwnCasesBreakTheirRule)
{
    const auto cases = rows(DataDir + QStringLiteral("/validation/own-cases.tsv"));
    ASSERT_FALSE(cases.empty());
    for (const QStringList &row : cases) {
        const QString where = row.join(QLatin1Char(' '));
        const bool silent = row.at(4).startsWith(QLatin1Char('-'));
        const QString rule = silent ? row.at(4).mid(1) : row.at(4);
        XmlDocument doc;
        ASSERT_TRUE(doc.load(DataDir + QLatin1Char('/') + row.at(0))) << where.toStdString();
        EXPECT_FALSE(reports(doc, rule)) << "unchanged: " << where.toStdString();
        xmlNode *node = elementAt(xmlDocGetRootElement(doc.tree()), row.at(2));
        ASSERT_NE(node, nullptr) << where.toStdString();
        if (row.at(1) == QLatin1String("duplicate")) {
            xmlAddNextSibling(node, xmlCopyNode(node, 1));
        } else {
            ASSERT_EQ(row.at(1), QLatin1String("add")) << where.toStdString();
            const QByteArray prefix = row.at(3).section(QLatin1Char(':'), 0, 0).toUtf8();
            const QByteArray name = row.at(3).section(QLatin1Char(':'), 1).toUtf8();
            xmlNewChild(node, xmlSearchNs(doc.tree(), node, BAD_CAST prefix.constData()),
                        BAD_CAST name.constData(), nullptr);
        }
        EXPECT_EQ(reports(doc, rule), !silent) << where.toStdString();
    }
}

// Elements EN 16931 does not use, one hand-made case per row of own-warning-cases.tsv: the
// base invoice does not break the rule; with the row's element put below its parent the
// rule warns once, at that element or inside it. Guards against a row that names the wrong element
// or parent (a shifted id), a line rule that misses credit note lines, and a warning
// raised where the element is absent.
TEST(Validation, UnusedElementsAreNamed)
{
    const auto named = [](const XmlDocument &doc, const QString &rule) {
        QStringList out;
        for (const ValidationFinding &f : ValidateInvoice(doc, Folder).findings)
            if (f.rule == rule && f.flag == FindingFlag::Warning)
                out << f.location;
        return out;
    };
    const auto cases = rows(DataDir + QStringLiteral("/validation/own-warning-cases.tsv"));
    ASSERT_GE(cases.size(), 10u);
    for (const QStringList &row : cases) {
        const std::string what = row.join(QLatin1Char(' ')).toStdString();
        XmlDocument doc;
        ASSERT_TRUE(doc.load(DataDir + QLatin1Char('/') + row.at(0))) << what;
        EXPECT_EQ(named(doc, row.at(3)), QStringList{}) << what;
        xmlNode *parent = xmlDocGetRootElement(doc.tree());
        for (const QString &step : row.at(2).split(QLatin1Char('/'))) {
            xmlNode *child = parent->children;
            while (child && !(child->type == XML_ELEMENT_NODE && validation::NameOf(child) == step))
                child = child->next;
            parent = step == QLatin1String(".") ? parent : child;
            ASSERT_TRUE(parent) << what;
        }
        const QByteArray element = row.at(1).toUtf8();
        xmlNode *added = nullptr;
        ASSERT_EQ(xmlParseInNodeContext(parent, element.constData(), int(element.size()), 0, &added),
                  XML_ERR_OK)
            << what;
        xmlAddChildList(parent, added);
        const QStringList found = named(doc, row.at(3));
        EXPECT_EQ(found.size(), 1) << what;
        for (const QString &location : found)
            EXPECT_TRUE(location.startsWith(validation::LocationOf(added))) << what << location.toStdString();
    }
}
