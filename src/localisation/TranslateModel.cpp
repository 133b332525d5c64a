#include "localisation/TranslateModel.h"

#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "localisation/TranslateForm.h"
#include "model/DisplayModel.h"
#include "services/SharedState.h"

#include <QFileInfo>

#include <string_view>

namespace invorator {

// Captions, list headers and section titles in the current language, as the window
// shows them: the model is described as the window's controls and translated alike.
void TranslateModel(const SharedState &state, DisplayModel &model, SectionTitles &titles)
{
    Form form;
    form.name = QStringLiteral("frmInvora");
    const auto add = [&](ControlKind kind, const QString &key, const QString &text) {
        FormControl c;
        c.kind = kind;
        c.key = key;
        c.text = text;
        form.controls.push_back(std::move(c));
        return form.controls.size() - 1;
    };
    // Every translation starts from the designed German texts, so German after another
    // language is German again.
    const auto text = [](std::string_view s) {
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    };
    for (const FieldSpec &row : DisplayFieldTable)
        add(ControlKind::Field, text(row.key), text(row.caption));
    const DisplayModel designed;
    ListView *lists[] = {&model.lvTable, &model.lvUst, &model.lvAbzuege, &model.lvZahlung};
    const ListView *designedLists[] = {&designed.lvTable, &designed.lvUst, &designed.lvAbzuege,
                                       &designed.lvZahlung};
    const std::size_t firstList = form.controls.size();
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        FormControl &c = form.controls[add(ControlKind::ListView, lists[i]->name(), {})];
        for (const QString &header : designedLists[i]->headers())
            c.items.push_back({{}, header, {}, {}, -1, {}});
    }
    QString *frameTitles[] = {&titles.invoice, &titles.seller, &titles.buyer, &titles.totals};
    const char *frames[] = {"frmRechnung", "frmSeller", "frmBuyer", "frmSummen"};
    const std::size_t firstFrame = form.controls.size();
    for (std::size_t i = 0; i < std::size(frames); ++i)
        add(ControlKind::Frame, QString::fromLatin1(frames[i]), *frameTitles[i]);
    FormControl &tabs = form.controls[add(ControlKind::Tabs, QStringLiteral("sstabPos"), {})];
    // The pages by their index; only the lines, the VAT and the payment page name sections.
    for (const QString &page : {titles.lines, titles.vat, QString(), QString(), QString(), titles.payment})
        tabs.items.push_back({{}, page, {}, {}, -1, {}});

    TranslateForm(state, form);

    std::size_t k = 0;
    for (const FieldSpec &row : DisplayFieldTable)
        model[row.id].setCaption(form.controls[k++].text);
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        const FormControl &c = form.controls[firstList + i];
        for (int column = 0; column < lists[i]->columnCount(); ++column)
            lists[i]->setHeader(column, c.items[static_cast<std::size_t>(column)].text);
    }
    for (std::size_t i = 0; i < std::size(frames); ++i)
        *frameTitles[i] = form.controls[firstFrame + i].text;
    titles.lines = form.controls.back().items[0].text;
    titles.vat = form.controls.back().items[1].text;
    titles.payment = form.controls.back().items[5].text;
    // The discount's texts; a row missing from an older texts database keeps the German text,
    // and a template keeps its placeholders.
    const std::pair<QString *, int> discountTexts[] = {{&titles.discount, 100},
                                                       {&titles.discountDays, 101},
                                                       {&titles.discountRate, 102},
                                                       {&titles.discountPayBy, 103},
                                                       {&titles.discountUnreadable, 104}};
    for (const auto &[target, number] : discountTexts) {
        const QString t = state.TextsDbOpen ? GetMeldung(state, number) : QString();
        if (!t.isEmpty() && t.count(QLatin1Char('%')) >= target->count(QLatin1Char('%')))
            *target = t;
    }
    if (state.TextsDbOpen && state.LanguageCode != QLatin1String("DE")) {
        titles.allowances = GetMeldung(state, 56);
        titles.attachments = GetMeldung(state, 55);
    }
}

DocumentTexts DocumentTextsOf(const SharedState &state, const SectionTitles &titles, const QString &file)
{
    DocumentTexts texts;
    texts.titles = titles;
    texts.fileName = QFileInfo(file).fileName();
    const auto text = [&](int number, const char *german) {
        const QString t = GetMeldung(state, number);
        return t.isEmpty() || !t.contains(QLatin1String("%1")) ? QString::fromUtf8(german) : t;
    };
    texts.printedOn = text(65, "Gedruckt am %1");
    texts.pageOf = text(64, "Seite %1 von %2");
    texts.numberFormat = state.NumberFormat;
    texts.notDrawn = GetMeldung(state, DocumentNotDrawnText);
    for (const WriteRefusal refusal :
         {WriteRefusal::Folder, WriteRefusal::CharacterDevice, WriteRefusal::BlockDevice,
          WriteRefusal::NamedPipe, WriteRefusal::Socket, WriteRefusal::Other})
        texts.refusedTarget << WriteRefusalText(state, refusal);
    return texts;
}

} // namespace invorator
