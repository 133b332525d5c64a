#include "frame/Controls.h"

#include "frame/CaptionedField.h"
#include "services/MessageSink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace invorator {

namespace {

const QColor warning(255, 255, 132);

void paint(QWidget *w, bool empty)
{
    QPalette p = w->palette();
    const QColor background = empty ? warning : QPalette().color(QPalette::Base);
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Window, background);
    w->setPalette(p);
    w->setAutoFillBackground(empty);
}

} // namespace

void LockControls(const QList<QWidget *> &controls, bool lock)
{
    for (QWidget *w : controls)
        if (w)
            w->setEnabled(!lock);
}

bool CheckRequiredFields(const QList<QWidget *> &controls, MessageSink &messages)
{
    int count = 0;
    bool focusPending = true;
    // Fields with a text first, then labels by their caption.
    for (QWidget *w : controls) {
        QWidget *edit = nullptr;
        bool empty = false;
        if (auto *field = qobject_cast<CaptionedField *>(w)) {
            edit = field->editor();
            empty = field->text().isEmpty();
        } else if (auto *line = qobject_cast<QLineEdit *>(w)) {
            edit = line;
            empty = line->text().isEmpty();
        }
        if (!edit)
            continue;
        paint(edit, empty);
        if (!empty)
            continue;
        ++count;
        if (focusPending) {
            edit->setFocus();
            focusPending = false;
        }
    }
    for (QWidget *w : controls)
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const bool empty = label->text().isEmpty();
            paint(label, empty);
            count += empty ? 1 : 0;
        }
    if (count == 0)
        return false;
    messages.show(MakeMessage(
        0, MsgIcon::Critical, BrellwerkTitle,
        QStringLiteral("Sie haben ") + QString::number(count) +
            QStringLiteral(
                " Feld(er) nicht mit Daten gefüllt.\r\n"
                "Bitte tragen Sie dort Wert(e) ein, damit die Verarbeitung fortgeführt werden kann.")));
    return true;
}

} // namespace invorator
