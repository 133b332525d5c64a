#include "frame/FieldBox.h"

#include "frame/CaptionedField.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>

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

void AlignCaptions(QWidget *container)
{
    const QList<CaptionedField *> fields =
        container->findChildren<CaptionedField *>(Qt::FindDirectChildrenOnly);
    QLayout *layout = container->layout();
    const auto columnOf = [layout](CaptionedField *f) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        const int at = layout ? layout->indexOf(f) : -1;
        if (auto *grid = qobject_cast<QGridLayout *>(layout); grid && at >= 0)
            grid->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
        // Fields side by side keep captions of their own.
        else if (qobject_cast<QHBoxLayout *>(layout))
            column = at;
        return column;
    };
    QHash<int, int> widths;
    for (CaptionedField *f : fields)
        widths[columnOf(f)] = std::max(widths.value(columnOf(f)), f->captionHint());
    for (CaptionedField *f : fields)
        if (f->captionHint() > 0)
            f->setCaptionWidth(widths.value(columnOf(f)));
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
    int k = 0;
    for (FieldId id : ids) {
        // The document type shows the name for its code.
        const auto kind = id == Rd::DocumentType ? CaptionedField::Kind::List : CaptionedField::Kind::Text;
        auto *field =
            new CaptionedField(controlKey(id), fromView(FieldSpecOf(id).caption).trimmed(), kind, box);
        field->setReadOnly(true);
        field->display(model[id]);
        widgets.add(id, field);
        grid->addWidget(field, k % rows, k / rows);
        ++k;
    }
    AlignCaptions(box);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(rows, 1);
    return box;
}

} // namespace invorator
