#pragma once

#include <QObject>

#include <vector>

class QWidget;

namespace invorator {

class ClientPanel;
class SettingsPanel;
class SidePanel;
class SupportPanel;

// The three side panels over the window's content, one open at a time: opening one
// disables the content beneath it; closing it (its button or Escape) enables it again.
class PanelHost : public QObject
{
    Q_OBJECT
public:
    // The panels stand on `area`; Escape works anywhere in `window`.
    PanelHost(QWidget *area, QWidget *window, std::vector<QWidget *> contentSet);

    SettingsPanel *settings() const { return m_settings; }
    ClientPanel *client() const { return m_client; }
    SupportPanel *support() const { return m_support; }
    // The containers that are disabled while a panel is open.
    const std::vector<QWidget *> &contentSet() const { return m_contentSet; }

    void open(SidePanel *panel);
    void close(SidePanel *panel);

private:
    std::vector<QWidget *> m_contentSet;
    SettingsPanel *m_settings;
    ClientPanel *m_client;
    SupportPanel *m_support;
    std::vector<SidePanel *> m_panels;
};

} // namespace invorator
