// The invoice as a PDF, through the command-line program as a user runs it, read back
// with poppler's pdftotext and pdftoppm: what the invoice says is there as text, returns in
// red, long invoices run over pages with the header row on each, and a failed write leaves
// nothing behind; beside the PDF, every other file the programs write meets targets that
// are no regular file.
#include "TestSupport.h"

#include "localisation/ReasonTexts.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

int run(const QString &program, const QStringList &args, QString *err = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

int cli(const QStringList &args, QString *err = nullptr)
{
    return run(INVORATOR_CLI, args, err);
}

// The text of a PDF (one page, or all), without white space: line breaks fall anywhere.
QString pdfText(const QString &pdf, int page = 0)
{
    QProcess p;
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    p.start("pdftotext", args << pdf << "-");
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString squeezed(QString text)
{
    return text.remove(QRegularExpression("\\s+"));
}

// Pixels of the first page, rasterised by poppler, that are clearly red.
int redPixels(const QString &pdf)
{
    QTemporaryDir dir;
    QProcess p;
    p.start("pdftoppm",
            {"-r", "100", "-png", "-singlefile", "-f", "1", "-l", "1", pdf, dir.filePath("page")});
    p.waitForFinished(60000);
    const QImage page(dir.filePath("page.png"));
    int red = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    return page.isNull() ? -1 : red;
}

// The QR codes a camera reads off the pages of a PDF seen at that resolution, page by page.
QByteArray scannedCodes(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess p;
    p.start("pdftoppm", {"-r", QString::number(dpi), "-png", pdf, dir.filePath("page")});
    p.waitForFinished(60000);
    QByteArray codes;
    for (const QString &page : QDir(dir.path()).entryList({"page*.png"}, QDir::Files, QDir::Name))
        codes += scanQrCode(QImage(dir.filePath(page)));
    return codes;
}

// Every entry under folder with its type, inode and size, links not followed.
QStringList snapshot(const QString &folder)
{
    QStringList all;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st = {};
        lstat(QFile::encodeName(path).constData(), &st);
        all << QString("%1 %2/%3/%4").arg(path).arg(st.st_mode).arg(st.st_ino).arg(st.st_size);
    }
    all.sort();
    return all;
}

// Makes something of the type at path: a folder, a named pipe, a socket (kept open in
// sockets), a character device of the test's own with the null device's numbers, so that
// nothing here can replace anything under /dev (where none may be made, a link to
// /dev/null, which a user who cannot make one cannot replace either), or (S_IFLNK) a link
// to such a device.
bool makeTarget(mode_t type, const QByteArray &path, std::vector<int> &sockets)
{
    switch (type) {
    case S_IFDIR:
        return mkdir(path, 0700) == 0;
    case S_IFIFO:
        return mkfifo(path, 0600) == 0;
    case S_IFSOCK: {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        sockets.push_back(socket(AF_UNIX, SOCK_STREAM, 0));
        return bind(sockets.back(), reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    case S_IFCHR:
        return mknod(path, S_IFCHR | 0600, makedev(1, 3)) == 0 || symlink("/dev/null", path) == 0;
    default:
        return makeTarget(S_IFCHR, path + ".device", sockets) && symlink(path + ".device", path) == 0;
    }
}

} // namespace

TEST(Document, APdfHoldsWhatTheInvoiceSays)
{
    QTemporaryDir dir;
    const QString invoice = corpus("cii/EN16931_Einfach.cii.xml");
    const QString pdf = dir.filePath("out.pdf");
    ASSERT_EQ(cli({"pdf", invoice, pdf}), 0);
    const QString text = squeezed(pdfText(pdf));
    EXPECT_TRUE(text.contains(squeezed(*xpathText(invoice, "//rsm:ExchangedDocument/ram:ID"))));
    EXPECT_TRUE(text.contains(squeezed(*xpathText(invoice, "//ram:SellerTradeParty/ram:Name"))));
    const int lines = xpathCount(invoice, "//ram:IncludedSupplyChainTradeLineItem");
    ASSERT_GT(lines, 1);
    for (int i = 1; i <= lines; ++i) {
        const QByteArray name = "(//ram:IncludedSupplyChainTradeLineItem)[" + QByteArray::number(i) +
                                "]/ram:SpecifiedTradeProduct/ram:Name";
        EXPECT_TRUE(text.contains(squeezed(*xpathText(invoice, name)))) << i;
    }
    for (const char *total : {"ram:DuePayableAmount", "ram:TaxBasisTotalAmount", "ram:TaxTotalAmount"}) {
        const QString amount =
            xpathText(invoice, QByteArray("//ram:SpecifiedTradeSettlementHeaderMonetarySummation/") + total)
                ->replace('.', ',');
        EXPECT_TRUE(text.contains(amount)) << total;
    }
    EXPECT_TRUE(text.contains("Seite1von1"));
    EXPECT_TRUE(text.contains(QDate::currentDate().toString("dd.MM.yyyy"))) << "the day it was printed";

    // In English, the document's words follow.
    ASSERT_EQ(cli({"pdf", "--lang", "EN", invoice, pdf}), 0);
    EXPECT_TRUE(squeezed(pdfText(pdf)).contains("Page1of1"));

    // A return is drawn red, as the window shows it; an invoice without one has no red at all.
    EXPECT_EQ(redPixels(pdf), 0);
    ASSERT_EQ(cli({"pdf", sample("Rechnung-2026-0815.xml"), pdf}), 0);
    EXPECT_GT(redPixels(pdf), 20);
}

// The approval copy can be paid from: every means with what paying needs (the IBAN in
// blocks of four, the mandate and creditor of a direct debit), and the QR code of the means
// the window shows one for (the first), read off the page at 75 dpi, where a code smaller
// than about 2.5 cm is no longer read; none for a credit note, whose amount is paid back.
TEST(Document, APaymentBlockHoldsEveryMeansAndTheQrCodeOfTheChosenOne)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("pay.pdf");
    const std::pair<QString, QStringList> invoices[] = {
        {sample("Rechnung-2026-0815.xml"), {"DE02 1203 0000 0000 2020 51"}},
        {corpus("ubl/ubl-tc434-example1.xml"), {"NL57 RABO 0107 3075 10", "NL03 INGB 0004 4899 02"}},
        {corpus("cii/01.01_comprehensive_test_uncefact.xml"), {}},
        {corpus("ubl/maxRechnung_ubl.xml"), {}},
        {corpus("ubl-creditnote/direct-debit-bt-90-seller_creditnote.xml"), {"DE22 5001 0517 5263 1852 67"}}};
    for (const auto &[invoice, grouped] : invoices) {
        ASSERT_EQ(cli({"pdf", invoice, pdf}), 0) << invoice.toStdString();
        const QString text = pdfText(pdf);
        // The block follows the totals.
        const qsizetype block = text.lastIndexOf("Fälliger Zahlungsbetrag");
        ASSERT_GT(block, 0) << invoice.toStdString();
        for (const QString &iban : grouped)
            EXPECT_TRUE(text.mid(block).contains(iban)) << iban.toStdString();
        QProcess json;
        json.start(INVORATOR_CLI, {"json", invoice});
        json.waitForFinished(60000);
        const QJsonArray means =
            QJsonDocument::fromJson(json.readAllStandardOutput())["payment"]["means"].toArray();
        ASSERT_FALSE(means.isEmpty()) << invoice.toStdString();
        QString chosen;
        for (const QJsonValue &m : means) {
            for (const char *member : {"meansName", "iban", "accountName", "bic", "reference", "mandate",
                                       "creditorId", "dueDate", "amount"})
                EXPECT_TRUE(squeezed(text.mid(block)).contains(squeezed(m[member].toString())))
                    << invoice.toStdString() << " " << member;
            if (chosen.isEmpty())
                chosen = m["qr"].toString();
        }
        EXPECT_EQ(QString::fromUtf8(scannedCodes(pdf, 75)), chosen) << invoice.toStdString();
    }
    // A cash discount stands in the block with its amount and the last day to pay with it.
    ASSERT_EQ(cli({"pdf", corpus("pdf/zugferd_2p1_EXTENDED_Warenrechnung.pdf"), pdf}), 0);
    EXPECT_TRUE(squeezed(pdfText(pdf))
                    .contains(squeezed("14 Tage, 2,00 % von 518,99 = 10,38, zahlbar bis 20.08.2018")));
}

// The manuals name every command of the window and every page of the invoice in their
// language, as the window labels them: a command or page added without a word in a
// manual, or renamed in the texts database only, fails here.
TEST(Document, TheManualsNameEveryCommandAndPage)
{
    QProcess sqlite;
    sqlite.start("sqlite3",
                 {"-separator", "\t", TEXTS_DB,
                  "SELECT DE, EN FROM tblLabelUebersetzungBar UNION ALL SELECT DE, EN FROM "
                  "tblLabelUebersetzungSSTab UNION ALL SELECT DE, EN FROM tblLabelUebersetzung WHERE "
                  "Feldname LIKE 'mnu%' OR Feldname IN ('frmMandant', 'frmSupport', 'frmSetting', "
                  "'btnCodeAnzeigen', 'btnXRechnung')"});
    sqlite.waitForFinished(30000);
    const QStringList rows =
        QString::fromUtf8(sqlite.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(rows.size(), 20);
    const QString german = QString::fromUtf8(readFile(SAMPLES_DIR "/../manual/Benutzerhandbuch.md"));
    const QString english = QString::fromUtf8(readFile(SAMPLES_DIR "/../manual/Handbook.md"));
    for (const QString &row : rows) {
        const QStringList names = row.split('\t');
        ASSERT_EQ(names.size(), 2) << row.toStdString();
        EXPECT_TRUE(german.contains("**" + names[0] + "**")) << names[0].toStdString();
        EXPECT_TRUE(english.contains("**" + names[1] + "**")) << names[1].toStdString();
    }
}

TEST(Document, ALongInvoiceRunsOverPagesWithItsHeaderOnEach)
{
    QTemporaryDir dir;
    const QByteArray xml = readFile(sample("Rechnung-2026-0815.xml"));
    const qsizetype start = xml.indexOf("<ram:IncludedSupplyChainTradeLineItem>");
    const QByteArray close = "</ram:IncludedSupplyChainTradeLineItem>";
    const qsizetype end = xml.indexOf(close, start) + close.size();
    QByteArray lines;
    for (int i = 0; i < 1000; ++i)
        lines += xml.mid(start, end - start);
    const QString invoice = writeFile(dir, "long.xml", xml.left(start) + lines + xml.mid(end));
    const QString pdf = dir.filePath("long.pdf");
    ASSERT_EQ(cli({"pdf", invoice, pdf}), 0);
    const QRegularExpression pages("Seite1von(\\d+)");
    const int count = pages.match(squeezed(pdfText(pdf, 1))).captured(1).toInt();
    ASSERT_GT(count, 5);
    // Every page the lines run over starts them with the header row.
    int withLines = 0;
    for (int page = 1; page <= count; ++page) {
        const QString text = squeezed(pdfText(pdf, page));
        if (text.contains("Eichenbrett2000")) {
            ++withLines;
            EXPECT_TRUE(text.contains("PosArtikelBezeichnungMengePreisUstGesamt")) << page;
        }
        EXPECT_TRUE(text.contains(QString("Seite%1von%2").arg(page).arg(count))) << page;
    }
    EXPECT_GE(withLines, count - 1);
}

// A failed write leaves nothing, and every file the program writes (the PDF, an attachment,
// a shortcut, the archive, the window's picture) refuses a target that is something other
// than a regular file with exit 3 and the reason, and leaves it as it was: a pipe would
// block, a device would take the bytes or be replaced by a file (as root, /dev/full was).
TEST(Document, AFailedWriteLeavesNothingAndNoTargetButARegularFileIsWritten)
{
    QTemporaryDir dir;
    const QString invoice = sample("Rechnung-2026-0815.xml");
    QString err;
    EXPECT_EQ(cli({"pdf", invoice, dir.filePath("missing/out.pdf")}, &err), 3);
    EXPECT_TRUE(err.contains("missing/out.pdf")) << err.toStdString();
    EXPECT_EQ(cli({"pdf", writeFile(dir, "x.xml", "<a/>"), dir.filePath("x.pdf")}), 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".pdf").isEmpty());

    std::vector<int> sockets;
    invorator::SharedState texts(PROGRAM_FOLDER);
    ASSERT_TRUE(texts.OpenTextsDb());
    using invorator::WriteRefusal;
    const std::pair<mode_t, WriteRefusal> targets[] = {{S_IFDIR, WriteRefusal::Folder},
                                                       {S_IFIFO, WriteRefusal::NamedPipe},
                                                       {S_IFSOCK, WriteRefusal::Socket},
                                                       {S_IFCHR, WriteRefusal::CharacterDevice},
                                                       {S_IFLNK, WriteRefusal::CharacterDevice}};
    for (const auto &[type, refusal] : targets) {
        const QString reason = WriteRefusalText(texts, refusal);
        const std::string what = reason.toStdString();
        QTemporaryDir row;
        const QString exportFolder = row.filePath("export");
        ASSERT_TRUE(QDir().mkpath(exportFolder));
        const QString pdf = row.filePath("out.pdf"), picture = row.filePath("shot.png");
        for (const QString &path : {pdf, picture, row.filePath("archive.mdb"), exportFolder + "/Aufmass-0815",
                                    exportFolder + "/Reference to Montagefotos.url"})
            ASSERT_TRUE(makeTarget(type, QFile::encodeName(path), sockets))
                << what << " " << path.toStdString();
        const QStringList before = snapshot(row.path());
        EXPECT_EQ(cli({"pdf", invoice, pdf}, &err), 3) << what;
        EXPECT_TRUE(err.contains(pdf + ": " + reason)) << err.toStdString();
        EXPECT_EQ(cli({"show", "--export", exportFolder, invoice}, &err), 3) << what;
        EXPECT_TRUE(err.contains("Aufmass-0815: " + reason)) << err.toStdString();
        EXPECT_TRUE(err.contains("Reference to Montagefotos.url: " + reason)) << err.toStdString();
        EXPECT_EQ(cli({"archive-init", "--archive", row.filePath("archive.mdb")}), 3) << what;
        EXPECT_EQ(run(INVORATOR_EXE, {"--screenshot", picture, invoice}, &err), 3) << what;
        EXPECT_TRUE(err.contains(picture + ": " + reason)) << err.toStdString();
        EXPECT_EQ(snapshot(row.path()), before) << what << ": every target as it was, and nothing beside";
    }
    for (int socket : sockets)
        close(socket);
    struct stat null = {};
    ASSERT_EQ(stat("/dev/null", &null), 0);
    EXPECT_TRUE(S_ISCHR(null.st_mode));
}
