#pragma once

#include <QString>
#include <QStringList>

namespace invorator {

class DisplayModel;
class SharedState;

// The headings of the text output and the document, German unless another language is chosen.
struct SectionTitles
{
    QString invoice = QStringLiteral("Rechnung");
    QString seller = QStringLiteral("Verkäufer");
    QString buyer = QStringLiteral("Käufer");
    QString lines = QStringLiteral("Positionen");
    QString vat = QStringLiteral("Umsatzsteuer");
    QString allowances = QStringLiteral("Abzüge und Zuschläge");
    QString totals = QStringLiteral("Summen");
    QString attachments = QStringLiteral("Anlagen");
    QString payment = QStringLiteral("Zahlung");
    // The cash discount's caption and the parts of its line.
    QString discount = QStringLiteral("Skonto");
    QString discountDays = QStringLiteral("%1 Tage");
    QString discountRate = QStringLiteral("%1 % von %2");
    QString discountPayBy = QStringLiteral("zahlbar bis %1");
    QString discountUnreadable = QStringLiteral("nicht lesbar: %1");
};

// The words of the document besides the model's captions and headers, in the language
// of the window.
struct DocumentTexts
{
    SectionTitles titles;
    QString fileName;     // shown in every page's footer
    QString printedOn;    // "Gedruckt am %1"
    QString pageOf;       // "Seite %1 von %2"
    QString numberFormat; // the pattern of amounts the document formats itself (cash discounts)
    // Why a PDF was not written: nothing could be drawn, or what stands at the path, one
    // text per WriteRefusal.
    QString notDrawn;
    QStringList refusedTarget;
};

// Captions, list headers and section titles of the model in the current language, as
// the window shows them: the model is described as the window's controls and translated alike.
void TranslateModel(const SharedState &state, DisplayModel &model, SectionTitles &titles);

// The document's words in the current language, for the invoice read from `file`.
DocumentTexts DocumentTextsOf(const SharedState &state, const SectionTitles &titles, const QString &file);

} // namespace invorator
