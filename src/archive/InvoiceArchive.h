#pragma once

#include "services/Database.h"
#include "services/MessageSink.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace invorator {

class DisplayModel;
class SharedState;
struct ImportResult;

// Where the archive lives. The setting "Archive" names a SQLite file or a PostgreSQL
// connection URI (postgresql://user@host:port/dbname; the password comes from the
// PostgreSQL password file or PGPASSWORD, never from the settings); without it, the file
// DB/Invoices.mdb of the program folder.
struct ArchiveLocation
{
    DbConfig config;
    bool isFile() const { return config.engine == DbConfig::Engine::SQLite; }

    // Why a PostgreSQL address cannot be used.
    enum class Problem { NotAnAddress, HoldsPassword };
    // The location a setting names, or the reason it cannot be used.
    static std::optional<ArchiveLocation> parse(const QString &setting, const QString &programFolder,
                                                Problem *problem = nullptr);
};

// Why the setting names no usable archive, in the current language.
QString ArchiveAddressText(const SharedState &state, ArchiveLocation::Problem problem,
                           const QString &setting);

// The archive the shared state's settings name (the default file when unusable).
ArchiveLocation ArchiveOf(const SharedState &state);
// Whether saving can be offered: the archive file exists, or a server is named.
bool ArchiveAvailable(const ArchiveLocation &where);

enum class SaveOutcome {
    Saved,     // the whole invoice is stored
    NotSaved,  // a step could not store its part (messages 44, 45, 47); nothing was written
    NoArchive, // message 49
    Failed     // "Fehler: ": the archive could not be used or the document not stored; nothing was written
};

// The steps of a save, in their order; all of them run in one transaction.
enum class SaveStep { None, Header, Items, Deductions, Document, Commit };

// What a save did: how it ended, which step failed, whether it replaced an earlier version
// of the seller's invoice of this number, and the messages that tell the user, in the order to show them.
struct SaveReport
{
    SaveOutcome outcome = SaveOutcome::Failed;
    SaveStep failedStep = SaveStep::None;
    bool replaced = false;
    QString failure; // the description behind "Fehler: "
    QString documentPath;
    std::vector<Message> messages;
};

// One save into the archive the settings name: opening it and checking that it can take
// an invoice comes first, so that the caller asks the user (question()) only then.
class ArchiveSave
{
public:
    explicit ArchiveSave(const SharedState &state);
    ~ArchiveSave();
    ArchiveSave(const ArchiveSave &) = delete;
    ArchiveSave &operator=(const ArchiveSave &) = delete;

    // False when the archive is missing or unusable; report() then says why.
    bool ready() const { return m_archive != nullptr; }
    const SaveReport &report() const { return m_report; }
    // Whether the archive holds this seller's invoice of this number already: only then
    // is the user asked (question()) whether to replace it.
    bool holds(const DisplayModel &model) const;
    // The question before replacing an archived invoice (message 42).
    Message question() const;
    // Saves the invoice on show: the model as shown and the file as its import read it.
    SaveReport save(const DisplayModel &model, const ImportResult &imported);

private:
    const SharedState &m_state;
    std::unique_ptr<Database> m_archive;
    SaveReport m_report;
};

// The same without a question, for callers that decided already.
SaveReport SaveToArchive(const SharedState &state, const DisplayModel &model, const ImportResult &imported);

// Upgrades an open archive of an earlier schema in place, in one transaction; an archive of
// this schema is only asked for its version. Whoever opens the archive calls it first.
DbResult UpgradeArchive(Database &archive);

// Creates the archive's tables where they are missing and upgrades an archive of an earlier
// schema in place (the version is recorded in tblArchiveInfo).
DbResult InitArchive(const ArchiveLocation &where, const QString &programFolder);

} // namespace invorator
