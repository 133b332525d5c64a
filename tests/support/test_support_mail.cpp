// The support request by mail against a real mail server with TLS and AUTH: what the
// server receives, read back by Python's email package, and every way sending fails.
#include "SmtpServer.h"
#include "TestSupport.h"

#include "cli/CommandLine.h"
#include "support/SupportMail.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTextStream>

#include <gtest/gtest.h>

#include <thread>

using namespace invorator;
using namespace testing_support;

namespace {

// A program folder with the shipped texts and a client company of its own.
struct Installation
{
    Installation()
    {
        QDir(dir.path()).mkpath("DB");
        QFile::copy(TEXTS_DB, dir.filePath("DB/Daten.mdb"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "client");
            db.setDatabaseName(dir.filePath("DB/Daten.mdb"));
            db.open();
            QSqlQuery(db).exec("UPDATE tblAdressen SET Name1 = 'Müller & Söhne GmbH', "
                               "AnspEmail = 'anna@mueller.example', "
                               "EMail = 'kasse@mueller.example' || char(13, 10) || 'Bcc: boese@example.org'");
        }
        QSqlDatabase::removeDatabase("client");
        config = SmtpServer::instance().writeConfig(dir.filePath("DB"));
    }
    QTemporaryDir dir;
    QString config;
};

struct CliResult
{
    int status = -1;
    QString err;
};

CliResult support(const Installation &at, const QStringList &args)
{
    CliResult r;
    QString out;
    QTextStream o(&out);
    QTextStream e(&r.err);
    r.status = RunCommandLine(QStringList{"support"} + args, at.dir.path(), o, e);
    e.flush();
    EXPECT_TRUE(out.isEmpty());
    return r;
}

QByteArray decoded(const QJsonValue &base64)
{
    return QByteArray::fromBase64(base64.toString().toLatin1());
}

} // namespace

TEST(SupportMail, TheServerReceivesTheRequestAsWritten)
{
    Installation at;
    SmtpServer &server = SmtpServer::instance();
    const QByteArray invoice = "<Invoice>ä</Invoice>\r\n";
    // A line break in a name must not start a header of its own (a hidden recipient).
    const QString fileName = "Rechnung\r\nBcc: boese@example.org.xml";
    const QString attachment = writeFile(at.dir, fileName, invoice);
    const int before = server.mailCount();
    CliResult r = support(
        at, {"--name", "Jürgen Groß", "--message", "Zeile 1\nZeile 2 – danke", "--attach", attachment});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    ASSERT_EQ(server.mailCount(), before + 1);
    QJsonObject mail = server.mail(before + 1);
    EXPECT_EQ(mail["login"].toString(), SmtpServer::user());
    EXPECT_EQ(mail["mailFrom"].toString(), SmtpServer::user());
    EXPECT_EQ(mail["rcptTos"].toArray().toVariantList(), QVariantList({"hilfe@tarvo.example"}));
    EXPECT_TRUE(mail["from"].toString().contains(SmtpServer::user()));
    EXPECT_TRUE(mail["to"].toString().contains("hilfe@tarvo.example"));
    EXPECT_EQ(mail["replyTo"].toString(), "") << "an address with a line break is no header";
    EXPECT_EQ(mail["subject"].toString(),
              "Support-Anfrage von: " + QSysInfo::machineHostName() + " (Müller & Söhne GmbH)");
    EXPECT_FALSE(mail["date"].toString().isEmpty());
    EXPECT_TRUE(mail["messageId"].toString().startsWith('<') && mail["messageId"].toString().contains('@'));
    EXPECT_EQ(mail["mimeVersion"].toString(), "1.0");
    EXPECT_EQ(mail["charset"].toString(), "utf-8");
    EXPECT_EQ(QString::fromUtf8(decoded(mail["body"])),
              "Jürgen Groß\r\n\r\nMüller & Söhne GmbH\r\nanna@mueller.example\r\nZeile 1\nZeile 2 – danke");
    const QJsonArray files = mail["attachments"].toArray();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0]["filename"].toString(), fileName);
    EXPECT_EQ(decoded(files[0]["content"]), invoice);
    // A quote in a plain ASCII name would end the quoted file name early.
    const QString quoted = writeFile(at.dir, "say \"hi\".xml", invoice);
    ASSERT_EQ(support(at, {"--name", "A", "--message", "B", "--attach", quoted}).status, 0);
    EXPECT_EQ(server.mail(before + 2)["attachments"][0]["filename"].toString(), "say _hi_.xml");

    // Without an attachment, sent by the program as a user runs it, which opens the mail
    // module: the text alone.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("INVORATOR_SUPPORT_CONFIG", at.config);
    p.setProcessEnvironment(env);
    p.start(PROGRAM_FOLDER "/invorator-cli", {"support", "--name", "A", "--message", "B"});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    mail = server.mail(before + 3);
    EXPECT_TRUE(mail["attachments"].toArray().isEmpty());
}

