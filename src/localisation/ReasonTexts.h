#pragma once

#include "services/Database.h"
#include "services/WriteTarget.h"

#include <QString>

namespace invorator {

class SharedState;

// Numbers in tblMeldungen of the reasons the core returns as codes.
enum ReasonText {
    RefusedTargetText = 130, // "not a regular file but %1; …", %1 one of the next six
    RefusedFolderText = 131, // a folder … something else, in WriteRefusal's order
    DocumentNotDrawnText = 137,
    DocumentSavedText = 138, // "%1 saved." after message 43
    PictureNotWrittenText = 139,
    NoArchivedInvoiceText = 140, // the command line's archive commands
    NoStoredDocumentText = 141,
    DocumentMismatchText = 142,
    NoChecksumText = 143,
    NotPostgresAddressText = 144, // the archive's address
    PasswordInAddressText = 145,
    DbFileMissingText = 146, // DbProblem FileMissing, NoDriver and NotOpened
    ShownEntryText = 149,    // archive show: the entry's eight fields, one a line
    ShownReplacedText = 150,
    ShownDocumentText = 151, // the stored document's four fields
    ShownVersionsText = 152,
    ReplacedInListText = 153,  // the last column of a replaced version in archive list
    FindingExpectedText = 154, // the command line's check and validate
    FindingNoNumberText = 155,
    FindingWarningText = 156,
    ValidSummaryText = 157,
    InvalidSummaryText = 158,

};

// Why a file was not written over what stands at its path, in the current language.
QString WriteRefusalText(const SharedState &state, WriteRefusal refusal);
// Why a database operation failed: the driver's text as it is, the program's own reasons
// in the current language.
QString DbResultText(const SharedState &state, const DbResult &result);

} // namespace invorator
