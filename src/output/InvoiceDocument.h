#pragma once

#include "output/DisplayModelOutput.h"

#include <QString>

class QPagedPaintDevice;

namespace invorator {

class DisplayModel;
class SharedState;

// The words of the document besides the model's captions and headers, in the language
// of the window.
struct DocumentTexts
{
    SectionTitles titles;
    QString fileName;  // shown in every page's footer
    QString printedOn; // "Gedruckt am %1"
    QString pageOf;    // "Seite %1 von %2"
};

// Captions, list headers and section titles of the model in the current language, as
// the window shows them: the model is described as the window's controls and translated alike.
void TranslateModel(const SharedState &state, DisplayModel &model, SectionTitles &titles);

// The document's words in the current language, for the invoice read from `file`.
DocumentTexts DocumentTextsOf(const SharedState &state, const SectionTitles &titles, const QString &file);

// Draws the invoice on screen as A4 pages: title, dates, both parties side by side,
// notes and payment terms, the lines with their header row on every page (red rows in
// red), VAT breakdown, allowances and charges, the totals, and a footer on every page.
// Returns the number of pages drawn, 0 when the device could not be painted on.
int RenderInvoice(const DisplayModel &model, const DocumentTexts &texts, QPagedPaintDevice &device);

// The same as a PDF file: written whole or not at all (a failed write leaves no file).
bool WriteInvoicePdf(const DisplayModel &model, const DocumentTexts &texts, const QString &path,
                     QString *error);

} // namespace invorator
