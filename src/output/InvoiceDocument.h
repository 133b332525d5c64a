#pragma once

#include "localisation/TranslateModel.h"

#include <QString>

class QPagedPaintDevice;

namespace invorator {

class DisplayModel;

// Draws the invoice on screen as A4 pages: title, dates, both parties side by side,
// notes and payment terms, the lines with their header row on every page (red rows in
// red), VAT breakdown, allowances and charges, the totals, and a footer on every page.
// Returns the number of pages drawn, 0 when the device could not be painted on.
int RenderInvoice(const DisplayModel &model, const DocumentTexts &texts, QPagedPaintDevice &device);

// The same as a PDF file: written whole or not at all (a failed write leaves no file).
bool WriteInvoicePdf(const DisplayModel &model, const DocumentTexts &texts, const QString &path,
                     QString *error);

} // namespace invorator
