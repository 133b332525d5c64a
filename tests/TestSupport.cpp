#include "TestSupport.h"

#include "cli/CommandLine.h"
#include "localisation/TextsGateway.h"

#include <QCoreApplication>
#ifdef WIDGET_TESTS
#include <QApplication>
#endif
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

namespace testing_support {

QString corpus(const QString &relative)
{
    return QStringLiteral(CORPUS_DIR "/") + relative;
}
QString sample(const QString &name)
{
    return QStringLiteral(SAMPLES_DIR "/") + name;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

namespace {

template <typename Use> void withXPath(const QString &file, const char *xpath, Use use)
{
    xmlDoc *doc =
        xmlReadFile(QFile::encodeName(file).constData(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR);
    ASSERT_NE(doc, nullptr) << file.toStdString();
    xmlXPathContext *ctx = xmlXPathNewContext(doc);
    const std::pair<const char *, const char *> ns[] = {
        {"rsm", "urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100"},
        {"ram", "urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100"},
        {"udt", "urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100"},
        {"cac", "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2"},
        {"cbc", "urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2"}};
    for (const auto &[prefix, uri] : ns)
        xmlXPathRegisterNs(ctx, BAD_CAST prefix, BAD_CAST uri);
    xmlXPathObject *result = xmlXPathEvalExpression(BAD_CAST xpath, ctx);
    use(result);
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
}

} // namespace

std::optional<QString> xpathText(const QString &file, const char *xpath)
{
    std::optional<QString> text;
    withXPath(file, xpath, [&](xmlXPathObject *r) {
        if (r && r->nodesetval && r->nodesetval->nodeNr > 0) {
            xmlChar *content = xmlNodeGetContent(r->nodesetval->nodeTab[0]);
            text = QString::fromUtf8(reinterpret_cast<const char *>(content)).trimmed();
            xmlFree(content);
        }
    });
    return text;
}

int xpathCount(const QString &file, const char *xpath)
{
    int count = 0;
    withXPath(file, xpath,
              [&](xmlXPathObject *r) { count = r && r->nodesetval ? r->nodesetval->nodeNr : 0; });
    return count;
}

ImportRun::ImportRun(invorator::MsgAnswer answer)
    : state(QStringLiteral(PROGRAM_FOLDER)), sink(answer), driver(state, model, sink)
{
    state.OpenTextsDb();
    model.setDocumentTypes(invorator::TextsGateway(state).documentTypes());
}

invorator::ImportOutcome ImportRun::run(const QString &file, invorator::InvoiceKind k)
{
    sink.clear();
    result = driver.ImportInvoice(file, k);
    kind = result.kind;
    return result.outcome;
}

QList<int> ImportRun::messageNumbers() const
{
    QList<int> numbers;
    for (const auto &m : sink.messages())
        numbers << m.number;
    return numbers;
}

bool ImportRun::modelIsCleared() const
{
    using namespace invorator;
    for (const FieldSpec &row : DisplayFieldTable) {
        const Field &f = model[row.id];
        const bool cleared = row.id == Rd::DocumentType                            ? f.value() == "380"
                             : row.id == Rd::TaxTotal || row.id == Rd::FinalAmount ? f.text() == "0,00"
                                                                                   : f.text().isEmpty();
        if (!cleared)
            return false;
    }
    return model.lvTable.rowCount() == 0 && model.lvUst.rowCount() == 0 && model.lvAbzuege.rowCount() == 0 &&
           model.lvZahlung.rowCount() == 0;
}

QByteArray scanQrCode(const QImage &image)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("code.png");
    if (!image.save(png))
        return {};
    QProcess zbar;
    zbar.start("zbarimg", {"--raw", "-q", "-Sbinary", png});
    if (!zbar.waitForFinished(30000))
        return {};
    return zbar.readAllStandardOutput();
}

QByteArray ciiDocument(const QByteArray &exchangedDocument, const QByteArray &transaction)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<rsm:CrossIndustryInvoice xmlns:rsm="urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100"
 xmlns:ram="urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100"
 xmlns:udt="urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100">
<rsm:ExchangedDocumentContext><ram:GuidelineSpecifiedDocumentContextParameter><ram:ID>urn:test</ram:ID></ram:GuidelineSpecifiedDocumentContextParameter></rsm:ExchangedDocumentContext>
<rsm:ExchangedDocument>)" +
           exchangedDocument + "</rsm:ExchangedDocument>\n<rsm:SupplyChainTradeTransaction>" + transaction +
           "</rsm:SupplyChainTradeTransaction></rsm:CrossIndustryInvoice>\n";
}

CliRun RunCli(const QStringList &args)
{
    CliRun r;
    QTextStream o(&r.out);
    QTextStream e(&r.err);
    r.status = invorator::RunCommandLine(args, PROGRAM_FOLDER, o, e);
    o.flush();
    e.flush();
    return r;
}

} // namespace testing_support

int main(int argc, char **argv)
{
    // Settings, documents and temporary folders of the tests stay apart from the user's.
    // Each run gets a fresh home of its own.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CACHE_HOME");
    QStandardPaths::setTestModeEnabled(true);
#ifdef WIDGET_TESTS
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
