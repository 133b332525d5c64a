#pragma once

#include "model/DisplayModel.h"

#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

class QGroupBox;
class QWidget;

namespace invorator {

class CaptionedField;

// The captioned fields that show fields of the display model, found by field.
class FieldWidgets
{
public:
    void add(FieldId id, CaptionedField *widget) { m_fields.emplace_back(id, widget); }
    // The widget of a field, or nullptr when this set does not show it.
    CaptionedField *operator[](FieldId id) const;
    // Shows each field's current text (a list field its value).
    void display(const DisplayModel &model) const;

private:
    std::vector<std::pair<FieldId, CaptionedField *>> m_fields;
};

// A titled box of read-only fields, filled column by column; each field is named by its
// control key and captioned as the field table says. Captions of one column share one
// width, so the values line up.
QGroupBox *makeFieldBox(const QString &objectName, const QString &title, std::initializer_list<FieldId> ids,
                        int columns, const DisplayModel &model, FieldWidgets &widgets, QWidget *parent);

// Gives the captions of a box's or panel's fields one width per column of its grid (one
// width for all when it has no grid), so the values line up; again after every translation.
void AlignCaptions(QWidget *container);

// The control key of a field ("txtRechnungdaten(5)") as a QString.
QString controlKey(FieldId id);

} // namespace invorator
