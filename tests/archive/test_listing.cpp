// Finding archived invoices again through `invorator-cli archive`, on SQLite and on a
// PostgreSQL server of the test's own: the rows are written with plain SQL into an
// archive made by archive-init, so the listing is tested apart from the saving.
#include "ArchiveRows.h"
#include "PostgresServer.h"
#include "TestSupport.h"

#include "archive/InvoiceArchive.h"
#include "cli/CommandLine.h"
#include "localisation/TextsGateway.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace invorator;
using namespace testing_support;

namespace {

class ArchiveListingTest : public ::testing::TestWithParam<bool>
{
public:
    static void TearDownTestSuite() { server.reset(); }

protected:
    void SetUp() override
    {
        if (GetParam()) {
            if (!server) {
                server = std::make_unique<PostgresServer>();
                QString why;
                if (!server->start(&why)) {
                    server.reset();
                    FAIL() << why.toStdString();
                }
            }
            location = server->createDatabase(QString("listing%1").arg(++databases));
        } else {
            location = dir.filePath("Invoices.mdb");
        }
        ASSERT_EQ(cli({"archive-init"}).status, 0);
        db = QSqlDatabase::addDatabase(GetParam() ? "QPSQL" : "QSQLITE", "fill" + location);
        const QUrl url(location);
        db.setDatabaseName(GetParam() ? url.path().mid(1) : location);
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(url.userName());
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        ASSERT_TRUE(FillArchive(db));
    }
    void TearDown() override
    {
        const QString name = db.connectionName();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }

    CliRun cli(QStringList args) const { return RunCli(args << "--archive" << location); }
    // The ids `archive list` gives in JSON, in its order.
    QList<int> ids(const QStringList &filters) const
    {
        const CliRun r = cli(QStringList{"archive", "list", "--format", "json"} + filters);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QList<int> found;
        for (const QJsonValue &v : QJsonDocument::fromJson(r.out.toUtf8()).array())
            found << v["id"].toInt();
        return found;
    }

    static inline std::unique_ptr<PostgresServer> server;
    static inline int databases = 0;
    QTemporaryDir dir;
    QString location;
    QSqlDatabase db;
};

} // namespace

// Each filter alone and the latest versions only unless --all; newest first. Each case
// tells apart a filter that is ignored, one that reads the wrong column, and bounds that
// are not inclusive.
TEST_P(ArchiveListingTest, ListsLatestVersionsNewestFirstByEachFilter)
{
    const std::vector<std::pair<QStringList, QList<int>>> cases{
        {{}, {4, 3, 2}},
        {{"--all"}, {4, 3, 2, 1}},
        {{"--seller", "MÜLLER"}, {2}}, // the name, in any case
        {{"--seller", "de222"}, {3}},  // the seller's identity
        {{"--number", "r-1"}, {3, 2}}, // one number, two sellers
        {{"--from", "2026-11-02", "--to", "30.11.2026"}, {2}},
        {{"--all", "--to", "1.11.2026"}, {4, 1}},   // dates compared as dates, not as text
        {{"--min", "100", "--max", "119.00"}, {2}}, // amounts compared exactly, both bounds kept
        {{"--all", "--max", "100"}, {4, 1}},        // an older save's PaymentDue where AmountDue is empty
        {{"--state", "findings"}, {3}},
        {{"--state", "valid", "--all"}, {2, 1}},
        {{"--seller", "%"}, {}}, // no wildcards
    };
    for (const auto &[filters, expected] : cases)
        EXPECT_EQ(ids(filters), expected) << filters.join(' ').toStdString();

    const CliRun listed = cli({"archive", "list", "--all", "--format", "json"});
    const QJsonArray all = QJsonDocument::fromJson(listed.out.toUtf8()).array();
    const QString sha =
        QCryptographicHash::hash(ArchivedDocuments()[0].bytes, QCryptographicHash::Sha256).toHex();
    EXPECT_EQ(all[3].toObject(), QJsonObject({{"id", 1},
                                              {"seller", "Müller GmbH"},
                                              {"number", "R-100"},
                                              {"issueDate", "01.11.2026"},
                                              {"amountDue", "100.00"},
                                              {"currency", "EUR"},
                                              {"state", "valid"},
                                              {"replaced", "2026-12-02 08:00:00"},
                                              {"sha256", sha}}));
    EXPECT_EQ(all[0]["state"], QJsonValue()) << "not checked is neither valid nor findings";
    const CliRun text = cli({"archive", "list"});
    EXPECT_EQ(text.out.split('\n')[1], "3\t15.12.2026\tSchmidt AG\tR-100\t5000.50 EUR\tfindings");
}

