#pragma once

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTranslator;
class QWidget;

namespace invorator {

class CaptionedField;
class SharedState;

// Applies the current language and font to every control of a window (see TranslateForm).
// Texts start from the window's designed ones each time, so switching back to German
// shows the designed captions again; list views keep their current widths unless the
// texts database gives others.
void TranslateWindow(const SharedState &state, QWidget *window);

// Installs Qt's own texts (dialogs, standard buttons) in the language, when Qt has them;
// they are removed again when the translator goes.
std::unique_ptr<QTranslator> InstallQtTexts(const QString &languageCode);

// Fills the country and language pickers with the codes of the texts database, in their
// order, each with its flag from Flags/<code>.ico of the program folder (none when the
// file is missing).
void FillLanguagePickers(const SharedState &state, const std::vector<CaptionedField *> &pickers);

// Stores the columns of the window's list views (designed headers, current widths).
void SaveListViewLayout(const SharedState &state, QWidget *window, const QStringList &listViews);

// What the window shows, control by control: object, Qt class, text, tool tip, font and
// size; tab captions, list headers and widths, the command bar's buttons and menu entries.
QJsonArray DumpTexts(QWidget *window);

} // namespace invorator
