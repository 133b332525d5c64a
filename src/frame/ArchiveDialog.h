#pragma once

#include "archive/ArchiveListing.h"

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace invorator {

class MessageSink;
class SharedState;
class frmInvora;

// The archive window `frmArchiv`: the archived invoices, newest first, filtered as the user
// types (seller, number, issue dates, amount due, state), each invoice's earlier versions
// under it. Opening an entry shows its stored original in the main window as if opened
// from disk; the original can be saved elsewhere.
class ArchiveDialog : public QDialog
{
    Q_OBJECT
public:
    ArchiveDialog(frmInvora &window, SharedState &state, MessageSink &messages);

    // Reads the archive anew; false (and the reason told) when it cannot be read.
    bool reload();
    // The entry chosen in the tree: written to the private temporary folder and shown.
    void openSelected();
    // The entry chosen in the tree: its stored original written where the user says.
    void saveSelected();

    // Where the original goes, given the suggested name; empty to write none (replaceable for tests).
    std::function<QString(const QString &)> chooseSavePath;

private:
    void refill();
    std::optional<qint64> selectedId() const;
    std::optional<StoredDocument> documentOf(qint64 id);
    QString stateText(const QString &state) const;

    frmInvora &m_window;
    SharedState &m_state;
    MessageSink &m_messages;
    std::vector<ArchiveEntry> m_entries;
    QLineEdit *m_seller;
    QLineEdit *m_number;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLineEdit *m_min;
    QLineEdit *m_max;
    QComboBox *m_stateFilter;
    QTreeWidget *m_tree;
    QMetaObject::Connection m_unmark;
};

// The command bar's "Archiv": opens the archive window of `window` (one per window).
void ShowArchive(frmInvora &window, SharedState &state, MessageSink &messages);
inline std::function<void()> ArchiveCommand(frmInvora &window, SharedState &state, MessageSink &messages)
{
    return [&window, &state, &messages] {
        ShowArchive(window, state, messages);
    };
}

} // namespace invorator
