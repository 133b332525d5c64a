#include "TestSupport.h"

#include "attachments/Attachments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray ciiReference(const QByteArray &id, const QByteArray &object, const QByteArray &uri = {})
{
    QByteArray x =
        "<ram:AdditionalReferencedDocument><ram:IssuerAssignedID>" + id + "</ram:IssuerAssignedID>";
    if (!uri.isEmpty())
        x += "<ram:URIID>" + uri + "</ram:URIID>";
    return x + object + "</ram:AdditionalReferencedDocument>";
}

QByteArray object(const QByteArray &mime, const QByteArray &base64, const QByteArray &fileName = {})
{
    return "<ram:AttachmentBinaryObject mimeCode='" + mime + "'" +
           (fileName.isEmpty() ? QByteArray() : " filename='" + fileName + "'") + ">" + base64 +
           "</ram:AttachmentBinaryObject>";
}

} // namespace

TEST(Attachments, Base64FollowsTheXmlSchemaRules)
{
    EXPECT_EQ(DecodeBase64("SGVsbG8="), QByteArray("Hello"));
    EXPECT_EQ(DecodeBase64(" SGVs\r\n bG8=\t"), QByteArray("Hello")) << "white space is ignored";
    EXPECT_EQ(DecodeBase64(""), QByteArray());
    for (const char *bad : {"SGVsbG8", "SGV*bG8=", "SG=sbG8=", "SGVsbG8=QUFB", "SGVsbÖ8="})
        EXPECT_FALSE(DecodeBase64(QString::fromUtf8(bad))) << bad;
}

// Names the CII test below does not reach: backslashes, characters other systems do not
// allow, dots, blanks, line breaks and names too long for a file system.
TEST(Attachments, NamesFromTheDocumentBecomeOneSafeFileName)
{
    EXPECT_EQ(SafeFileName("a\\b"), "a_b");
    EXPECT_EQ(SafeFileName("C:x*?\"<>|.pdf"), "C_x______.pdf") << "what other systems do not allow";
    EXPECT_EQ(SafeFileName("."), "_");
    EXPECT_EQ(SafeFileName(".."), "_.");
    EXPECT_EQ(SafeFileName("  "), "Anlage");
    EXPECT_EQ(SafeFileName(QString("x\ny")), "x_y");
    // Long names are cut by UTF-8 bytes, between characters, keeping the extension:
    // 200 characters of CJK text are 600 bytes, more than any file system takes.
    const QString longName = SafeFileName(QString(300, 'a') + ".pdf");
    EXPECT_EQ(longName.toUtf8().size(), 240);
    EXPECT_TRUE(longName.endsWith(".pdf"));
    const QString chinese = SafeFileName(QString(200, QChar(0x53D1)) + ".pdf");
    EXPECT_EQ(chinese, QString(78, QChar(0x53D1)) + ".pdf");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x93\x84"); // one character, two UTF-16 units
    const QString pairs = SafeFileName("a" + emoji.repeated(100));
    EXPECT_EQ(pairs, "a" + emoji.repeated(59)) << "no pair is split";
}

// Hostile identifiers and types write inside the export folder or not at all; two
// attachments of one import never share a name; an earlier import's file is replaced; a
// document with both an address and its data gives the shortcut and the file; a
// shortcut holds its address on one line, since a line break or other control character
// would add keys of its own to the file.
TEST(Attachments, CiiAttachmentsStayInTheExportFolderAndNoneIsLost)
{
    QTemporaryDir root;
    const QString folder = root.filePath("export");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray png = "iVBORw0KGgo="; // 8 bytes
    const QByteArray refs = ciiReference("../../x", object("application/pdf", "JVBERi0=", "x.pdf")) +
                            ciiReference("/etc/passwd", object("application/pdf", "JVBERi0=", "p.pdf")) +
                            ciiReference("a/b", object("text/csv", "YSxi", "b.csv")) +
                            ciiReference("CON", object("text/csv", "YQ==", "c")) +
                            ciiReference("", object("text/csv", "Yg==", "e")) +
                            ciiReference(QByteArray(300, 'L'), object("text/csv", "Yw==", "l")) +
                            ciiReference("P1", object("image/png", png)) +
                            ciiReference("P2", object("image/png", png)) +
                            ciiReference("T", object("text/../../x", "eA==")) +
                            ciiReference("Bad", object("text/csv", "!!!notbase64")) +
                            ciiReference("Lieferschein", object("application/pdf", "JVBERi0="),
                                         "https://example.org/ls?id=1\r\nIcon\tFile=\x7fx") +
                            ciiReference("Lieferschein", QByteArray(), "https://example.org/second");
    const QString file =
        writeFile(root, "att.xml",
                  ciiDocument("<ram:ID>A-1</ram:ID>", "<ram:ApplicableHeaderTradeAgreement>" + refs +
                                                          "</ram:ApplicableHeaderTradeAgreement>"));
    // Left from an earlier import: replaced, not numbered.
    writeFile(root, "export/Externfile.png", "old");

    ImportRun run(MsgAnswer::No);
    run.driver.setExportFolder(folder);
    ASSERT_EQ(run.run(file), ImportOutcome::Read);
    // The one attachment whose data is not base64 is named, not silently dropped.
    EXPECT_EQ(run.messageNumbers(), QList<int>({54}));
    EXPECT_TRUE(run.result.offerExportFolder);
    EXPECT_TRUE(run.sink.messages()[0].text.contains("„Externfile.csv“"))
        << run.sink.messages()[0].text.toStdString();
    const QStringList expected = {"_._.._x",
                                  "_etc_passwd",
                                  "a_b",
                                  "CON",
                                  "Anlage",
                                  QString(240, 'L'),
                                  "Externfile.png",
                                  "Externfile-2.png",
                                  "Externfile",
                                  "Reference to Lieferschein.url",
                                  "Externfile.pdf",
                                  "Reference to Lieferschein-2.url"};
    EXPECT_EQ(run.result.attachments, expected);
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_EQ(entries(folder), sorted) << "nothing else, no temporary files left";
    EXPECT_EQ(entries(root.path()), QStringList({"att.xml"}));
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("../../x")));
    EXPECT_EQ(readFile(folder + "/a_b"), "a,b");
    EXPECT_EQ(readFile(folder + "/Externfile"), "x");
    EXPECT_EQ(readFile(folder + "/Externfile.pdf"), "%PDF-");
    EXPECT_EQ(readFile(folder + "/Reference to Lieferschein.url"),
              "[InternetShortcut]\r\nURL=https://example.org/ls?id=1IconFile=x\r\n");
    EXPECT_EQ(readFile(folder + "/Reference to Lieferschein-2.url"),
              "[InternetShortcut]\r\nURL=https://example.org/second\r\n");

    // The next import lists its own attachments only.
    ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(run.result.attachments.size(), 2);
}

