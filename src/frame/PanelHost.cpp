#include "frame/PanelHost.h"

#include "frame/SidePanels.h"

#include <QShortcut>

namespace invorator {

PanelHost::PanelHost(QWidget *area, QWidget *window, std::vector<QWidget *> contentSet)
    : QObject(window), m_contentSet(std::move(contentSet)), m_settings(new SettingsPanel(area)),
      m_client(new ClientPanel(area)),
      m_support(new SupportPanel(area)), m_panels{m_settings, m_client, m_support}
{
    for (SidePanel *panel : m_panels)
        connect(panel, &SidePanel::closeRequested, this, [this, panel] { close(panel); });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    connect(escape, &QShortcut::activated, this, [this] {
        for (SidePanel *panel : m_panels)
            if (panel->isVisible())
                close(panel);
    });
}

void PanelHost::open(SidePanel *panel)
{
    for (SidePanel *other : m_panels)
        if (other != panel && other->isVisible())
            close(other);
    panel->hide();
    panel->move(panel->place());
    for (QWidget *w : m_contentSet)
        w->setEnabled(false);
    panel->raise();
    panel->show();
}

void PanelHost::close(SidePanel *panel)
{
    panel->hide();
    for (QWidget *w : m_contentSet)
        w->setEnabled(true);
}

} // namespace invorator
