#pragma once

#include "localisation/TranslateModel.h"

#include <QString>

#include <memory>

class QCoreApplication;
class QPagedPaintDevice;

namespace invorator {

class DisplayModel;

// Draws the invoice on screen as A4 pages: title, dates, both parties side by side,
// notes and payment terms, the lines with their header row on every page (red rows in
// red), VAT breakdown, allowances and charges, the totals, and a footer on every page.
// Returns the number of pages drawn, 0 when the device could not be painted on.
int RenderInvoice(const DisplayModel &model, const DocumentTexts &texts, QPagedPaintDevice &device);

// The same as a PDF file: written whole or not at all (a failed write leaves no file). A
// target that is no regular file (a device, a pipe) is refused and left as it is.
bool WriteInvoicePdf(const DisplayModel &model, const DocumentTexts &texts, const QString &path,
                     QString *error);

// The application object of a program that draws documents without a window: fonts
// come with a GUI application, which needs no display with the offscreen platform.
std::unique_ptr<QCoreApplication> DocumentApplication(int &argc, char **argv);

// The document's functions as the module libinvorator_document.so gives them.
struct DocumentModule
{
    decltype(&DocumentApplication) application;
    decltype(&WriteInvoicePdf) writePdf;
};

} // namespace invorator
