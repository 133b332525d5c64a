#include "TestSupport.h"

#include "services/Database.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// An empty SQLite database with one table, in a file of the test's own.
QString makeDatabase(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("archive.db");
    Database db("setup");
    // SQLite creates the file only through a driver that may create it; a plain file of
    // zero bytes is a valid empty database.
    writeFile(dir, "archive.db", "");
    EXPECT_TRUE(db.open(DbConfig::sqliteFile(path)));
    QSqlQuery q(db.connection());
    EXPECT_TRUE(q.exec("CREATE TABLE tblInvoice (ID INTEGER PRIMARY KEY, Nr TEXT)"));
    return path;
}

int rows(Database &db)
{
    QSqlQuery q(db.connection());
    return q.exec("SELECT count(*) FROM tblInvoice") && q.next() ? q.value(0).toInt() : -1;
}

bool insert(Database &db, const char *nr)
{
    QSqlQuery q(db.connection());
    q.prepare("INSERT INTO tblInvoice (Nr) VALUES (?)");
    q.addBindValue(QString::fromUtf8(nr));
    return q.exec();
}

} // namespace

// Writes that belong together land all or not at all: the guard rolls back on every way
// out but a successful commit.
TEST(Database, TransactionGuardCommitsOnlyWhenAskedTo)
{
    QTemporaryDir dir;
    Database db("archive");
    ASSERT_TRUE(db.open(DbConfig::sqliteFile(makeDatabase(dir))));
    {
        Transaction t(db);
        ASSERT_TRUE(t.begun());
        ASSERT_TRUE(insert(db, "A-1"));
        // leaves the scope without a commit: an early return after a failed step
    }
    EXPECT_EQ(rows(db), 0);
    {
        Transaction t(db);
        ASSERT_TRUE(insert(db, "A-3"));
        ASSERT_TRUE(insert(db, "A-4"));
        EXPECT_TRUE(t.commit());
        EXPECT_FALSE(t.commit()) << "a transaction commits once";
    }
    EXPECT_EQ(rows(db), 2);
    {
        // Closed under a running transaction: nothing lands, and the commit says so.
        Transaction t(db);
        ASSERT_TRUE(insert(db, "A-5"));
        db.close();
        EXPECT_FALSE(t.commit());
    }
    // What was committed is in the file, for a connection opened afterwards.
    ASSERT_TRUE(db.open(DbConfig::sqliteFile(dir.filePath("archive.db"))));
    EXPECT_EQ(rows(db), 2);
}

// Connections of one purpose do not share a name: closing one leaves the other usable, and
// a closed database refuses a transaction instead of writing anywhere.
TEST(Database, ConnectionsAreTheirOwnAndClosedOnesRefuseWork)
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir);
    Database first("texts");
    Database second("texts");
    ASSERT_TRUE(first.open(DbConfig::sqliteFile(path)));
    ASSERT_TRUE(second.open(DbConfig::sqliteFile(path)));
    first.close();
    EXPECT_EQ(rows(second), 0);
    Transaction t(first);
    EXPECT_FALSE(t.begun());
    EXPECT_FALSE(t.commit());

    // A server that does not answer fails with a reason, whether or not its driver is here.
    DbConfig server;
    server.engine = DbConfig::Engine::PostgreSQL;
    server.host = "127.0.0.1";
    server.port = 1; // nothing listens there
    server.name = "invoices";
    server.timeoutSeconds = 2;
    const DbResult result = first.open(server);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_FALSE(first.isOpen());
}
