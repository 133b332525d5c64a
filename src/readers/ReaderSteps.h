#pragma once

#include "model/Conversions.h"
#include "model/DisplayModel.h"

#include <QString>

#include <optional>

// The single steps every reader is made of: a value that was found is written, a
// missing one leaves its target as it was.
namespace invorator::steps {

inline Field *at(const FieldList &fields, std::size_t k)
{
    return k < fields.size() ? fields[k] : nullptr;
}

inline void put(const FieldList &fields, std::size_t k, const std::optional<QString> &text)
{
    if (Field *f = at(fields, k); f && text)
        f->setText(*text);
}

inline void putCell(ListView &lv, int row, int column, const std::optional<QString> &text)
{
    if (text)
        lv.setCell(row, column, *text);
}

inline std::optional<QString> amount(const std::optional<QString> &text, const QString &pattern)
{
    if (!text)
        return std::nullopt;
    return FormatXmlAmount(*text, pattern);
}

} // namespace invorator::steps
