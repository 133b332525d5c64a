#include "frame/FileArea.h"

#include "frame/CaptionedField.h"
#include "localisation/TextsGateway.h"
#include "services/SharedState.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>

namespace invorator {

FileArea::FileArea(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("frmMenue"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    m_file = new CaptionedField(QStringLiteral("txtFile(0)"), QStringLiteral("Rechnung"),
                                CaptionedField::Kind::File, this);
    m_export = new CaptionedField(QStringLiteral("txtExport(0)"), QStringLiteral("Export-Pfad"),
                                  CaptionedField::Kind::Folder, this);
    auto *convert = new QPushButton(QStringLiteral("Konvertieren"), this);
    convert->setObjectName(QStringLiteral("btnXRechnung"));
    convert->setDefault(true);
    convert->setMinimumWidth(120);
    layout->addWidget(m_file, 3);
    layout->addWidget(m_export, 2);
    layout->addWidget(convert);
    connect(convert, &QPushButton::clicked, this, &FileArea::convertRequested);
    connect(m_file, &CaptionedField::returnPressed, this, &FileArea::convertRequested);
    connect(m_file, &CaptionedField::pathChanged, this, &FileArea::invoicePathChanged);
}

const QStringList &FileArea::invoiceFilter()
{
    static const QStringList filter = {
        QStringLiteral("Invoice: CII (*.xml *.XML)"),
        QStringLiteral("Invoice: UBL (*.xml *.XML)"),
        QStringLiteral("Invoice: Peppol (*.xml *.XML)"),
        QStringLiteral("Invoice: ZUGFeRD (*.pdf *.PDF)"),
        QStringLiteral("Alle Rechnungen (*.xml *.XML *.pdf *.PDF)"),
        QStringLiteral("Alle Dateien (*)"),
    };
    return filter;
}

void FileArea::setUp(const SharedState &state)
{
    const TextsGateway texts(state);
    // The dialog starts on every invoice, so the content chooses the kind until the user
    // picks one; the field offers the last invoice only while it is still a file.
    m_file->setDialog(invoiceFilter(), AllInvoicesFilter, texts.message(38), DocumentsFolder());
    m_file->setText(QFileInfo(state.LastInvoicePath).isFile() ? state.LastInvoicePath : QString());
    m_export->setDialog({}, 0, texts.message(39), state.programFolder());
    m_export->setText(state.ExportFolder);
}

} // namespace invorator
