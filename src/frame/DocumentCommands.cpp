#include "frame/DocumentCommands.h"

#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace invorator {

void PrintInvoiceDocument(QWidget *parent, const SharedState &state, const DisplayModel &model,
                          const DocumentTexts &texts, MessageSink &messages)
{
    QPrinter printer(QPrinter::HighResolution);
    // The document places its own A4 margins, measured from the paper's corner.
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Printing into a file (no file: no refusal) meets a pipe or a device as the PDF command does.
    if (const auto refused = RefusedWriteTarget(printer.outputFileName())) {
        messages.show(MakeMessage(66, MsgIcon::Critical, ProgramTitle,
                                  GetMeldung(state, 66).arg(WriteRefusalText(state, *refused))));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int pages = RenderInvoice(model, texts, printer);
    QApplication::restoreOverrideCursor();
    if (pages == 0)
        messages.show(MakeMessage(66, MsgIcon::Critical, ProgramTitle,
                                  GetMeldung(state, 66).arg(printer.printerName())));
}

QString SuggestedPdfPath(const DisplayModel &model)
{
    QString name = model[Rd::InvoiceNumber].text();
    name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("_"));
    return DocumentsFolder() + QLatin1Char('/') + (name.isEmpty() ? QStringLiteral("Rechnung") : name) +
           QStringLiteral(".pdf");
}

void WriteInvoiceDocumentPdf(const QString &path, const SharedState &state, const DisplayModel &model,
                             const DocumentTexts &texts, MessageSink &messages)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString problem;
    const bool written = WriteInvoicePdf(model, texts, path, &problem);
    QApplication::restoreOverrideCursor();
    if (!written)
        messages.show(MakeMessage(66, MsgIcon::Critical, ProgramTitle, GetMeldung(state, 66).arg(problem)));
}

QString ManualFile(const SharedState &state)
{
    const bool german = state.LanguageCode == QLatin1String("DE");
    return state.programFolder() +
           (german ? QStringLiteral("/Hilfe/Benutzerhandbuch.pdf") : QStringLiteral("/Hilfe/Handbook.pdf"));
}

Message ManualMissing(const SharedState &state)
{
    return MakeMessage(159, MsgIcon::Information, BrellwerkTitle, GetMeldung(state, 159));
}

} // namespace invorator