// A missing export folder is made on the first import with attachments (a fresh machine has
// no documents folder yet); one that cannot be made is reported only for an invoice that
// has attachments to write.
TEST(Attachments, MissingExportFolderIsMadeAndReportedOnlyWithAttachments)
{
    QTemporaryDir root;
    const QString fresh = root.filePath("Dokumente/neu");
    ImportRun run;
    run.driver.setExportFolder(fresh);
    ASSERT_EQ(run.run(corpus("cii/CII_example1.xml")), ImportOutcome::Read);
    EXPECT_FALSE(QFileInfo::exists(fresh)) << "nothing to write, nothing made";
    ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(run.messageNumbers(), QList<int>());
    EXPECT_EQ(entries(fresh), run.result.attachments);
    EXPECT_EQ(entries(fresh).size(), 2);

    const QString blocked = writeFile(root, "file", "x") + "/export"; // below a file: cannot be made
    ImportRun none;
    none.driver.setExportFolder(blocked);
    ASSERT_EQ(none.run(corpus("cii/CII_example1.xml")), ImportOutcome::Read);
    EXPECT_EQ(none.messageNumbers(), QList<int>());
    ASSERT_EQ(none.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(none.messageNumbers(), QList<int>({9}));
}

// Real UBL documents: embedded files are written with their decoded size; every external
// reference gets a shortcut of its own name pointing at its own address. A reference with
// both embedded data and an address gives both the shortcut and the file.
TEST(Attachments, UblAndPeppolDocumentsWriteTheirAttachments)
{
    QTemporaryDir made;
    QByteArray both = readFile(corpus("ubl/01.01a-INVOICE_ubl.xml"));
    both.insert(both.indexOf("<cac:AccountingSupplierParty>"),
                "<cac:AdditionalDocumentReference><cbc:ID>Both</cbc:ID><cac:Attachment>"
                "<cbc:EmbeddedDocumentBinaryObject mimeCode='application/pdf' filename='b.pdf'>JVBERi0="
                "</cbc:EmbeddedDocumentBinaryObject><cac:ExternalReference><cbc:URI>https://e.example/b"
                "</cbc:URI></cac:ExternalReference></cac:Attachment></cac:AdditionalDocumentReference>");
    struct Case
    {
        QString file;
        InvoiceKind kind;
        QStringList names;
        QList<qint64> sizes;
    };
    // A size of -1 marks a shortcut.
    const Case cases[] = {
        {corpus("ubl/embedded-documents-bt-125_ubl.xml"),
         InvoiceKind::UBL,
         {"01_15_Anhang_01.pdf", "01_15_Anhang_02.pdf"},
         {13485, 13481}},
        {corpus("ubl/02.05a-INVOICE_ubl.xml"), InvoiceKind::UBL, {"01_15_Anhang_01.pdf"}, {150128}},
        {corpus("ubl-creditnote/ubl-creditnote.xml"),
         InvoiceKind::UBL,
         {"Reference to Doc1.url", "Externfile_TOSL108.pdf"},
         {-1, 36}},
        {corpus("ubl/guide-example2.xml"), InvoiceKind::Peppol, {"Reference to Doc1.url"}, {-1}},
        {corpus("peppol/AU_Credit_note.xml"), InvoiceKind::Peppol, {"CN03.pdf"}, {57}},
        {writeFile(made, "both.xml", both), InvoiceKind::UBL, {"Reference to Both.url", "Both"}, {-1, 5}},
    };
    for (const Case &c : cases) {
        const std::string name = QFileInfo(c.file).fileName().toStdString();
        QTemporaryDir dir;
        ImportRun run;
        run.driver.setExportFolder(dir.path());
        ASSERT_EQ(run.run(c.file, c.kind), ImportOutcome::Read) << name;
        EXPECT_EQ(run.result.attachments, c.names) << name;
        EXPECT_EQ(entries(dir.path()).size(), c.names.size()) << name << ": nothing else written";
        for (int i = 0; i < c.names.size() && i < c.sizes.size(); ++i) {
            if (c.sizes[i] >= 0) {
                EXPECT_EQ(QFileInfo(dir.filePath(c.names[i])).size(), c.sizes[i]) << name;
            }
        }
        if (c.file.endsWith("ubl/guide-example2.xml")) {
            EXPECT_EQ(readFile(dir.filePath("Reference to Doc1.url")),
                      "[InternetShortcut]\r\nURL=http://www.suppliersite.eu/sheet001.html\r\n");
        }
    }
}