// show gives the entry with its document and every version of that seller's number;
// export writes exactly the stored bytes and refuses what is no regular file.
TEST_P(ArchiveListingTest, ShowsAndExportsTheStoredOriginal)
{
    const ArchivedDocument &second = ArchivedDocuments()[1];
    const CliRun shown = cli({"archive", "show", "--lang", "EN", "2"});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    for (const QString &expected :
         {QString("Seller key: DE111"), "Document: " + second.fileName,
          "Size: " + QString::number(second.bytes.size()),
          "SHA-256: " + QString(QCryptographicHash::hash(second.bytes, QCryptographicHash::Sha256).toHex()),
          QString("Versions:\n  2\t02.11.2026\tMüller GmbH\tR-100\t119.00 EUR\tvalid\n"
                  "  1\t01.11.2026\tMüller GmbH\tR-100\t100.00 EUR\tvalid\treplaced 2026-12-02 08:00:00 by "
                  "anna\n")})
        EXPECT_TRUE(shown.out.contains(expected)) << expected.toStdString() << "\n"
                                                  << shown.out.toStdString();
    EXPECT_FALSE(shown.out.contains("Schmidt")) << "another seller's R-100 is no version";
    EXPECT_EQ(cli({"archive", "show", "99"}).status, 3);

    // A replaced version's original, bytes no text file holds, over a longer file.
    const QString out = writeFile(dir, "out.xml", QByteArray(500, 'x'));
    ASSERT_EQ(cli({"archive", "export", "1", out}).status, 0);
    EXPECT_EQ(readFile(out), ArchivedDocuments()[0].bytes);
    const CliRun folder = cli({"archive", "export", "2", dir.path()});
    EXPECT_EQ(folder.status, 3);
    EXPECT_TRUE(folder.err.contains(dir.path())) << folder.err.toStdString();
    EXPECT_EQ(cli({"archive", "export", "4", dir.filePath("none.xml")}).status, 3) << "no stored document";
    EXPECT_FALSE(QFile::exists(dir.filePath("none.xml")));
}

// verify passes on an intact archive and names a document whose bytes changed by one bit.
TEST_P(ArchiveListingTest, VerifyFindsAFlippedByte)
{
    const CliRun intact = cli({"archive", "verify"});
    EXPECT_EQ(intact.status, 0) << intact.out.toStdString() << intact.err.toStdString();
    QByteArray flipped = ArchivedDocuments()[2].bytes;
    const QString recorded = QCryptographicHash::hash(flipped, QCryptographicHash::Sha256).toHex();
    flipped[9] = char(flipped[9] ^ 1);
    // Stored documents cannot be changed through SQL: the changed copy comes in as a new row.
    QSqlQuery q(db);
    q.prepare("INSERT INTO tblDocuments (InvoiceNumber, BinaryFile, FileName, Sha256) VALUES ('x', ?, "
              "'bad.xml', ?)");
    q.addBindValue(flipped);
    q.addBindValue(recorded);
    ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    const CliRun found = cli({"archive", "verify"});
    EXPECT_EQ(found.status, 6);
    EXPECT_EQ(found.out.count('\n'), 1) << found.out.toStdString();
    SharedState texts(PROGRAM_FOLDER);
    ASSERT_TRUE(texts.OpenTextsDb());
    EXPECT_TRUE(found.out.startsWith(GetMeldung(texts, 142).arg("4", "bad.xml", recorded, "")))
        << found.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveListingTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "PostgreSQL" : "SQLite";
                         });

// Usage errors of `archive` exit 2 before the archive is opened.
TEST(ArchiveListingUsage, RefusesWhatItCannotUse)
{
    for (const QStringList &args :
         {QStringList{"archive"}, QStringList{"archive", "bogus"}, QStringList{"archive", "show"},
          QStringList{"archive", "show", "x"}, QStringList{"archive", "show", "-1"},
          QStringList{"archive", "export", "1"}, QStringList{"archive", "verify", "x"},
          QStringList{"archive", "list", "--from", "32.12.2026"},
          QStringList{"archive", "list", "--min", "1,5"}, QStringList{"archive", "list", "--state", "ok"},
          QStringList{"archive", "list", "--format", "xml"}, QStringList{"archive", "list", "--seller"},
          QStringList{"show", "--seller", "a", "f.xml"}}) {
        QString out, err;
        QTextStream o(&out), e(&err);
        EXPECT_EQ(
            RunCommandLine(args.mid(0, 1) + QStringList{"--archive", "/nonexistent/a.mdb"} + args.mid(1),
                           PROGRAM_FOLDER, o, e),
            2)
            << args.join(' ').toStdString();
    }
}
