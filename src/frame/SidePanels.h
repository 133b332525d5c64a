#pragma once

#include "frame/CaptionedField.h"

#include <QFrame>
#include <QPoint>

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

signals:
    void closeRequested();

protected:
    SidePanel(const QString &objectName, const QString &title, int closeIndex, QPoint twips, QWidget *parent);
    CaptionedField *addField(const QString &objectName, const QString &caption,
                             CaptionedField::Kind kind = CaptionedField::Kind::Text);
    // Adds the panel's command beside the close button and lines up the captions.
    QPushButton *finish(const QString &objectName, const QString &text);

private:
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

    // Shows the state's settings; languages are the codes the texts database offers.
    void load(const SharedState &state, const QStringList &languages);
    // Takes the page's values into the state, as the save button does.
    void store(SharedState &state) const;

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
};

// The support panel `frmSupport`: name, an attachment and the message.
class SupportPanel : public SidePanel
{
    Q_OBJECT
public:
    explicit SupportPanel(QWidget *parent = nullptr);
    CaptionedField *attachmentField() const { return m_attachment; }

private:
    CaptionedField *m_attachment;
};

} // namespace invorator
