#pragma once

#include "import/ImportDriver.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

#include <ostream>

// Readable QStrings and lists in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[' << l.join("|").toStdString() << ']';
}

namespace invorator {
// Kinds by name in failure messages.
inline std::ostream &operator<<(std::ostream &os, InvoiceKind kind)
{
    return os << KindName(kind).toStdString();
}
} // namespace invorator

namespace testing_support {

QString corpus(const QString &relative);
QString sample(const QString &name);

// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &path);
// Writes bytes to a file in dir and returns its path.
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);

// What a phone's camera reads off a drawn QR code: zbarimg's bytes as they are, nothing
// when it finds no code.
QByteArray scanQrCode(const QImage &image);

// Reads a value with libxml2's own XPath, independently of the program's XML service.
// Prefixes: rsm, ram, udt (CII) and cac, cbc (UBL).
std::optional<QString> xpathText(const QString &file, const char *xpath);
int xpathCount(const QString &file, const char *xpath);

// One import through the real driver, with the shipped texts database.
struct ImportRun
{
    explicit ImportRun(invorator::MsgAnswer answer = invorator::MsgAnswer::No);

    invorator::ImportOutcome run(const QString &file,
                                 invorator::InvoiceKind kind = invorator::InvoiceKind::CII);

    invorator::SharedState state;
    invorator::DisplayModel model;
    invorator::RecordingSink sink;
    invorator::ImportDriver driver;
    invorator::ImportResult result;                             // of the last run
    invorator::InvoiceKind kind = invorator::InvoiceKind::Auto; // the kind the last run read

    QList<int> messageNumbers() const;
    // True when no field or list holds anything beyond the cleared state.
    bool modelIsCleared() const;
};

// A CII invoice of the given body parts, for small hand-made cases.
QByteArray ciiDocument(const QByteArray &exchangedDocument, const QByteArray &transaction);

// The command line run in this process on the build's program folder.
struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};
CliRun RunCli(const QStringList &args);

} // namespace testing_support
