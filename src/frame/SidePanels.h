#pragma once

#include "clients/ClientRecord.h"
#include "frame/CaptionedField.h"

#include <QFrame>
#include <QPoint>

#include <array>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace invorator {

class SharedState;

// A side panel over the window's content: a heading, captioned fields, its own command
// and a close button (`btnClose(n)`). It stands at a fixed place given in twips.
class SidePanel : public QFrame
{
    Q_OBJECT
public:
    // Where the panel stands, in pixels.
    QPoint place() const { return m_place; }
    // The heading, as a frame's caption.
    QString title() const;
    void setTitle(const QString &title);

signals:
    void closeRequested();

protected:
    SidePanel(const QString &objectName, const QString &title, int closeIndex, QPoint twips, QWidget *parent);
    CaptionedField *addField(const QString &objectName, const QString &caption,
                             CaptionedField::Kind kind = CaptionedField::Kind::Text);
    // Adds the panel's command beside the close button and lines up the captions.
    QPushButton *finish(const QString &objectName, const QString &text);

private:
    QLabel *m_title = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QPushButton *m_close = nullptr;
    QPoint m_place;
};

// The settings page `frmSetting`: language, font, font size, decimal places and format.
class SettingsPanel : public SidePanel
{
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget *parent = nullptr);

    // Shows the state's settings.
    void load(const SharedState &state);
    // Takes the page's values into the state, as the save button does.
    void store(SharedState &state) const;

    CaptionedField *languageField() const { return m_language; }
    CaptionedField *fontField() const { return m_font; }
    CaptionedField *fontSizeField() const { return m_fontSize; }

signals:
    void saveRequested();

private:
    CaptionedField *m_language;
    CaptionedField *m_font;
    CaptionedField *m_fontSize;
    CaptionedField *m_places;
    CaptionedField *m_format;
};

// The client panel `frmMandant`: the user's own company.
class ClientPanel : public SidePanel
{
    Q_OBJECT
public:
    explicit ClientPanel(QWidget *parent = nullptr);

    // A field of the panel by its index in `txtAdresse` (0 to 4, 6 to 10; the language,
    // 5, stands on the settings page).
    CaptionedField *field(int index) const { return m_fields.at(static_cast<std::size_t>(index)); }
    // The record's fields in `txtAdresse` order, the language taken from the settings page.
    ClientFields record(const SettingsPanel &settings) const;
    void showRecord(const ClientFields &fields, SettingsPanel &settings);

signals:
    void saveRequested();

private:
    std::array<CaptionedField *, 11> m_fields{};
};

// The support panel `frmSupport`: name, an attachment and the message.
class SupportPanel : public SidePanel
{
    Q_OBJECT
public:
    explicit SupportPanel(QWidget *parent = nullptr);
    // The attachment's dialog (title from the texts database) and the last attachment.
    void setUp(const SharedState &state, const QStringList &filter);
    CaptionedField *nameField() const { return m_name; }
    CaptionedField *attachmentField() const { return m_attachment; }
    CaptionedField *messageField() const { return m_message; }

signals:
    void sendRequested();

private:
    CaptionedField *m_name;
    CaptionedField *m_attachment;
    CaptionedField *m_message;
};

} // namespace invorator
