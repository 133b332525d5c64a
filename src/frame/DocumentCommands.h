#pragma once

#include "output/InvoiceDocument.h"
#include "services/MessageSink.h"

class QWidget;

namespace invorator {

class DisplayModel;
class MessageSink;
class SharedState;

// Prints the invoice on show after the print dialog; a printer that takes no page, or an
// output file that is no regular file, is reported (message 66).
void PrintInvoiceDocument(QWidget *parent, const SharedState &state, const DisplayModel &model,
                          const DocumentTexts &texts, MessageSink &messages);
// The file name offered for the invoice's PDF: its number, made safe, in the documents folder.
QString SuggestedPdfPath(const DisplayModel &model);
// The manual in the user's language (German, else English) in the program folder.
QString ManualFile(const SharedState &state);
// What the user is told when the manual is missing.
Message ManualMissing(const SharedState &state);

// Writes the PDF file; a failure is reported (message 66).
void WriteInvoiceDocumentPdf(const QString &path, const SharedState &state, const DisplayModel &model,
                             const DocumentTexts &texts, MessageSink &messages);

} // namespace invorator
