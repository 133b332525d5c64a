#pragma once

#include "services/Database.h"

#include <QSqlDatabase>
#include <QString>

namespace invorator {

// The state every part of the program shares: version and title, who runs it where,
// the texts database and the user's settings. One record per process (tests make their own).
class SharedState
{
public:
    // Fills version, title, user and computer name; the program folder holds DB/, images/, Flags/, Hilfe/.
    explicit SharedState(QString programFolder);
    ~SharedState();
    SharedState(const SharedState &) = delete;
    SharedState &operator=(const SharedState &) = delete;

    QString AppVersion;
    QString AppTitle;
    QString UserName;
    QString ComputerName;
    QString TextsDbPath;
    bool TextsDbOpen = false;

    QString FontName = QStringLiteral("Verdana");
    QString FontSize = QStringLiteral("8");
    QString LanguageCode = QStringLiteral("DE");
    QString NumberFormat = QStringLiteral("0.00");
    int FilterIndex = 1; // invoice kind: 1 CII, 2 UBL, 3 Peppol, 4 ZUGFeRD PDF

    const QString &programFolder() const { return m_programFolder; }
    QString archivePath() const { return m_programFolder + QStringLiteral("/DB/Invoices.mdb"); }

    // Opens DB/Daten.mdb; on failure returns false and leaves the reason in textsDbError().
    bool OpenTextsDb();
    void CloseTextsDb();
    QSqlDatabase textsDb() const;
    const QString &textsDbError() const { return m_textsDbError; }

    // The path fields' texts kept between runs: the invoice file ("LW"), the export
    // folder ("Folder") and the support attachment ("LWSupport", only ever read).
    QString LastInvoicePath;
    QString ExportFolder;
    QString SupportAttachment;
    // "Archive": another SQLite file or a PostgreSQL address for the archive; empty for
    // DB/Invoices.mdb of the program folder. Only ever read.
    QString ArchiveSetting;

    // A language chosen on the command line: it wins over the stored one for this run.
    QString CommandLineLanguage;

    // Every stored setting of this version is read and written here, and only here.
    // Reads all of them, each with its default when absent.
    void readSettings();
    // The settings page's save: "Language", "Font", "FontSize" and "Format".
    void writePreferences() const;
    // Closing the window: the preferences, then "LW", "Folder" and "FilterIndex" from
    // LastInvoicePath, ExportFolder and the filter index given.
    void writeOnClose(int filterIndex) const;

private:
    QString m_programFolder;
    Database m_texts;
    QString m_textsDbError;
};

// The user's documents folder, and a private per-user folder for temporary files
// (created with owner-only rights).
QString DocumentsFolder();
QString UserTempFolder();

} // namespace invorator
