#include "frame/FieldBox.h"

#include "frame/CaptionedField.h"

#include <QGridLayout>
#include <QGroupBox>

#include <algorithm>

namespace invorator {

namespace {

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

CaptionedField *FieldWidgets::operator[](FieldId id) const
{
    for (const auto &[field, widget] : m_fields)
        if (field == id)
            return widget;
    return nullptr;
}

void FieldWidgets::display(const DisplayModel &model) const
{
    for (const auto &[field, widget] : m_fields)
        widget->display(model[field]);
}

QString controlKey(FieldId id)
{
    return fromView(FieldSpecOf(id).key);
}

QGroupBox *makeFieldBox(const QString &objectName, const QString &title, std::initializer_list<FieldId> ids,
                        int columns, const DisplayModel &model, FieldWidgets &widgets, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(objectName);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(4);
    const int count = static_cast<int>(ids.size());
    const int rows = (count + columns - 1) / columns;
    std::vector<CaptionedField *> placed;
    std::vector<int> captionWidth(static_cast<std::size_t>(columns), 0);
    int k = 0;
    for (FieldId id : ids) {
        // The document type shows the name for its code.
        const auto kind = id == Rd::DocumentType ? CaptionedField::Kind::List : CaptionedField::Kind::Text;
        auto *field =
            new CaptionedField(controlKey(id), fromView(FieldSpecOf(id).caption).trimmed(), kind, box);
        field->setReadOnly(true);
        field->display(model[id]);
        widgets.add(id, field);
        placed.push_back(field);
        const int column = k / rows;
        grid->addWidget(field, k % rows, column);
        auto &width = captionWidth[static_cast<std::size_t>(column)];
        width = std::max(width, field->captionHint());
        ++k;
    }
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (placed[i]->captionHint() > 0)
            placed[i]->setCaptionWidth(captionWidth[i / static_cast<std::size_t>(rows)]);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(rows, 1);
    return box;
}

} // namespace invorator
