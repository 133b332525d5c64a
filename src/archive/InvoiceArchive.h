#pragma once

#include "services/Database.h"

#include <QString>

#include <optional>

namespace invorator {

class DisplayModel;
class MessageSink;
class SharedState;

// Where the archive lives. The setting "Archive" names a SQLite file or a PostgreSQL
// connection URI (postgresql://user@host:port/dbname; the password comes from the
// PostgreSQL password file or PGPASSWORD, never from the settings); without it, the file
// DB/Invoices.mdb of the program folder.
struct ArchiveLocation
{
    DbConfig config;
    bool isFile() const { return config.engine == DbConfig::Engine::SQLite; }

    // The location a setting names, or the reason it cannot be used.
    static std::optional<ArchiveLocation> parse(const QString &setting, const QString &programFolder,
                                                QString *problem = nullptr);
};

// The archive the shared state's settings name (the default file when unusable).
ArchiveLocation ArchiveOf(const SharedState &state);
// Whether saving can be offered: the archive file exists, or a server is named.
bool ArchiveAvailable(const ArchiveLocation &where);

// The four steps of a save. Each is one transaction: a step that fails leaves the archive
// exactly as it was before it. They read the display model only.
bool SaveInvoiceHeader(const DisplayModel &model, Database &archive, const QString &user);
bool SaveInvoiceItems(const DisplayModel &model, Database &archive);
bool SaveInvoiceDeductions(const DisplayModel &model, Database &archive);
// Stores the invoice file; on failure (file unreadable, database error) says why and
// writes nothing.
DbResult SaveInvoiceDocument(Database &archive, const QString &path, const QString &docType,
                             const QString &invoiceNumber);

enum class SaveOutcome {
    Saved,       // every step stored
    PartlySaved, // the lines or the allowances could not be stored (messages 45, 47)
    NotSaved,    // the header could not be stored; nothing was written
    Declined,    // the user answered No to message 42
    NoArchive,   // message 49
    Failed       // "Fehler: ": the archive or the invoice file could not be used
};

// Saves the invoice on screen: asks message 42, runs the steps and reports. The path is
// the invoice file as the file field shows it.
SaveOutcome SaveToArchive(const SharedState &state, const DisplayModel &model, const QString &invoicePath,
                          MessageSink &messages);

// Creates the archive's tables where they are missing.
DbResult InitArchive(const ArchiveLocation &where, const QString &programFolder);

} // namespace invorator
