#include "ArchiveRows.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>

namespace testing_support {

const std::vector<ArchivedDocument> &ArchivedDocuments()
{
    static const std::vector<ArchivedDocument> documents{
        {"/in/mueller-r100-a.xml", QByteArray("<Invoice>R-100 first\0\xff\r\n</Invoice>", 34)},
        {"/in/mueller-r100-b.xml", readFile(sample("Rechnung-2026-0815.xml"))},
        {"/in/schmidt-r100.xml", "<Invoice>Schmidt</Invoice>"}};
    return documents;
}

bool FillArchive(QSqlDatabase &db)
{
    const auto run = [&db](const QString &sql, const QVariantList &values) {
        QSqlQuery q(db);
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        const bool ok = q.exec();
        EXPECT_TRUE(ok) << q.lastError().text().toStdString();
        return ok;
    };
    for (const ArchivedDocument &d : ArchivedDocuments()) {
        const QString sha = QCryptographicHash::hash(d.bytes, QCryptographicHash::Sha256).toHex();
        if (!run(
                "INSERT INTO tblDocuments (DocType, InvoiceNumber, BinaryFile, FileName, FileType, FileSize, "
                "Sha256, ImportDate) VALUES ('IN', 'R-100', ?, ?, 'xml', ?, ?, '2026-12-01 09:00:00')",
                {d.bytes, d.fileName, d.bytes.size(), sha}))
            return false;
    }
    const QVariant null(QMetaType(QMetaType::QString));
    const QVariant noId(QMetaType(QMetaType::LongLong));
    // SellerName, SellerKey, number, date, AmountDue, PaymentDue, SumsCheck, Validation, replaced, document.
    const std::vector<QVariantList> rows{
        {"Müller GmbH", "DE111", "R-100", "01.11.2026", "100.00", "100.00", "agree", "valid",
         "2026-12-02 08:00:00", 1},
        {"Müller GmbH", "DE111", "R-100", "02.11.2026", "119.00", "119.00", "agree", "valid", null, 2},
        {"Schmidt AG", "DE222", "R-100", "15.12.2026", "5000.50", "5000.50", "wrong", null, null, 3},
        {"Kleine KG", null, "2026-7", "31.12.2025", null, "0.99", null, null, null, noId}};
    int created = 0;
    for (const QVariantList &r : rows) {
        const QVariantList values{"2026-12-01 10:0" + QString::number(++created) + ":00",
                                  r[0],
                                  r[1],
                                  r[2],
                                  r[3],
                                  r[4],
                                  r[5],
                                  r[4].isNull() ? null : QVariant("EUR"),
                                  r[6],
                                  r[7],
                                  r[8],
                                  r[8].isNull() ? null : QVariant("anna"),
                                  r[9]};
        if (!run("INSERT INTO tblInvoice (CreateDate, SellerName, SellerKey, InvoiceNumber, InvoiceDate, "
                 "AmountDue, PaymentDue, Currency, SumsCheck, Validation, ReplacedDate, ReplacedUser, "
                 "DocumentID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 values))
            return false;
    }
    return true;
}

} // namespace testing_support
