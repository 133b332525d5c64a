#include "frame/SidePanels.h"

#include "frame/FieldBox.h"
#include "localisation/TextsGateway.h"
#include "services/SharedState.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace invorator {

namespace {

constexpr int twipsPerPixel = 15;

// Two, three or four decimal places choose a format; other values leave it alone.
QString formatForPlaces(const QString &places)
{
    static const QHash<QString, QString> formats{{QStringLiteral("2"), QStringLiteral("#,##0.00")},
                                                 {QStringLiteral("3"), QStringLiteral("#,##0.000")},
                                                 {QStringLiteral("4"), QStringLiteral("#,##0.0000")}};
    return formats.value(places.trimmed());
}

} // namespace

SidePanel::SidePanel(const QString &objectName, const QString &title, int closeIndex, QPoint twips,
                     QWidget *parent)
    : QFrame(parent), m_place(twips.x() / twipsPerPixel, twips.y() / twipsPerPixel)
{
    setObjectName(objectName);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    QFont heading = m_title->font();
    heading.setBold(true);
    m_title->setFont(heading);
    m_title->setText(title);
    m_layout->addWidget(m_title);
    m_close = new QPushButton(QStringLiteral("Schließen"), this);
    m_close->setObjectName(QStringLiteral("btnClose(%1)").arg(closeIndex));
    connect(m_close, &QPushButton::clicked, this, &SidePanel::closeRequested);
    hide();
}

QString SidePanel::title() const
{
    return m_title->text();
}

void SidePanel::setTitle(const QString &title)
{
    m_title->setText(title);
}

CaptionedField *SidePanel::addField(const QString &objectName, const QString &caption,
                                    CaptionedField::Kind kind)
{
    auto *field = new CaptionedField(objectName, caption, kind, this);
    m_layout->addWidget(field);
    return field;
}

QPushButton *SidePanel::finish(const QString &objectName, const QString &text)
{
    auto *action = new QPushButton(text, this);
    action->setObjectName(objectName);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(action);
    buttons->addWidget(m_close);
    m_layout->addStretch(1);
    m_layout->addLayout(buttons);
    AlignCaptions(this);
    resize(440, sizeHint().height());
    return action;
}

SettingsPanel::SettingsPanel(QWidget *parent)
    : SidePanel(QStringLiteral("frmSetting"), QStringLiteral("Einstellungen"), 4, {7000, 3000}, parent)
{
    using Kind = CaptionedField::Kind;
    m_language = addField(QStringLiteral("txtAdresse(5)"), QStringLiteral("Sprache"), Kind::List);
    m_font = addField(QStringLiteral("txtAdresse(11)"), QStringLiteral("Schrift"), Kind::List);
    m_fontSize = addField(QStringLiteral("txtAdresse(12)"), QStringLiteral("Schriftgröße"));
    m_places = addField(QStringLiteral("txtAdresse(13)"), QStringLiteral("Dezimalstellen"));
    m_format = addField(QStringLiteral("txtAdresse(14)"), QStringLiteral("Format"));
    connect(finish(QStringLiteral("btnSaveSetting"), QStringLiteral("Speichern")), &QPushButton::clicked,
            this, &SettingsPanel::saveRequested);
    // The format may also be typed freely.
    connect(m_places->lineEdit(), &QLineEdit::textChanged, this, [this](const QString &places) {
        if (const QString format = formatForPlaces(places); !format.isEmpty())
            m_format->setText(format);
    });

    Field::Entries fonts;
    for (const char *font : {"Arial", "Courier New", "Times New Roman", "Trebuchet MS", "Verdana"})
        fonts.emplace_back(QString::fromUtf8(font), QString::fromUtf8(font));
    m_font->setEntries(fonts);
}

void SettingsPanel::load(const SharedState &state)
{
    m_language->setValue(state.LanguageCode);
    m_font->setValue(state.FontName);
    m_fontSize->setText(state.FontSize);
    // The places are the characters after the last "." of the format.
    const QString format = state.NumberFormat;
    const qsizetype point = format.lastIndexOf(QLatin1Char('.'));
    m_places->setText(QString::number(point < 0 ? 0 : format.size() - point - 1));
    m_format->setText(format); // after the places, which would otherwise choose a format
}

void SettingsPanel::store(SharedState &state) const
{
    if (!m_language->value().isEmpty())
        state.LanguageCode = m_language->value();
    state.FontName = m_font->value();
    state.FontSize = m_fontSize->text();
    state.NumberFormat = m_format->text();
}

ClientPanel::ClientPanel(QWidget *parent)
    : SidePanel(QStringLiteral("frmMandant"), QStringLiteral("Mandant"), 1, {6000, 1800}, parent)
{
    const std::pair<int, const char *> fields[] = {{0, "Name"},
                                                   {1, "Straße"},
                                                   {2, "Land"},
                                                   {3, "PLZ"},
                                                   {4, "Ort"},
                                                   {6, "E-Mail"},
                                                   {7, "Ansprechpartner"},
                                                   {8, "Ansp.- E-Mail"},
                                                   {9, "Ansp.- Telefon"},
                                                   {10, "Bemerkungen"}};
    for (const auto &[index, caption] : fields) {
        // The country is a code picked from the languages' list, German by default.
        const auto kind = index == 2 ? CaptionedField::Kind::List : CaptionedField::Kind::Text;
        m_fields[static_cast<std::size_t>(index)] =
            addField(QStringLiteral("txtAdresse(%1)").arg(index), QString::fromUtf8(caption), kind);
    }
    m_fields[2]->setValue(QStringLiteral("DE"));
    connect(finish(QStringLiteral("btnMandantSpeichern"), QStringLiteral("Speichern")), &QPushButton::clicked,
            this, &ClientPanel::saveRequested);
}

SupportPanel::SupportPanel(QWidget *parent)
    : SidePanel(QStringLiteral("frmSupport"), QStringLiteral("Support"), 3, {6900, 1800}, parent)
{
    m_name = addField(QStringLiteral("txtSupport(0)"), QStringLiteral("Name"));
    m_attachment =
        addField(QStringLiteral("txtSupport(1)"), QStringLiteral("Anhang"), CaptionedField::Kind::File);
    m_message = addField(QStringLiteral("txtSupport(2)"), QStringLiteral("Ihre Nachricht"),
                         CaptionedField::Kind::Lines);
    connect(finish(QStringLiteral("cmdSenden(1)"), QStringLiteral("Senden")), &QPushButton::clicked, this,
            &SupportPanel::sendRequested);
}

ClientFields ClientPanel::record(const SettingsPanel &settings) const
{
    ClientFields values;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = i == 5 ? settings.languageField()->value() : m_fields[i]->value();
    return values;
}

void ClientPanel::showRecord(const ClientFields &fields, SettingsPanel &settings)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        (i == 5 ? settings.languageField() : m_fields[i])->setValue(fields[i]);
}

void SupportPanel::setUp(const SharedState &state, const QStringList &filter)
{
    // Any file may help support, and a folder cannot be sent: no attachment until one is chosen.
    m_attachment->setDialog(filter, 1, GetMeldung(state, 40), DocumentsFolder());
    m_attachment->setText(QString());
}

} // namespace invorator
