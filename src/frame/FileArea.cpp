#include "frame/FileArea.h"

#include "frame/CaptionedField.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>

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
    m_convert = new QPushButton(QStringLiteral("Konvertieren"), this);
    m_convert->setObjectName(QStringLiteral("btnXRechnung"));
    m_convert->setDefault(true);
    m_convert->setMinimumWidth(120);
    layout->addWidget(m_file, 3);
    layout->addWidget(m_export, 2);
    layout->addWidget(m_convert);
    connect(m_convert, &QPushButton::clicked, this, &FileArea::convertRequested);
    connect(m_file, &CaptionedField::returnPressed, this, &FileArea::convertRequested);
    connect(m_file, &CaptionedField::pathChanged, this, &FileArea::invoicePathChanged);
    // Ctrl+O opens the invoice dialog from anywhere in the window.
    auto *open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, m_file, &CaptionedField::openDialog);
}

} // namespace invorator