// Each failure: exit 3, the error text with a description, nothing received, and the
// password nowhere in what is printed.
TEST(SupportMail, FailuresAreReportedAndSendNothing)
{
    Installation at;
    SmtpServer &server = SmtpServer::instance();
    const int before = server.mailCount();
    const QString folder = at.dir.path();
    const QString large = at.dir.filePath("large.pdf");
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(MaxAttachmentBytes + 1));
    }
    {
        // 20 MB exactly is still allowed.
        const QString largest = at.dir.filePath("largest.pdf");
        QFile f(largest);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(MaxAttachmentBytes));
        EXPECT_TRUE(CheckAttachment(largest));
        EXPECT_FALSE(CheckAttachment(large));
    }
    struct Case
    {
        const char *what;
        QList<std::pair<QString, QString>> config;
        QString attachment;
        const char *expected;
    };
    const Case cases[] = {
        {"wrong password",
         {{"Password", "falsch"}},
         {},
         "Der Mailserver hat die Nachricht nicht angenommen: "},
        {"certificate not trusted",
         {{"CaFile", ""}},
         {},
         "Der Mailserver hat die Nachricht nicht angenommen: "},
        {"no server answers", {{"Port", "1"}}, {}, "Der Mailserver hat die Nachricht nicht angenommen: "},
        {"account incomplete", {{"Server", ""}}, {}, "Abschnitt [Support]: leer oder ungültig: Server)"},
        {"start folder as attachment", {}, folder, "ist keine lesbare Datei"},
        {"deleted attachment", {}, folder + "/weg.xml", "ist keine lesbare Datei"},
        {"attachment too large", {}, large, "zu groß für eine E-Mail"},
    };
    for (const Case &c : cases) {
        SmtpServer::instance().writeConfig(at.dir.filePath("DB"), c.config);
        QStringList args{"--name", "N", "--message", "M"};
        if (!c.attachment.isEmpty())
            args << "--attach" << c.attachment;
        const CliResult r = support(at, args);
        EXPECT_EQ(r.status, 3) << c.what;
        EXPECT_TRUE(r.err.startsWith("Fehler beim Senden der Nachricht: ")) << c.what << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.expected))) << c.what << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(SmtpServer::password())) << c.what;
    }
    QFile::remove(at.config);
    const CliResult r = support(at, {"--name", "N", "--message", "M"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.contains("nicht eingerichtet (" + at.config + " fehlt)"))
        << "names the file that is missing, in German";
    EXPECT_EQ(server.mailCount(), before);
}

TEST(SupportMail, SendingEndsWhenCancelled)
{
    SilentPort silent;
    SupportConfig config;
    config.server = "127.0.0.1";
    config.port = silent.port();
    config.user = config.from = config.to = "x@example.org";
    config.password = "p";
    SupportRequest request;
    std::atomic<bool> cancel{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel = true;
    });
    const MailResult result = SendSupportMail(config, request, &cancel);
    stopper.join();
    EXPECT_EQ(result.problem, MailResult::Problem::Cancelled);
}
